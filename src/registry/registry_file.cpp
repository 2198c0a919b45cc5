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

Result<void> FileRegistry::writeValue(std::string_view key, std::string_view name,
                                      const RegistryValue& value) {
    lastFailure_ = {};
    if (isStartAtLogonValue(key, name)) {
        // A desktop entry can only carry a command line.
        if (!value.isText())
            return failed(std::string("not a text value"), failedToSetDataError(name));
        if (Result<void> written = writeAutostartEntry(autostartPath_, value.data); !written)
            return failed(written.error(), failedToSetDataError(name));
        return {};
    }
    if (!isStorableName(key) || !isStorableName(name))
        return failed(std::string("a name cannot hold a line break"), failedToSetDataError(name));
    const std::string path = currentUserKey(key);
    const Result<void> written = update([&](RegistryData& data) {
        const RegistryValue* stored = data.find(path, name);
        if (stored != nullptr && *stored == value)
            return false;
        data.set(path, name, value);
        return true;
    });
    if (!written)
        return failed(written.error(), failedToSetDataError(name));
    return {};
}

Result<void> FileRegistry::deleteValue(std::string_view key, std::string_view name) {
    lastFailure_ = {};
    if (isStartAtLogonValue(key, name)) {
        if (Result<void> removed = removeAutostartEntry(autostartPath_); !removed)
            return failed(removed.error(), failedToDeleteDataError(name));
        return {};
    }
    const std::string path = currentUserKey(key);
    const Result<void> removed = update([&](RegistryData& data) { return data.erase(path, name); });
    if (!removed)
        return failed(removed.error(), failedToDeleteDataError(name));
    return {};
}

Result<void> FileRegistry::failed(Message why, Message told) {
    lastFailure_ = std::move(why);
    return failure(std::move(told));
}

RegistryData FileRegistry::read() const {
    const Result<std::optional<std::string>> content = readWholeFile(filePath_, kMaxFileSize);
    if (!content || !*content)
        return {};
    return parseRegistryText(**content).data;
}

template <typename Change> Result<void> FileRegistry::update(Change change) {
    const std::string folder = parentFolder(filePath_);
    if (Result<void> made = makeFolders(folder, 0700); !made)
        return made;
    ChangeLock lock(folder + "/.registry.lock");
    const Result<std::optional<std::string>> read = readWholeFile(filePath_, kMaxFileSize);
    // Writing after a failed read would replace values that are there but could not be read.
    if (!read)
        return failure(read.error());
    const std::string content = read->value_or(std::string());
    RegistryTextRead file = parseRegistryText(content);
    if (!change(file.data))
        return {};
    const std::string target = writeTarget(filePath_);
    if (file.damagedLines > 0) {
        // The lines that could not be read leave the file with this write; keep them for the user.
        if (Result<void> kept = writeFileAtomically(damagedCopyPath(), content, 0600); !kept)
            return kept;
    }
    return writeFileAtomically(target, formatRegistryText(file.data), 0600);
}

} // namespace velloran
