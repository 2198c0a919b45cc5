// The per-user registry on Linux: one file, <config folder>/velloran/registry.reg, in the text format of
// exported registry files. Every operation reads the file afresh, and every change rewrites it atomically
// under a lock, so two running programs never lose each other's values. The Run value
// "Corvantis Task Scheduler" lives in the desktop's autostart folder instead (autostart.h).
#pragma once

#include "registry_data.h"

#include <string>

namespace velloran {

class FileRegistry : public Registry {
public:
    // The configuration folder from XDG_CONFIG_HOME, else ~/.config.
    FileRegistry();
    explicit FileRegistry(std::string configFolder);

    static std::string configFolderFromEnvironment();

    const std::string& filePath() const { return filePath_; }
    const std::string& autostartPath() const { return autostartPath_; }
    // A file that could not be fully read is copied here before it is rewritten.
    std::string damagedCopyPath() const { return filePath_ + ".damaged"; }

    bool keyExists(std::string_view key) override;
    std::optional<RegistryValue> readValue(std::string_view key, std::string_view name) override;
    Result<void> writeValue(std::string_view key, std::string_view name, const RegistryValue& value) override;
    Result<void> deleteValue(std::string_view key, std::string_view name) override;

    // Why the last failed write or delete failed, in the system's words: the failures returned keep to
    // the registry's own messages.
    const Message& lastFailure() const { return lastFailure_; }

private:
    RegistryData read() const;
    // Reads the file, lets change alter it, and writes it back when change returns true.
    template <typename Change> Result<void> update(Change change);
    Result<void> failed(Message why, Message told);

    std::string filePath_;
    std::string autostartPath_;
    Message lastFailure_;
};

} // namespace velloran
