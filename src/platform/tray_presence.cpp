#include "tray_presence.h"

#include "logging.h"

#include "look/x11_selections.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <string>
#include <vector>

namespace velloran {
namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

} // namespace

bool x11TrayPresent() {
    // A tray on any screen will do.
    return x11SelectionOwners("_NET_SYSTEM_TRAY_S").owned > 0;
}

bool statusNotifierHostPresent() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcher))
        return false;
    // A watcher with no panel behind it shows nothing; Qt asks the same.
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 1000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool trayPresent() {
    if (QGuiApplication::platformName() == QLatin1String("xcb") && x11TrayPresent()) {
        qCDebug(logWindow, "tray: an X11 system tray is there");
        return true;
    }
    const bool host = statusNotifierHostPresent();
    qCDebug(logWindow, "tray: %s", host ? "a status notifier host is there" : "no tray");
    return host;
}

TrayPresenceEvents::TrayPresenceEvents(QObject* parent) : QObject(parent) {
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        x11Trays_ = std::make_unique<X11SelectionWatch>("_NET_SYSTEM_TRAY_S", [this] { emit changed(); });
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // A panel that starts or ends takes the watcher's name with it; a host that comes to a watcher
    // already there says so by a signal.
    auto* watcher = new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayPresenceEvents::hostsChanged);
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(QString(), kWatcherPath, kWatcher, QLatin1String(signal), this, SLOT(hostsChanged()));
}

TrayPresenceEvents::~TrayPresenceEvents() = default;

void TrayPresenceEvents::hostsChanged() {
    emit changed();
}

} // namespace velloran
