#include "x11_selections.h"

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

SelectionOwners x11SelectionOwners(const char* prefix) {
    SelectionOwners result;
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    const auto* x11 =
        qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
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
        if (reply != nullptr && reply->owner != XCB_NONE)
            ++result.owned;
        std::free(reply);
    }
#else
    (void)prefix;
#endif
    return result;
}

} // namespace velloran
