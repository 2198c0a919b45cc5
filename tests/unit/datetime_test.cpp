#include "common/datetime.h"
#include "test_support.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace velloran {
namespace {

using test::at;

TEST(Calendar, KnownSerialNumbers) {
    DateTime value = -1;
    ASSERT_TRUE(tryEncodeDate(1899, 12, 30, value));
    EXPECT_EQ(value, 0.0);
    ASSERT_TRUE(tryEncodeDate(1900, 1, 1, value));
    EXPECT_EQ(value, 2.0);
    ASSERT_TRUE(tryEncodeDate(2009, 12, 3, value));
    EXPECT_EQ(value, 40150.0);
    ASSERT_TRUE(tryEncodeDate(1, 1, 1, value));
    EXPECT_EQ(value, kFirstValidDay);
    ASSERT_TRUE(tryEncodeDate(9999, 12, 31, value));
    EXPECT_EQ(value, kPastLastValidDay - 1);
}

TEST(Calendar, ValidDatesAndLeapYears) {
    EXPECT_TRUE(isValidDate(2008, 2, 29));
    EXPECT_FALSE(isValidDate(2009, 2, 29));
    EXPECT_FALSE(isValidDate(1900, 2, 29)) << "century not divisible by 400";
    EXPECT_TRUE(isValidDate(2000, 2, 29));
    EXPECT_FALSE(isValidDate(2009, 4, 31));
    EXPECT_FALSE(isValidDate(0, 1, 1));
    EXPECT_FALSE(isValidDate(10000, 1, 1));
    EXPECT_FALSE(isValidDate(2009, 13, 1));
    EXPECT_FALSE(isValidDate(2009, 0, 1));
    EXPECT_FALSE(isValidDate(2009, 1, 0));
    DateTime untouched = 5;
    EXPECT_FALSE(tryEncodeDate(2009, 2, 30, untouched));
    EXPECT_EQ(untouched, 5);
}

TEST(Calendar, DecodeRoundTripsEveryDayOfFourCenturies) {
    DateTime start = 0;
    ASSERT_TRUE(tryEncodeDate(1800, 1, 1, start));
    for (DateTime day = start; day < start + 146097; day += 1.0) {
        const CivilDate date = decodeDate(composeDateTime(day, 0.75));
        DateTime again = 0;
        ASSERT_TRUE(tryEncodeDate(date.year, date.month, date.day, again)) << day;
        ASSERT_EQ(again, day);
    }
}

TEST(Calendar, DayOfWeekIsOneForSunday) {
    EXPECT_EQ(dayOfWeek(0), 7) << "30 December 1899 was a Saturday";
    EXPECT_EQ(dayOfWeek(at(2009, 12, 3, 14, 5)), 5) << "Thursday";
    EXPECT_EQ(dayOfWeek(at(2010, 3, 7)), 1) << "Sunday";
    EXPECT_EQ(dayOfWeek(at(1850, 6, 1, 12)), 7) << "a Saturday before 1899";
}

TEST(Calendar, TimeOfDay) {
    const CivilTime noon = decodeTime(at(2009, 12, 3) + 0.5);
    EXPECT_EQ(noon.hour, 12);
    EXPECT_EQ(noon.minute, 0);
    EXPECT_EQ(noon.second, 0);
    const CivilTime late = decodeTime(at(2009, 12, 3, 23, 59, 59));
    EXPECT_EQ(late.hour, 23);
    EXPECT_EQ(late.minute, 59);
    EXPECT_EQ(late.second, 59);
    // Before 1899 the fraction counts the same way, in the other direction.
    const DateTime old = at(1850, 2, 1, 6, 30);
    EXPECT_EQ(decodeTime(old).hour, 6);
    EXPECT_EQ(decodeDate(old).day, 1);
}

TEST(Calendar, InvalidValuesDecodeToNothing) {
    EXPECT_FALSE(isValidDateTime(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(isValidDateTime(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(isValidDateTime(kPastLastValidDay));
    EXPECT_TRUE(isValidDateTime(kPastLastValidDay - 0.001));
    EXPECT_EQ(decodeDate(1e300).year, 0);
}

// Local-time conversions follow the zone's daylight-saving rules.
class LocalTime : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        hadTz_ = old != nullptr;
        if (hadTz_)
            oldTz_ = old;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz_)
            setenv("TZ", oldTz_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadTz_ = false;
    std::string oldTz_;
};

TEST_F(LocalTime, SpringForwardSkipsAnHour) {
    // 28 March 2010, 01:00 UTC: 02:00 CET became 03:00 CEST.
    const std::int64_t jump = 1269738000;
    EXPECT_EQ(localDateTimeFromUnix(jump - 1), at(2010, 3, 28, 1, 59, 59));
    EXPECT_EQ(localDateTimeFromUnix(jump), at(2010, 3, 28, 3, 0, 0));
}

TEST_F(LocalTime, FallBackRepeatsAnHour) {
    // 31 October 2010, 01:00 UTC: 03:00 CEST became 02:00 CET.
    const std::int64_t jump = 1288486800;
    EXPECT_EQ(localDateTimeFromUnix(jump - 1800), at(2010, 10, 31, 2, 30));
    EXPECT_EQ(localDateTimeFromUnix(jump + 1800), at(2010, 10, 31, 2, 30));
}

TEST_F(LocalTime, UnixRoundTrip) {
    const std::int64_t summer = 1276000000;
    EXPECT_EQ(unixFromLocalDateTime(localDateTimeFromUnix(summer)), summer);
}

TEST_F(LocalTime, SystemClockTakesAChangedZoneAtTheNextReading) {
    SystemClock clock;
    const DateTime inCet = clock.now();
    // Nobody calls tzset after the change: the clock must read the zone again by itself.
    setenv("TZ", "JST-9", 1);
    const DateTime inJst = clock.now();
    setenv("TZ", "EST5", 1);
    const DateTime inEst = clock.now();
    // Tokyo is 8 hours ahead of CET in winter and 7 in summer; New York (no summer time here) 6 or 7 behind.
    const double cetToJst = (inJst - inCet) * 24;
    const double jstToEst = (inJst - inEst) * 24;
    EXPECT_TRUE(std::abs(cetToJst - 8) < 0.01 || std::abs(cetToJst - 7) < 0.01) << cetToJst;
    EXPECT_NEAR(jstToEst, 14, 0.01);
}

TEST(Clock, SystemClockAgreesWithItself) {
    SystemClock clock;
    const DateTime now = clock.now();
    EXPECT_NEAR(now, localDateTimeFromUnix(clock.unixSeconds()), 2.0 / 86400);
    EXPECT_GT(now, at(2020, 1, 1));
    const std::int64_t milliseconds = clock.unixMilliseconds();
    EXPECT_LT(std::llabs(milliseconds - clock.unixSeconds() * 1000), 2000);
}

} // namespace
} // namespace velloran
