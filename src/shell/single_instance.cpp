#include "single_instance.h"

#include "command_request.h"
#include "files/private_folder.h"
#include "platform/logging.h"

#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace velloran {
namespace {

// A command request carries up to three texts of a task.
constexpr qsizetype kLongestMessage = 16384;
// How long a client may take to send its request before it is let go.
constexpr int kClientSeconds = 5;

QByteArray socketPathOf(const QString& folder) {
    return QFile::encodeName(folder + "/velloran.socket");
}

// False when the path does not fit sun_path (with its closing zero).
bool fillAddress(const QByteArray& path, sockaddr_un& address) {
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    return true;
}

// One connected second start: what it sent so far, until its request is whole or it is let go.
class Client : public QObject {
public:
    Client(int socket, QObject* parent)
        : QObject(parent), fd(socket), notifier(socket, QSocketNotifier::Read, this) {}
    ~Client() override {
        if (!done)
            ::close(fd);
    }
    void finish() {
        if (done)
            return;
        done = true;
        notifier.setEnabled(false);
        deadline.stop();
        ::close(fd);
        deleteLater();
    }

    int fd;
    QSocketNotifier notifier;
    QTimer deadline;
    QByteArray received;
    bool done = false;
};

bool privateFolder(const QString& path) {
    return makePrivateFolder(QFile::encodeName(path).toStdString());
}

QString defaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists() && privateFolder(runtime + "/velloran"))
        return runtime + "/velloran";
    // Any local user can make this name first; such a folder or link is left alone.
    const QString shared = QDir::tempPath() + QString("/velloran-%1").arg(::geteuid());
    if (privateFolder(shared))
        return shared;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(cache);
    return cache + "/velloran";
}

} // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), folder_(folder.isEmpty() ? defaultFolder() : std::move(folder)) {}

bool SingleInstance::claim(std::chrono::milliseconds waitWhileClosing, const LockPause& pause) {
    // The folder is the user's alone, so no one else can take the lock or answer on the socket.
    if (!privateFolder(folder_)) {
        // Better a second copy than none at all.
        qCWarning(logInstance, "%s is not a private folder; the one-instance check is off",
                  qPrintable(folder_));
        return true;
    }
    lock_.setInstanceFolder(QFile::encodeName(folder_).toStdString());
    const Result<FileLock::State> locked =
        lockOnceClosed(lock_, QFile::encodeName(folder_ + "/velloran.lock").toStdString(),
                       FileLock::Sharing::Private, waitWhileClosing, pause);
    if (!locked) {
        qCWarning(logInstance, "%s; the one-instance check is off", locked.error().english().c_str());
        return true;
    }
    if (*locked == FileLock::State::Busy)
        return false;
    serve();
    return true;
}

void SingleInstance::setClosing(bool closing) {
    lock_.setClosing(closing);
}

SingleInstance::~SingleInstance() {
    if (listener_ < 0)
        return;
    ::close(listener_);
    // Removed only while it is still the file this instance bound.
    const QByteArray path = socketPathOf(folder_);
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_dev == socketDevice_ &&
        info.st_ino == socketInode_)
        ::unlink(path.constData());
}

void SingleInstance::serve() {
    const QByteArray path = socketPathOf(folder_);
    sockaddr_un address{};
    if (!fillAddress(path, address)) {
        qCWarning(logInstance, "the socket path in %s is too long; a second start cannot reach this one",
                  qPrintable(folder_));
        return;
    }
    // A socket left by a killed instance; anything else under that name (a link above all) stays.
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode))
        ::unlink(path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        qCWarning(logInstance, "cannot listen on %s: %s", path.constData(), std::strerror(errno));
        ::close(fd);
        return;
    }
    ::chmod(path.constData(), 0600);
    if (::lstat(path.constData(), &info) == 0) {
        socketDevice_ = info.st_dev;
        socketInode_ = info.st_ino;
    }
    listener_ = fd;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] { acceptClients(); });
}

