#include "common/text.h"
#include "prefs/preferences_rules.h"
#include "prefs/settings_store.h"
#include "registry/registry_memory.h"
#include "test_support.h"

#include <cstring>
#include <gtest/gtest.h>

namespace velloran {
namespace {

constexpr std::string_view kExe = "/opt/Velloran App/velloran";

TEST(PreferencesShown, StoredValuesBecomeEntriesAndOutOfRangeItemsChooseNone) {
    MemoryRegistry registry;
    ASSERT_EQ(writeStartAtLogon(registry, "\"/OPT/VELLORAN APP/VELLORAN\" HIDE"), "");
    SettingsRecord settings = defaultSettings();
    settings.SnoozeTime = 6; // one past the last item
    settings.AlarmOffTime = -7;
    settings.AlarmOffEnabled = 2;
    setFieldText(settings.DefaultFont.FontName, std::string(40, 'f'));
    const PreferencesShown shown = preferencesShown(registry, settings, kExe);
    EXPECT_EQ(shown.error, "");
    EXPECT_TRUE(shown.entries.startAtLogon);
    EXPECT_EQ(shown.entries.snoozeIndex, -1);
    EXPECT_EQ(shown.entries.alarmOffIndex, -1);
    EXPECT_TRUE(shown.entries.alarmOff);
    EXPECT_EQ(fieldText(shown.entries.defaultFont.FontName), std::string(31, 'f'));

    settings.SnoozeTime = 5;
    EXPECT_EQ(preferencesShown(registry, settings, kExe).entries.snoozeIndex, 5);
}

TEST(PreferencesShown, RunValueOfTheWrongTypeShowsOffWithItsError) {
    MemoryRegistry registry;
    ASSERT_EQ(registry.writeValue(kRunKey, kStartAtLogonValue, RegistryValue::number(1)), "");
    const PreferencesShown shown = preferencesShown(registry, defaultSettings(), kExe);
    EXPECT_EQ(shown.error, "Invalid data type for 'Corvantis Task Scheduler'");
    EXPECT_FALSE(shown.entries.startAtLogon);
}

TEST(SavePreferences, WritesTheRunValueThenTheSettingsAndStopsAtTheFirstFailure) {
    MemoryRegistry registry;
    SettingsRecord settings = defaultSettings();
    PreferencesEntries entries = preferencesShown(registry, settings, kExe).entries;
    entries.startAtLogon = true;
    entries.snoozeIndex = 3;
    ASSERT_EQ(savePreferences(registry, settings, entries, kExe), "");
    EXPECT_EQ(textOf(readStartAtLogon(registry)), "\"/opt/Velloran App/velloran\" hide");
    SettingsRecord stored = zeroSettings();
    ASSERT_EQ(loadSettings(registry, stored), "");
    EXPECT_EQ(stored.SnoozeTime, 3);

    entries.startAtLogon = false;
    entries.snoozeIndex = 1;
    registry.setFailing(true);
    const int before = registry.changes();
    EXPECT_EQ(savePreferences(registry, settings, entries, kExe),
              "Failed to delete data for 'Corvantis Task Scheduler'");
    EXPECT_EQ(registry.changes(), before) << "the settings are not written after a failed Run value";
    registry.setFailing(false);
    ASSERT_EQ(savePreferences(registry, settings, entries, kExe), "");
    EXPECT_EQ(textOf(readStartAtLogon(registry)), "") << "Off removes the Run value";
}

TEST(SavePreferences, KeepsTheStoredPaddingOfTheFont) {
    MemoryRegistry registry;
    SettingsRecord settings = defaultSettings();
    std::memset(settings.DefaultFont.Padding, 0xCD, sizeof settings.DefaultFont.Padding);
    PreferencesEntries entries = preferencesShown(registry, settings, kExe).entries;
    std::memset(entries.defaultFont.Padding, 0, sizeof entries.defaultFont.Padding);
    ASSERT_EQ(savePreferences(registry, settings, entries, kExe), "");
    EXPECT_EQ(static_cast<unsigned char>(settings.DefaultFont.Padding[2]), 0xCDu);
}

} // namespace
} // namespace velloran
