// A panel's status notifier watcher and host on a private session bus, so that Qt shows the program's
// tray icon through D-Bus, as it does on most desktops, instead of an XEmbed tray window. The cases then
// reach the icon as such a panel does: a D-Bus call, which no modal window of the program blocks.
//   sni_watcher ITEMS_FILE   serves until ended; appends each registered item's service to ITEMS_FILE
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <cstdio>

namespace {

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";

class Watcher final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    Watcher(QObject* parent, QString itemsFile)
        : QDBusAbstractAdaptor(parent), itemsFile_(std::move(itemsFile)) {}

    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return items_; }

public slots:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        // An item may name only its object path; its service is then the caller.
        const QString item = service.startsWith('/') ? message.service() + service : service;
        items_.append(item);
        QFile file(itemsFile_);
        if (file.open(QIODevice::Append | QIODevice::Text))
            file.write((item + '\n').toUtf8());
        emit StatusNotifierItemRegistered(item);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QString itemsFile_;
    QStringList items_;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sni_watcher ITEMS_FILE\n");
        return 2;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    QObject root;
    new Watcher(&root, QString::fromLocal8Bit(argv[1]));
    if (!bus.registerObject("/StatusNotifierWatcher", &root) || !bus.registerService(kWatcherService)) {
        std::fprintf(stderr, "sni_watcher: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    return QCoreApplication::exec();
}

#include "sni_watcher.moc"
