// One running Velloran per user: a lock and a local socket in a folder of the user's own. A second start
// asks the first, through the socket, to bring its window back.
#pragma once

#include "command_request.h"
#include "files/file_lock.h"
#include "restore_request.h"

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velloran {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // folder: where the lock and socket live; empty means $XDG_RUNTIME_DIR, else a private folder in the
    // temporary folder, else (when another user holds that name) one in the user's cache folder.
    explicit SingleInstance(QString folder = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    const QString& folder() const { return folder_; }

    // True when this process is now the one instance; false when another holds the lock. The lock is
    // the kernel's and ends with its process, so nothing a crash left in the folder stops a start. An
    // instance that is closing is waited for, at most waitWhileClosing, pausing with pause.
    bool claim(std::chrono::milliseconds waitWhileClosing = {}, const LockPause& pause = sleepFor);
    // For the instance: tells a later start that it is closing (and waits for it to end rather than ask
    // it for its window), or that it runs on.
    void setClosing(bool closing);
    // From a second start: asks the running instance to restore its window, handing on the second
    // start's activation token. False when it cannot be reached.
    bool askRunningInstanceToRestore(const RestoreRequest& request = {}) const;
    // For the instance: what answers a command-line request (its arguments) that reaches the socket.
    void setCommandHandler(std::function<CommandReply(const std::vector<std::string>&)> handler) {
        commandHandler_ = std::move(handler);
    }
    // From a command line: hands its arguments to the running instance and returns its answer; nullopt
    // when it cannot be reached or ended before it answered.
    std::optional<CommandReply> sendCommand(const std::vector<std::string>& arguments) const;
    // True when an instance answers on the folder's socket.
    bool reachable() const;

signals:
    // The tokens are empty where the second start had none.
    void restoreRequested(const QString& activationToken, const QString& startupId);

private:
    void serve();
    void acceptClients();
    static void answer(int fd, const std::string& reply);
    // A socket connected to the running instance, or -1.
    int connectToInstance() const;

    QString folder_;
    FileLock lock_;
    std::function<CommandReply(const std::vector<std::string>&)> commandHandler_;
    int listener_ = -1;
    std::uint64_t socketDevice_ = 0, socketInode_ = 0; // to remove only our own socket file at the end
};

} // namespace velloran
