#include "notify/alarm_rules.h"
#include "test_support.h"

#include <climits>
#include <gtest/gtest.h>

namespace velloran {
namespace {

TEST(AlarmRules, CountdownsOfDamagedIndexesNeverFireOrOverflow) {
    EXPECT_EQ(countdownInterval(0), 300000);
    EXPECT_EQ(countdownInterval(5), 1800000);
    EXPECT_EQ(countdownInterval(-1), 0);
    EXPECT_EQ(countdownInterval(-7), 0);
    EXPECT_EQ(countdownInterval(7157), 7158 * 300000);
    EXPECT_EQ(countdownInterval(7158), 0);
    EXPECT_EQ(countdownInterval(INT_MAX), 0);
}

TEST(AlarmRules, SnoozeTimeOutsideTheListFallsBackToTenMinutes) {
    SettingsRecord settings = defaultSettings();
    settings.SnoozeTime = 5;
    EXPECT_EQ(offeredSnoozeIndex(settings), 5);
    for (const int damaged : {-1, 6, INT_MIN}) {
        settings.SnoozeTime = damaged;
        EXPECT_EQ(offeredSnoozeIndex(settings), 1) << damaged;
    }
}

TEST(AlarmRules, SwitchOffOnlyWhenTurnedOn) {
    SettingsRecord settings = defaultSettings();
    settings.AlarmOffEnabled = 0;
    settings.AlarmOffTime = 2;
    EXPECT_EQ(switchOffInterval(settings), std::nullopt);
    settings.AlarmOffEnabled = 1;
    EXPECT_EQ(switchOffInterval(settings), 900000);
    settings.AlarmOffTime = -1; // turned on, but no time chosen: a countdown that never ends
    EXPECT_EQ(switchOffInterval(settings), 0);
}

TEST(AlarmRules, TimeTextOnTheTwelveHourClock) {
    const struct {
        int hour, minute;
        const char* text;
    } cases[] = {{0, 30, "12:30 am"},  {0, 5, "12:05 am"},  {11, 59, "11:59 am"},
                 {12, 30, "12:30 pm"}, {21, 7, "09:07 pm"}, {23, 59, "11:59 pm"}};
    for (const auto& c : cases) {
        // The last moment of the minute still shows that minute.
        EXPECT_EQ(alarmTimeText(test::at(2024, 1, 31, c.hour, c.minute, 59) + 0.999 / 86400, DateStyle{}),
                  c.text);
    }
}

} // namespace
} // namespace velloran
