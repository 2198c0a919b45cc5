#include "registry_file.h"

#include "autostart.h"
#include "files/atomic_file.h"
#include "files/file_io.h"
#include "registry_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace velloran {
namespace {

constexpr std::size_t kMaxFileSize = 4 << 20; // a few kilobytes in practice

bool isStartAtLogonValue(std::string_view key, std::string_view name) {
    return equalsIgnoringAsciiCase(trimKeyPath(key), kRunKey) &&
           equalsIgnoringAsciiCase(name, kStartAtLogonValue);
}

// True when key is the Run key or one of the keys above it.
bool leadsToRunKey(std::string_view key) {
    key = trimKeyPath(key);
    return key.empty() || (equalsIgnoringAsciiCase(kRunKey.substr(0, key.size()), key) &&
                           (key.size() == kRunKey.size() || kRunKey[key.size()] == '\\'));
}

// An exclusive lock on a file beside the registry file, held while one change is read, made and written.
// The registry file itself cannot carry the lock: each write replaces it with a new file.
class ChangeLock {
public:
    explicit ChangeLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~ChangeLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

private:
    int fd_ = -1;
};

// A registry file that is a link (kept with the user's dotfiles) is written where it points.
std::string writeTarget(const std::string& path) {
    std::vector<char> resolved(PATH_MAX + 1);
    if (::realpath(path.c_str(), resolved.data()) != nullptr)
        return resolved.data();
    return path;
}

} // namespace

FileRegistry::FileRegistry() : FileRegistry(configFolderFromEnvironment()) {}

FileRegistry::FileRegistry(std::string configFolder)
    : filePath_(configFolder + "/velloran/registry.reg"), autostartPath_(autostartEntryPath(configFolder)) {}

std::string FileRegistry::configFolderFromEnvironment() {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return config;
    return homeFolder() + "/.config";
}

bool FileRegistry::keyExists(std::string_view key) {
    if (read().hasKey(currentUserKey(key)))
        return true;
    return leadsToRunKey(key) && readAutostartEntry(autostartPath_).has_value();
}

std::optional<RegistryValue> FileRegistry::readValue(std::string_view key, std::string_view name) {
    if (isStartAtLogonValue(key, name)) {
        const std::optional<std::string> commandLine = readAutostartEntry(autostartPath_);
        if (!commandLine)
            return std::nullopt;
        return RegistryValue::text(*commandLine);
    }
    const RegistryData data = read();
    const RegistryValue* value = data.find(currentUserKey(key), name);
    if (value == nullptr)
        return std::nullopt;
    return *value;
}

std::string FileRegistry::writeValue(std::string_view key, std::string_view name,
                                     const RegistryValue& value) {
    lastFailure_.clear();
    if (isStartAtLogonValue(key, name)) {
        // A desktop entry can only carry a command line.
        lastFailure_ = value.isText() ? writeAutostartEntry(autostartPath_, value.data) : "not a text value";
        return lastFailure_.empty() ? std::string() : failedToSetDataError(name);
    }
    if (!isStorableName(key) || !isStorableName(name)) {
        lastFailure_ = "a name cannot hold a line break";
        return failedToSetDataError(name);
    }
    const std::string path = currentUserKey(key);
    const std::string error = update([&](RegistryData& data) {
        const RegistryValue* stored = data.find(path, name);
        if (stored != nullptr && *stored == value)
            return false;
        data.set(path, name, value);
        return true;
    });
    return error.empty() ? std::string() : failedToSetDataError(name);
}

std::string FileRegistry::deleteValue(std::string_view key, std::string_view name) {
    lastFailure_.clear();
    if (isStartAtLogonValue(key, name)) {
        lastFailure_ = removeAutostartEntry(autostartPath_);
        return lastFailure_.empty() ? std::string() : failedToDeleteDataError(name);
    }
    const std::string path = currentUserKey(key);
    const std::string error = update([&](RegistryData& data) { return data.erase(path, name); });
    return error.empty() ? std::string() : failedToDeleteDataError(name);
}

RegistryData FileRegistry::read() const {
    std::string content;
    std::string error;
    if (readWholeFile(filePath_, kMaxFileSize, content, error) != FileRead::Read)
        return {};
    return parseRegistryText(content).data;
}

template <typename Change> std::string FileRegistry::update(Change change) {
    const std::string folder = parentFolder(filePath_);
    lastFailure_ = makeFolders(folder, 0700);
    if (!lastFailure_.empty())
        return lastFailure_;
    ChangeLock lock(folder + "/.registry.lock");
    std::string content;
    switch (readWholeFile(filePath_, kMaxFileSize, content, lastFailure_)) {
    case FileRead::Failed:
        // Writing now would replace values that are there but could not be read.
        return lastFailure_;
    case FileRead::Missing:
    case FileRead::Read:
        break;
    }
    RegistryTextRead file = parseRegistryText(content);
    if (!change(file.data))
        return {};
    const std::string target = writeTarget(filePath_);
    if (file.damagedLines > 0) {
        // The lines that could not be read leave the file with this write; keep them for the user.
        lastFailure_ = writeFileAtomically(damagedCopyPath(), content, 0600);
        if (!lastFailure_.empty())
            return lastFailure_;
    }
    lastFailure_ = writeFileAtomically(target, formatRegistryText(file.data), 0600);
    return lastFailure_;
}

} // namespace velloran
