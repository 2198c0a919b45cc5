// How dates and times are shown: format strings of tokens such as "mm/dd/yy - hh:mmam/pm", and the
// style that the user's locale gives them.
#pragma once

#include "common/datetime.h"

#include <array>
#include <string>
#include <string_view>

namespace velloran {

inline constexpr const char* kNormalDisplayFormat = "mm/dd/yy - hh:mmam/pm";
inline constexpr const char* kLongDisplayFormat = "ddd, mmm dd, yyyy - hh:mm am/pm";
inline constexpr const char* kClockFaceFormat = "hh:mm am/pm";
inline constexpr const char* kSortKeyFormat = "yymmdd a/p hh:mm";

// What the user's locale supplies: names, separators and the formats of the task list's two displays
// and the alarm's clock face. The defaults are the US English ones, which the C locale keeps too.
struct DateStyle {
    std::array<std::string, 12> shortMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 7> shortDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}; // from Sunday
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    std::string normalFormat = kNormalDisplayFormat;
    std::string longFormat = kLongDisplayFormat;
    std::string clockFormat = kClockFaceFormat;
};

// Tokens: yyyy, yy, mm (minutes right after an hour token), mmm, dd, ddd, hh (12-hour clock when an
// am/pm or a/p token belongs to it), am/pm and a/p in the case written, "/" and ":" from the locale;
// text between double quotes is copied as it stands; anything else is copied.
std::string formatDateTime(std::string_view format, DateTime value, const DateStyle& style);

// The task list's display of a moment, normal or long.
std::string displayText(DateTime value, bool longDisplay, const DateStyle& style);

} // namespace velloran
