// What the preferences window shows and what its Save does, without widgets: the window reads its
// controls into these entries and shows what comes back.
#pragma once

#include "registry/registry.h"
#include "settings_record.h"

#include <string>
#include <string_view>

namespace velloran {

struct PreferencesEntries {
    bool startAtLogon = false;
    bool sortByDate = false;
    bool longDateDisplay = false;
    int snoozeIndex = -1; // -1: no item chosen
    bool alarmOff = false;
    int alarmOffIndex = -1;
    FontBlock defaultFont{}; // its face name cut to what counts
};

struct PreferencesShown {
    PreferencesEntries entries;
    Message error; // a Run value that could not be read: shown, and the start at logon shows Off
};

// The entries for the stored settings and the Run value of this executable.
PreferencesShown preferencesShown(Registry& registry, const SettingsRecord& settings,
                                  std::string_view executablePath);

// Takes the entries into the settings, then writes the start at logon (written for On, removed for Off)
// and then the settings record. The first failure stops it and is returned; what was written before it
// stays written.
Result<void> savePreferences(Registry& registry, SettingsRecord& settings, const PreferencesEntries& entries,
                             std::string_view executablePath);

} // namespace velloran
