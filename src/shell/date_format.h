// The task list's date-time display: format strings of tokens such as "mm/dd/yy - hh:mmam/pm".
#pragma once

#include "common/datetime.h"

#include <array>
#include <string>
#include <string_view>

namespace velloran {

// What the user's locale supplies to a format.
struct DateNames {
    std::array<std::string, 12> shortMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 7> shortDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}; // from Sunday
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
};

inline constexpr const char* kNormalDisplayFormat = "mm/dd/yy - hh:mmam/pm";
inline constexpr const char* kLongDisplayFormat = "ddd, mmm dd, yyyy - hh:mm am/pm";
inline constexpr const char* kSortKeyFormat = "yymmdd a/p hh:mm";

// Tokens: yyyy, yy, mm (minutes right after an hour token), mmm, dd, ddd, hh (12-hour clock when an
// am/pm or a/p token belongs to it), am/pm and a/p in the case written, "/" and ":" from the locale;
// anything else is copied.
std::string formatDateTime(std::string_view format, DateTime value, const DateNames& names);

} // namespace velloran
