// One running Velloran per user: a lock and a local socket in the user's runtime folder. A second start
// asks the first, through the socket, to bring its window back.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

namespace velloran {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // folder: where the lock and socket live; empty means $XDG_RUNTIME_DIR, or a private folder in /tmp.
    explicit SingleInstance(QString folder = {}, QObject* parent = nullptr);

    // True when this process is now the one instance; false when another holds the lock. A lock left
    // by a killed instance is taken over.
    bool claim();
    // From a second start: asks the running instance to restore its window. False when it cannot be
    // reached.
    bool askRunningInstanceToRestore() const;

signals:
    void restoreRequested();

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace velloran
