// The settings store: the settings record as the binary registry value "Settings", and the start-at-logon
// command line as the Run value "Corvantis Task Scheduler". A failure carries the registry's text for the
// user.
#pragma once

#include "registry/autostart.h"
#include "registry/registry.h"
#include "settings_record.h"

#include <string>
#include <string_view>

namespace velloran {

inline constexpr std::string_view kSettingsKey = "SOFTWARE\\Corvantis Software\\Velloran";
inline constexpr std::string_view kSettingsValue = "Settings";

// Start-up: a missing key or value gives the defaults and writes nothing; a binary value of at most 292
// bytes fills the record from its first byte, the rest staying zero; a text or number value, or a longer
// one, gives "Invalid data type for 'Settings'" and leaves the record all zero.
// The record is filled in place: it is the one the whole run holds.
Result<void> loadSettings(Registry& registry, SettingsRecord& settings);

// Writes the whole record as the value "Settings", creating the key when needed.
Result<void> saveSettings(Registry& registry, const SettingsRecord& settings);

// The Run value: empty when missing or unreadable; "Invalid data type" when it is not text.
Result<std::string> readStartAtLogon(Registry& registry);
Result<void> writeStartAtLogon(Registry& registry, std::string_view commandLine);
// Removing a value that is not there succeeds.
Result<void> deleteStartAtLogon(Registry& registry);

// The command line that starts this program hidden at logon: "<executable>" hide
std::string startAtLogonCommandLine(std::string_view executablePath);

// True when a Run value starts this executable hidden, quoted or not, in any letter case of its ASCII
// letters. Other letters keep their case: the rule is the same in every locale, and on this system
// "Ü" and "ü" name different folders anyway.
bool startsAtLogon(std::string_view runValue, std::string_view executablePath);

} // namespace velloran