void SingleInstance::acceptClients() {
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN: all taken; anything else: try again on the next wake-up
        }
        auto* client = new Client(fd, this);
        // A request counts once: when its last line arrives, or with what came before a hang-up.
        const auto handle = [this, client](bool counts) {
            if (client->done)
                return;
            const QByteArray received = client->received;
            if (counts && commandHandler_) {
                if (const auto arguments = decodeCommandRequest(received.toStdString())) {
                    answer(client->fd, encodeCommandReply(commandHandler_(*arguments)));
                    client->finish();
                    return;
                }
            }
            client->finish();
            qCDebug(logInstance, "a second start %s",
                    counts ? "asks for the window" : "sent no whole request");
            if (!counts)
                return;
            if (const auto request = decodeRestoreRequest(received.toStdString()))
                emit restoreRequested(QString::fromStdString(request->activationToken),
                                      QString::fromStdString(request->startupId));
        };
        connect(&client->notifier, &QSocketNotifier::activated, this, [client, handle] {
            if (client->done)
                return;
            char buffer[1024];
            for (;;) {
                const ssize_t got = ::recv(client->fd, buffer, sizeof buffer, 0);
                if (got > 0) {
                    client->received.append(buffer, got);
                    client->received.truncate(kLongestMessage);
                    if (isWholeRestoreRequest(client->received.toStdString()) ||
                        client->received.size() >= kLongestMessage)
                        return handle(true);
                    continue;
                }
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                    return;          // more later
                return handle(true); // hung up (or broke): what came so far counts
            }
        });
        // A client that never finishes its request is let go, so it holds nothing for long.
        client->deadline.setSingleShot(true);
        connect(&client->deadline, &QTimer::timeout, this, [handle] { handle(false); });
        client->deadline.start(kClientSeconds * 1000);
    }
}

namespace {

// Sends all of message, waiting at most 2 s for each part; false when the other end went away.
bool sendAll(int fd, std::string_view message) {
    const timeval limit{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    std::size_t sent = 0;
    while (sent < message.size()) {
        const ssize_t wrote = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (wrote > 0)
            sent += std::size_t(wrote);
        else if (wrote < 0 && errno == EINTR)
            continue;
        else
            return false;
    }
    return true;
}

} // namespace

void SingleInstance::answer(int fd, const std::string& reply) {
    // The client's socket waits for new requests without blocking; the answer is sent whole.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!sendAll(fd, reply))
        qCWarning(logInstance, "a command's answer could not be sent: %s", std::strerror(errno));
}

std::optional<CommandReply> SingleInstance::sendCommand(const std::vector<std::string>& arguments) const {
    const int fd = connectToInstance();
    if (fd < 0)
        return std::nullopt;
    std::string received;
    if (sendAll(fd, encodeCommandRequest(arguments))) {
        // The instance may be busy for a moment (a save): the answer is waited for longer than a restore.
        const timeval limit{20, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got > 0)
                received.append(buffer, std::size_t(got));
            else if (got < 0 && errno == EINTR)
                continue;
            else
                break;
        }
    }
    ::close(fd);
    return decodeCommandReply(received);
}

int SingleInstance::connectToInstance() const {
    const QByteArray path = socketPathOf(folder_);
    sockaddr_un address{};
    if (!fillAddress(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // Each step waits at most 2 s: a running instance that is stuck must not hold this start for long.
    const timeval limit{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    int connected;
    do
        connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (connected != 0 && errno == EINTR);
    if (connected != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SingleInstance::reachable() const {
    // The instance takes a connection that sends nothing and hangs up for no request.
    const int fd = connectToInstance();
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool SingleInstance::askRunningInstanceToRestore(const RestoreRequest& request) const {
    const int fd = connectToInstance();
    if (fd < 0)
        return false;
    // An instance that went away meanwhile is found out by the wait below as well.
    sendAll(fd, encodeRestoreRequest(request));
    // The instance closes its end once it has the request.
    char buffer[64];
    for (;;) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got > 0 || (got < 0 && errno == EINTR))
            continue;
        break;
    }
    ::close(fd);
    return true;
}

} // namespace velloran
