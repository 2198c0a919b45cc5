// A panel's status notifier watcher and host on a private session bus, so that Qt shows the program's
// tray icon through D-Bus, as it does on most desktops, instead of an XEmbed tray window. The cases then
// reach the icon as such a panel does: a D-Bus call, which no modal window of the program blocks.
//   sni_watcher ITEMS_FILE          serves until ended; appends each registered item's service to ITEMS_FILE
//   sni_watcher --menu ITEM         reads the item's menu over DBusMenu as a panel does before showing it,
//                                   and prints its entries in order, one a line: the label, "-" for a line
//   sni_watcher --click ITEM LABEL  sends the panel's "clicked" for the entry with that label
// ITEM is a line of ITEMS_FILE: the item's bus name and object path.
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
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

constexpr const char* kMenuInterface = "com.canonical.dbusmenu";

struct MenuEntry {
    int id = 0;
    QString label; // "-" for a separator
};

// One level of a GetLayout answer: (id, properties, children as variants of the same).
void readEntries(const QDBusArgument& layout, QList<MenuEntry>& entries, bool top) {
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    if (!top) {
        const bool line = properties.value("type").toString() == "separator";
        // Hidden entries are not shown by a panel.
        if (properties.value("visible", true).toBool())
            entries.append({id, line ? QStringLiteral("-") : properties.value("label").toString()});
    }
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        if (top)
            readEntries(child.variant().value<QDBusArgument>(), entries, false);
    }
    layout.endArray();
    layout.endStructure();
}

// The item's menu as a panel reads it: the Menu property, AboutToShow, then the layout.
bool readMenu(const QString& item, QString& service, QString& menuPath, QList<MenuEntry>& entries) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const qsizetype slash = item.indexOf('/');
    service = item.left(slash);
    const QString itemPath = slash < 0 ? QStringLiteral("/StatusNotifierItem") : item.mid(slash);
    QDBusMessage get =
        QDBusMessage::createMethodCall(service, itemPath, "org.freedesktop.DBus.Properties", "Get");
    get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("Menu");
    const QDBusMessage menu = bus.call(get, QDBus::Block, 5000);
    if (menu.type() != QDBusMessage::ReplyMessage || menu.arguments().isEmpty()) {
        std::fprintf(stderr, "sni_watcher: no Menu property: %s\n", qPrintable(menu.errorMessage()));
        return false;
    }
    menuPath = menu.arguments().constFirst().value<QDBusVariant>().variant().value<QDBusObjectPath>().path();
    if (menuPath.isEmpty() || menuPath == "/NO_DBUSMENU") {
        std::fprintf(stderr, "sni_watcher: the item exports no menu (%s)\n", qPrintable(menuPath));
        return false;
    }
    QDBusMessage aboutToShow =
        QDBusMessage::createMethodCall(service, menuPath, kMenuInterface, "AboutToShow");
    aboutToShow << 0;
    bus.call(aboutToShow, QDBus::Block, 5000);
    QDBusMessage getLayout = QDBusMessage::createMethodCall(service, menuPath, kMenuInterface, "GetLayout");
    getLayout << 0 << -1 << QStringList{};
    const QDBusMessage layout = bus.call(getLayout, QDBus::Block, 5000);
    if (layout.type() != QDBusMessage::ReplyMessage || layout.arguments().size() < 2) {
        std::fprintf(stderr, "sni_watcher: GetLayout failed: %s\n", qPrintable(layout.errorMessage()));
        return false;
    }
    readEntries(layout.arguments().at(1).value<QDBusArgument>(), entries, true);
    return true;
}

int printMenu(const QString& item) {
    QString service;
    QString path;
    QList<MenuEntry> entries;
    if (!readMenu(item, service, path, entries))
        return 1;
    for (const MenuEntry& entry : entries)
        std::printf("%s\n", qPrintable(entry.label));
    return 0;
}

int clickEntry(const QString& item, const QString& label) {
    QString service;
    QString path;
    QList<MenuEntry> entries;
    if (!readMenu(item, service, path, entries))
        return 1;
    for (const MenuEntry& entry : entries) {
        if (entry.label != label)
            continue;
        QDBusMessage event = QDBusMessage::createMethodCall(service, path, kMenuInterface, "Event");
        event << entry.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0))
              << static_cast<uint>(QDateTime::currentSecsSinceEpoch());
        const QDBusMessage reply = QDBusConnection::sessionBus().call(event, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            std::fprintf(stderr, "sni_watcher: Event failed: %s\n", qPrintable(reply.errorMessage()));
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "sni_watcher: no entry \"%s\"\n", qPrintable(label));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--menu")
        return printMenu(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && QByteArray(argv[1]) == "--click")
        return clickEntry(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc != 2) {
        std::fprintf(stderr, "usage: sni_watcher ITEMS_FILE | --menu ITEM | --click ITEM LABEL\n");
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
