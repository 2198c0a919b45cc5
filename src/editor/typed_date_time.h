// Reading a date or a time of day as the user typed it into the start pickers: the whole text at once,
// in the locale's order and words, so that nothing typed is mixed with what the field showed before.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The words a typed date may hold, in lower case; the caller folds the case of the typed text too.
struct DateWords {
    DateOrder order = DateOrder::DayMonthYear;
    std::array<std::vector<std::string>, 12> monthNames; // every name of each month: long, short
    std::vector<std::string> dayNames;                   // weekday names, allowed and ignored
    // A two-digit year is read as the year ending in those digits from 50 years before this one to 49
    // after it; 0 takes four-digit years only.
    int thisYear = 0;
};

// The words a typed time may hold, in lower case.
struct TimeWords {
    std::vector<std::string> amTexts;
    std::vector<std::string> pmTexts;
    // The field shows a 12-hour clock: an hour 1..12 without AM or PM could be either half of the day.
    bool twelveHour = false;
};

struct TypedDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const TypedDate&, const TypedDate&) = default;
};

struct TypedTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const TypedTime&, const TypedTime&) = default;
};

// A whole date: day, month (a number or a month's name) and a four-digit year (or a two-digit one, see
// DateWords), in the locale's order, or year-month-day when the first number has four digits; separated by
// blanks, '/', '-', '.' or ','. Nothing when the text is not exactly one valid date.
std::optional<TypedDate> readTypedDate(std::string_view text, const DateWords& words);

// A time of day: hours and two-digit minutes, optionally two-digit seconds, separated by ':' or '.',
// with AM or PM before or after. Nothing when the text is not exactly one valid time.
std::optional<TypedTime> readTypedTime(std::string_view text, const TimeWords& words);

} // namespace velloran
