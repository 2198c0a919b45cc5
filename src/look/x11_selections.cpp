#include "x11_selections.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <cstdint>
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace velloran {
namespace {

#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
xcb_connection_t* x11Connection() {
    const auto* x11 =
        qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}
#endif

} // namespace

SelectionOwners x11SelectionOwners(const char* prefix) {
    SelectionOwners result;
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return result;
    // All requests go out before the first reply is read: two round trips whatever the screen count.
    result.screens = xcb_setup_roots_length(xcb_get_setup(connection));
    std::vector<xcb_intern_atom_cookie_t> atomCookies;
    for (int screen = 0; screen < result.screens; ++screen) {
        const std::string name = prefix + std::to_string(screen);
        // A selection nobody ever named has no owner, so the atom is not made here.
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
    for (const xcb_get_selection_owner_cookie_t cookie : ownerCookies) {
        xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(connection, cookie, nullptr);
        if (reply != nullptr && reply->owner != XCB_NONE) {
            ++result.owned;
            result.ownerWindows.push_back(reply->owner);
        }
        std::free(reply);
    }
#else
    (void)prefix;
#endif
    return result;
}

X11SelectionWatch::X11SelectionWatch(const char* prefix, std::function<void()> changed)
    : prefix_(prefix), changed_(std::move(changed)) {
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return;
    // Qt already listens to the root window's structure events, where MANAGER messages are sent.
    static const char kManager[] = "MANAGER";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kManager - 1, kManager), nullptr);
    if (reply != nullptr)
        managerAtom_ = reply->atom;
    std::free(reply);
    QCoreApplication::instance()->installNativeEventFilter(this);
    installed_ = true;
    watchOwners();
#endif
}

X11SelectionWatch::~X11SelectionWatch() {
    if (installed_ && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

SelectionOwners X11SelectionWatch::watchOwners() {
    SelectionOwners owners = x11SelectionOwners(prefix_.constData());
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return owners;
    for (const std::uint32_t window : owners.ownerWindows) {
        if (std::find(watched_.begin(), watched_.end(), window) != watched_.end())
            continue;
        // Only this program's interest in that window changes; its owner's stays as it was.
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_generic_error_t* error = xcb_request_check(
            connection, xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &mask));
        // A window that ended meanwhile is no owner any more.
        if (error == nullptr)
            watched_.push_back(window);
        std::free(error);
    }
#endif
    return owners;
}

bool X11SelectionWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) {
    (void)result;
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    bool changed = false;
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto* clientMessage = static_cast<const xcb_client_message_event_t*>(message);
        changed = managerAtom_ != XCB_ATOM_NONE && clientMessage->type == managerAtom_;
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const xcb_window_t window = static_cast<const xcb_destroy_notify_event_t*>(message)->window;
        const auto found = std::find(watched_.begin(), watched_.end(), window);
        if (found != watched_.end()) {
            watched_.erase(found);
            changed = true;
        }
        break;
    }
    default:
        break;
    }
    if (changed) {
        watchOwners();
        changed_();
    }
#else
    (void)eventType;
    (void)message;
#endif
    // Qt's own tray and window handling see the same events.
    return false;
}

} // namespace velloran
