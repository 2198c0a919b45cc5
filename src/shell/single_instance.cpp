#include "single_instance.h"

#include "files/private_folder.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <cstdio>
#include <unistd.h>

namespace velloran {
namespace {

constexpr qint64 kLongestMessage = 4096;

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

bool SingleInstance::claim() {
    // The folder is the user's alone, so no one else can take the lock or answer on the socket.
    if (!privateFolder(folder_)) {
        // Better a second copy than none at all.
        std::fprintf(stderr, "velloran: %s is not a private folder; the one-instance check is off\n",
                     qPrintable(folder_));
        return true;
    }
    lock_ = std::make_unique<QLockFile>(folder_ + "/velloran.lock");
    lock_->setStaleLockTime(0); // a lock whose process is gone is stale at once
    if (!lock_->tryLock(0)) {
        const bool held = lock_->error() == QLockFile::LockFailedError;
        lock_.reset();
        if (held)
            return false;
        std::fprintf(stderr, "velloran: cannot make a lock in %s; the one-instance check is off\n",
                     qPrintable(folder_));
        return true;
    }
    serve();
    return true;
}

void SingleInstance::serve() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString socketPath = folder_ + "/velloran.socket";
    QLocalServer::removeServer(socketPath);
    server_->listen(socketPath);
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            // A request counts once: when its last line arrives, or with what came before a hang-up.
            auto handled = std::make_shared<bool>(false);
            const auto handle = [this, client, handled] {
                if (*handled)
                    return;
                *handled = true;
                const QByteArray received = client->property("received").toByteArray();
                if (const auto request = decodeRestoreRequest(received.toStdString()))
                    emit restoreRequested(QString::fromStdString(request->activationToken),
                                          QString::fromStdString(request->startupId));
                client->disconnectFromServer();
            };
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::disconnected, this, handle);
            connect(client, &QLocalSocket::readyRead, this, [client, handle] {
                QByteArray received = client->property("received").toByteArray() + client->readAll();
                received.truncate(kLongestMessage);
                client->setProperty("received", received);
                if (isWholeRestoreRequest(received.toStdString()) || received.size() >= kLongestMessage)
                    handle();
            });
        }
    });
}

bool SingleInstance::askRunningInstanceToRestore(const RestoreRequest& request) const {
    QLocalSocket socket;
    socket.connectToServer(folder_ + "/velloran.socket");
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(QByteArray::fromStdString(encodeRestoreRequest(request)));
    socket.flush();
    socket.waitForBytesWritten(2000);
    socket.waitForDisconnected(2000);
    return true;
}

} // namespace velloran
