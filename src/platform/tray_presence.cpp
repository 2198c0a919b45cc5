#include "tray_presence.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <string>
#include <vector>

#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <cstdint>
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace velloran {

bool x11TrayPresent() {
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    const auto* x11 =
        qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return false;
    // A tray on any screen will do; all requests go out before the first reply is read.
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    std::vector<xcb_intern_atom_cookie_t> atomCookies;
    for (int screen = 0; screen < screens; ++screen) {
        const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
        atomCookies.push_back(
            xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.c_str()));
    }
    std::vector<xcb_get_selection_owner_cookie_t> ownerCookies;
    for (const xcb_intern_atom_cookie_t cookie : atomCookies) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        if (reply != nullptr && reply->atom != XCB_ATOM_NONE)
            ownerCookies.push_back(xcb_get_selection_owner(connection, reply->atom));
        std::free(reply);
    }
    bool owned = false;
    for (const xcb_get_selection_owner_cookie_t cookie : ownerCookies) {
        xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(connection, cookie, nullptr);
        owned = owned || (reply != nullptr && reply->owner != XCB_NONE);
        std::free(reply);
    }
    return owned;
#else
    return false;
#endif
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
