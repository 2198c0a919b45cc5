// The date-time value: days since 30 December 1899 00:00 local time, the fraction being the time of day.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace velloran {

using DateTime = double;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct CivilTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// 1 January 0001 and the day after 31 December 9999, as date-time values.
inline constexpr double kFirstValidDay = -693593.0;
inline constexpr double kPastLastValidDay = 2958466.0;

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool isValidDate(int year, int month, int day);

// Builds a date (time 00:00); false when year, month and day do not form a valid date in 1..9999.
bool tryEncodeDate(int year, int month, int day, DateTime& result);
DateTime encodeTime(int hour, int minute, int second, int millisecond = 0);

// A finite value whose date lies in the years 1..9999.
bool isValidDateTime(DateTime value);

// The whole days of a value (its date).
double wholeDays(DateTime value);
// The time of day of a value as a fraction of a day, 0 <= t < 1. Before 30 December 1899 the value is
// negative and its fraction counts the time of day away from zero.
double timeOfDay(DateTime value);
// A date (whole days) and a time of day joined into one value, by the rule above.
DateTime composeDateTime(double date, double timeOfDay);
CivilDate decodeDate(DateTime value);
CivilTime decodeTime(DateTime value);
// 1 = Sunday .. 7 = Saturday; 0 for a value that is no date.
int dayOfWeek(DateTime value);

// Conversions with the calendar of this machine's local time zone (daylight saving included).
DateTime fromLocalTime(const std::tm& local, int millisecond = 0);
DateTime localDateTimeFromUnix(std::int64_t unixSeconds, int millisecond = 0);
// The Unix time of a local date-time; for a time that a daylight-saving jump skips, the C library's choice.
std::int64_t unixFromLocalDateTime(DateTime value);

// "YYYY-MM-DD HH:MM:SS", the same in every language (the command line's listing, the log); empty for a
// damaged moment.
std::string isoText(DateTime value);

// Every part that reads "now" asks one of these, so tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    virtual std::int64_t unixSeconds() const = 0;
    // Real time, which goes on while the machine sleeps; deadlines the user waits for are kept in it.
    virtual std::int64_t unixMilliseconds() const { return unixSeconds() * 1000; }
};

class SystemClock final : public Clock {
public:
    DateTime now() const override;
    std::int64_t unixSeconds() const override;
    std::int64_t unixMilliseconds() const override;
};

} // namespace velloran
