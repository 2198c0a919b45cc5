#include "prefs/settings_store.h"
#include "registry/registry_file.h"
#include "registry/registry_memory.h"
#include "test_support.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace velloran;
using namespace velloran::test;

namespace {

std::string bytesOf(const SettingsRecord& settings) {
    return {reinterpret_cast<const char*>(&settings), sizeof settings};
}

SettingsRecord filledSettings() {
    SettingsRecord settings = zeroSettings();
    std::memset(&settings, 0xA5, sizeof settings); // padding too: it belongs to the stored format
    settings.SortByDate = 0;
    settings.LongDateDisplay = 1;
    settings.SnoozeTime = 5;
    settings.AlarmOffEnabled = 1;
    settings.AlarmOffTime = -1;
    std::memset(settings.DefaultFont.FontName, 0, sizeof settings.DefaultFont.FontName);
    std::strcpy(settings.DefaultFont.FontName, "DejaVu Sans");
    settings.DefaultFont.FontSize = 12;
    settings.DefaultFont.FontStyle = kFontBold | kFontStrikeOut;
    return settings;
}

void expectAllZero(const SettingsRecord& settings) {
    EXPECT_EQ(bytesOf(settings), std::string(sizeof settings, '\0'));
}

} // namespace

TEST(SettingsLoad, FirstRunGivesTheDefaultsAndWritesNothing) {
    TempDir dir;
    FileRegistry registry(dir.path());
    SettingsRecord settings = filledSettings();
    EXPECT_EQ(loadSettings(registry, settings), "");
    EXPECT_EQ(settings.SortByDate, 1);
    EXPECT_EQ(settings.LongDateDisplay, 0);
    EXPECT_EQ(settings.SnoozeTime, 1);
    EXPECT_EQ(snoozeMinutes(settings.SnoozeTime), 10);
    EXPECT_EQ(settings.AlarmOffEnabled, 0);
    EXPECT_EQ(settings.AlarmOffTime, 1);
    EXPECT_EQ(settings.DefaultFont.FontCharset, 1);
    EXPECT_EQ(settings.DefaultFont.FontColor, 0);
    EXPECT_EQ(settings.DefaultFont.FontName[0], '\0');
    EXPECT_EQ(settings.DefaultFont.FontSize, 8);
    EXPECT_EQ(settings.DefaultFont.FontStyle, 0u);
    EXPECT_EQ(bytesOf(settings), bytesOf(defaultSettings()));
    EXPECT_FALSE(fileExists(registry.filePath()));
}

TEST(SettingsLoad, KeyWithoutTheValueAlsoGivesTheDefaults) {
    MemoryRegistry registry;
    ASSERT_EQ(registry.writeText(kSettingsKey, "Something else", "x"), "");
    SettingsRecord settings = zeroSettings();
    EXPECT_EQ(loadSettings(registry, settings), "");
    EXPECT_EQ(bytesOf(settings), bytesOf(defaultSettings()));
}

TEST(SettingsLoad, ShortValueFillsOnlyTheLeadingFields) {
    MemoryRegistry registry;
    const SettingsRecord stored = filledSettings();
    ASSERT_EQ(registry.writeBinary(kSettingsKey, "Settings", bytesOf(stored).substr(0, 20)), "");
    SettingsRecord settings = defaultSettings();
    EXPECT_EQ(loadSettings(registry, settings), "");
    EXPECT_EQ(settings.SortByDate, 0);
    EXPECT_EQ(settings.LongDateDisplay, 1);
    EXPECT_EQ(settings.SnoozeTime, 5);
    EXPECT_EQ(settings.AlarmOffEnabled, 1);
    EXPECT_EQ(settings.AlarmOffTime, -1);
    // No defaults for the font: everything from offset 20 stays zero.
    EXPECT_EQ(bytesOf(settings).substr(20), std::string(272, '\0'));

    ASSERT_EQ(registry.writeBinary(kSettingsKey, "Settings", ""), "");
    EXPECT_EQ(loadSettings(registry, settings), "");
    expectAllZero(settings);
}

