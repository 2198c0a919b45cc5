#include "datetime.h"

#include <cmath>
#include <cstdio>

namespace velloran {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

// Day 0 of the date-time value, 1899-12-30, counted from 1970-01-01.
constexpr std::int64_t kEpochOffset = -25569;

} // namespace

bool isLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

bool tryEncodeDate(int year, int month, int day, DateTime& result) {
    if (!isValidDate(year, month, day))
        return false;
    result = static_cast<double>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset);
    return true;
}

DateTime encodeTime(int hour, int minute, int second, int millisecond) {
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

bool isValidDateTime(DateTime value) {
    return std::isfinite(value) && value > kFirstValidDay - 1.0 && value < kPastLastValidDay;
}

double wholeDays(DateTime value) {
    return std::trunc(value);
}

double timeOfDay(DateTime value) {
    return std::fabs(value - std::trunc(value));
}

DateTime composeDateTime(double date, double timeOfDay) {
    return date < 0 ? date - timeOfDay : date + timeOfDay;
}

CivilDate decodeDate(DateTime value) {
    if (!isValidDateTime(value))
        return {};
    return civilFromDays(static_cast<std::int64_t>(wholeDays(value)) + kEpochOffset);
}

CivilTime decodeTime(DateTime value) {
    if (!std::isfinite(value))
        return {};
    // Whole milliseconds of the day, rounded so that 0.5 reads as exactly 12:00:00.000.
    auto ms = static_cast<std::int64_t>(std::llround(timeOfDay(value) * 86400000.0));
    if (ms >= 86400000)
        ms = 86399999;
    return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
            static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

int dayOfWeek(DateTime value) {
    if (!isValidDateTime(value))
        return 0;
    // Day 0 (30 December 1899) was a Saturday.
    const auto days = static_cast<std::int64_t>(wholeDays(value));
    return static_cast<int>(((days - 1) % 7 + 7) % 7) + 1;
}

DateTime fromLocalTime(const std::tm& local, int millisecond) {
    DateTime date = 0;
    if (!tryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date))
        return 0;
    return composeDateTime(date, encodeTime(local.tm_hour, local.tm_min, local.tm_sec, millisecond));
}

DateTime localDateTimeFromUnix(std::int64_t unixSeconds, int millisecond) {
    const auto t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    return fromLocalTime(local, millisecond);
}

std::int64_t unixFromLocalDateTime(DateTime value) {
    const CivilDate date = decodeDate(value);
    const CivilTime time = decodeTime(value);
    std::tm local{};
    local.tm_year = date.year - 1900;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

DateTime SystemClock::now() const {
    // localtime_r keeps the zone it read first; a zone changed since (set-timezone, travel) counts from the
    // next reading. tzset only stats /etc/localtime unless it changed.
    tzset();
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return localDateTimeFromUnix(ts.tv_sec, static_cast<int>(ts.tv_nsec / 1000000));
}

std::int64_t SystemClock::unixSeconds() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec;
}

std::int64_t SystemClock::unixMilliseconds() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::string isoText(DateTime value) {
    if (!isValidDateTime(value))
        return {};
    const CivilDate date = decodeDate(value);
    const CivilTime time = decodeTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day,
                  time.hour, time.minute, time.second);
    return text;
}

} // namespace velloran
