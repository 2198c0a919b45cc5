#include "preferences_rules.h"

#include "settings_store.h"

#include <cstring>

namespace velloran {
namespace {

// An index outside the list chooses no item.
int listItem(std::int32_t index) {
    return index >= 0 && index < kSnoozeItemCount ? index : -1;
}

} // namespace

PreferencesShown preferencesShown(Registry& registry, const SettingsRecord& settings,
                                  std::string_view executablePath) {
    PreferencesShown shown;
    const Result<std::string> runValue = readStartAtLogon(registry);
    if (!runValue)
        shown.error = runValue.error();
    PreferencesEntries& e = shown.entries;
    e.startAtLogon = runValue && startsAtLogon(*runValue, executablePath);
    e.sortByDate = settings.SortByDate != 0;
    e.longDateDisplay = settings.LongDateDisplay != 0;
    e.snoozeIndex = listItem(settings.SnoozeTime);
    e.alarmOff = settings.AlarmOffEnabled != 0;
    e.alarmOffIndex = listItem(settings.AlarmOffTime);
    e.defaultFont = withCountedFaceName(settings.DefaultFont);
    return shown;
}

Result<void> savePreferences(Registry& registry, SettingsRecord& settings, const PreferencesEntries& entries,
                             std::string_view executablePath) {
    settings.SortByDate = entries.sortByDate ? 1 : 0;
    settings.LongDateDisplay = entries.longDateDisplay ? 1 : 0;
    settings.SnoozeTime = entries.snoozeIndex;
    settings.AlarmOffEnabled = entries.alarmOff ? 1 : 0;
    settings.AlarmOffTime = entries.alarmOffIndex;
    // The stored padding belongs to the format and is written back as it was.
    const FontBlock stored = settings.DefaultFont;
    settings.DefaultFont = entries.defaultFont;
    std::memcpy(settings.DefaultFont.Padding, stored.Padding, sizeof stored.Padding);
    const Result<void> logon = entries.startAtLogon
                                   ? writeStartAtLogon(registry, startAtLogonCommandLine(executablePath))
                                   : deleteStartAtLogon(registry);
    if (!logon)
        return logon;
    return saveSettings(registry, settings);
}

} // namespace velloran
