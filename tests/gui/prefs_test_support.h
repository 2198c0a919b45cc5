// Stand-ins for the preferences, about and splash windows' tests: a registry that refuses one value,
// a recording opener, message boxes that are answered and kept, and running without root's rights.
#pragma once

#include "platform/message_box.h"
#include "registry/registry_memory.h"
#include "test_doubles.h"

#include <QList>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran::test {

// A memory registry in which writes and deletes of one value name fail, as on a disk that fills up
// between two writes.
class RefusingRegistry final : public Registry {
public:
    explicit RefusingRegistry(std::string refusedName) : refused_(std::move(refusedName)) {}

    MemoryRegistry memory;

    bool keyExists(std::string_view key) override { return memory.keyExists(key); }
    std::optional<RegistryValue> readValue(std::string_view key, std::string_view name) override {
        return memory.readValue(key, name);
    }
    std::string writeValue(std::string_view key, std::string_view name, const RegistryValue& value) override {
        return name == refused_ ? failedToSetDataError(name) : memory.writeValue(key, name, value);
    }
    std::string deleteValue(std::string_view key, std::string_view name) override {
        return name == refused_ ? failedToDeleteDataError(name) : memory.deleteValue(key, name);
    }

private:
    std::string refused_;
};

// Answers every message box with OK and keeps what it showed.
class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        MessageBoxes::setHandler([this](const MessageBoxRequest& request) {
            shown << request;
            return QMessageBox::Ok;
        });
    }
    ~MessageBoxRecorder() { MessageBoxes::setHandler({}); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    QList<MessageBoxRequest> shown;
};

// Runs body where the folder tree cannot be written. Root may write anywhere, so root hands the tree to
// "nobody" and takes that user's rights for the body.
inline bool withoutWriteAccess(const std::string& folder, const std::function<void()>& body) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders{folder};
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_directory())
            folders.push_back(entry.path().string());
    const bool root = geteuid() == 0;
    constexpr uid_t kNobody = 65534;
    if (root) {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (::chown(entry.path().c_str(), kNobody, kNobody) != 0)
                return false;
        if (::chown(folder.c_str(), kNobody, kNobody) != 0)
            return false;
    }
    for (const std::string& path : folders)
        ::chmod(path.c_str(), 0555);
    bool dropped = !root || (::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0);
    if (dropped)
        body();
    if (root)
        dropped = ::seteuid(0) == 0 && ::setegid(0) == 0 && dropped;
    for (const std::string& path : folders)
        ::chmod(path.c_str(), 0755);
    return dropped;
}

} // namespace velloran::test
