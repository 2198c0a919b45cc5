#include "tray_presence.h"

#include "look/x11_selections.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <string>
#include <vector>

namespace velloran {

bool x11TrayPresent() {
    // A tray on any screen will do.
    return x11SelectionOwners("_NET_SYSTEM_TRAY_S").owned > 0;
}

bool statusNotifierHostPresent() {
    static const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcher))
        return false;
    // A watcher with no panel behind it shows nothing; Qt asks the same.
    QDBusMessage get = QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 1000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool trayPresent() {
    if (QGuiApplication::platformName() == QLatin1String("xcb") && x11TrayPresent())
        return true;
    return statusNotifierHostPresent();
}

} // namespace velloran
