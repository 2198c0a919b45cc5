#include "settings_store.h"

#include "common/text.h"

#include <cstring>

namespace velloran {
Result<void> loadSettings(Registry& registry, SettingsRecord& settings) {
    settings = zeroSettings();
    if (!registry.keyExists(kSettingsKey) || !registry.valueExists(kSettingsKey, kSettingsValue)) {
        settings = defaultSettings();
        return {};
    }
    const Result<std::string> bytes = registry.readBinary(kSettingsKey, kSettingsValue, sizeof settings);
    if (!bytes)
        return failure(bytes.error());
    std::memcpy(&settings, bytes->data(), bytes->size());
    return {};
}

Result<void> saveSettings(Registry& registry, const SettingsRecord& settings) {
    return registry.writeBinary(kSettingsKey, kSettingsValue,
                                std::string_view(reinterpret_cast<const char*>(&settings), sizeof settings));
}

Result<std::string> readStartAtLogon(Registry& registry) {
    return registry.readText(kRunKey, kStartAtLogonValue);
}

Result<void> writeStartAtLogon(Registry& registry, std::string_view commandLine) {
    return registry.writeText(kRunKey, kStartAtLogonValue, commandLine);
}

Result<void> deleteStartAtLogon(Registry& registry) {
    return registry.deleteValue(kRunKey, kStartAtLogonValue);
}

std::string startAtLogonCommandLine(std::string_view executablePath) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about "literal" + std::string.
    std::string commandLine;
    commandLine.reserve(executablePath.size() + 7);
    commandLine += '"';
    commandLine += executablePath;
    commandLine += "\" hide";
    return commandLine;
}

bool startsAtLogon(std::string_view runValue, std::string_view executablePath) {
    const std::string value = upperAscii(runValue);
    return value == upperAscii(std::string(executablePath) + " hide") ||
           value == upperAscii(startAtLogonCommandLine(executablePath));
}

} // namespace velloran