TEST(SettingsLoad, RefusedValuesGiveTheErrorAndAnAllZeroRecord) {
    const RegistryValue refused[] = {
        RegistryValue::binary(std::string(293, '\x01')),
        RegistryValue::text("not settings"),
        RegistryValue::text("also not", kRegExpandText),
        RegistryValue::number(1),
    };
    for (const RegistryValue& value : refused) {
        MemoryRegistry registry;
        ASSERT_EQ(registry.writeValue("software\\corvantis software\\VELLORAN", "settings", value), "");
        SettingsRecord settings = defaultSettings();
        EXPECT_EQ(loadSettings(registry, settings), "Invalid data type for 'Settings'") << value.type;
        expectAllZero(settings);
    }
}

TEST(SettingsLoad, OtherBinaryTypesAreAccepted) {
    MemoryRegistry registry;
    ASSERT_EQ(registry.writeValue(kSettingsKey, kSettingsValue,
                                  RegistryValue{11, std::string("\x01\0\0\0\x01", 5)}),
              "");
    SettingsRecord settings = zeroSettings();
    EXPECT_EQ(loadSettings(registry, settings), "");
    EXPECT_EQ(settings.SortByDate, 1);
    EXPECT_EQ(settings.LongDateDisplay, 1);
    EXPECT_EQ(settings.SnoozeTime, 0);
}

TEST(SettingsSave, SavedRecordLoadsBackByteForByte) {
    TempDir dir;
    FileRegistry registry(dir.path());
    const SettingsRecord saved = filledSettings();
    ASSERT_EQ(saveSettings(registry, saved), "");
    EXPECT_NE(readFile(registry.filePath())
                  .find("[HKEY_CURRENT_USER\\SOFTWARE\\Corvantis Software\\Velloran]\n"
                        "\"Settings\"=hex:00,a5,a5,a5,01,00,00,00,"),
              std::string::npos)
        << readFile(registry.filePath());

    FileRegistry nextRun(dir.path());
    SettingsRecord loaded = zeroSettings();
    EXPECT_EQ(loadSettings(nextRun, loaded), "");
    EXPECT_EQ(bytesOf(loaded), bytesOf(saved));
}

TEST(SettingsSave, FailedWriteGivesTheErrorText) {
    MemoryRegistry registry;
    registry.setFailing(true);
    EXPECT_EQ(saveSettings(registry, defaultSettings()), "Failed to set data for 'Settings'");
    EXPECT_EQ(writeStartAtLogon(registry, "\"/v\" hide"),
              "Failed to set data for 'Corvantis Task Scheduler'");
    EXPECT_EQ(deleteStartAtLogon(registry), "") << "nothing there to delete";
}

TEST(StartAtLogon, NonTextRunValueIsAReadError) {
    MemoryRegistry registry;
    ASSERT_EQ(registry.writeValue(kRunKey, kStartAtLogonValue, RegistryValue::number(1)), "");
    EXPECT_EQ(textOf(readStartAtLogon(registry)), "failed: Invalid data type for 'Corvantis Task Scheduler'");
}

TEST(StartAtLogon, CommandLineIsQuotedWithTheHideArgument) {
    EXPECT_EQ(startAtLogonCommandLine("/opt/Velloran App/velloran"), "\"/opt/Velloran App/velloran\" hide");
}

TEST(StartAtLogon, RecognisesThisProgramQuotedOrNotInAnyCase) {
    const std::string exe = "/opt/Velloran App/velloran";
    EXPECT_TRUE(startsAtLogon("\"/opt/Velloran App/velloran\" hide", exe));
    EXPECT_TRUE(startsAtLogon("/OPT/VELLORAN APP/VELLORAN HIDE", exe));
    EXPECT_TRUE(startsAtLogon("\"/opt/velloran app/Velloran\" Hide", exe));
    EXPECT_FALSE(startsAtLogon("", exe));
    EXPECT_FALSE(startsAtLogon("\"/usr/bin/velloran\" hide", exe)) << "another copy shows as off";
    EXPECT_FALSE(startsAtLogon("\"/opt/Velloran App/velloran\"", exe));
    EXPECT_FALSE(startsAtLogon("\"/opt/Velloran App/velloran\" hide ", exe));
    EXPECT_FALSE(startsAtLogon("\"/opt/Velloran App/velloran hide", exe));
}
