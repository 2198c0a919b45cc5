#include "single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

constexpr char kRestoreRequest[] = "restore\n";

QString defaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + "/velloran";
    return QDir::tempPath() + QString("/velloran-%1").arg(::getuid());
}

} // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), folder_(folder.isEmpty() ? defaultFolder() : std::move(folder)) {}

bool SingleInstance::claim() {
    // The folder is the user's alone, so no one else can take the lock or answer on the socket.
    QDir().mkpath(folder_);
    ::chmod(QFile::encodeName(folder_).constData(), 0700);
    lock_ = std::make_unique<QLockFile>(folder_ + "/velloran.lock");
    lock_->setStaleLockTime(0); // a lock whose process is gone is stale at once
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString socketPath = folder_ + "/velloran.socket";
    QLocalServer::removeServer(socketPath);
    server_->listen(socketPath);
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().startsWith("restore"))
                    emit restoreRequested();
                client->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::askRunningInstanceToRestore() const {
    QLocalSocket socket;
    socket.connectToServer(folder_ + "/velloran.socket");
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(kRestoreRequest);
    socket.flush();
    socket.waitForBytesWritten(2000);
    socket.waitForDisconnected(2000);
    return true;
}

} // namespace velloran
