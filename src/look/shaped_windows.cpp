#include "shaped_windows.h"

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
namespace {

std::optional<bool>& forcedAnswer() {
    static std::optional<bool> answer;
    return answer;
}

} // namespace

bool shapedWindowsUseAlpha() {
    if (forcedAnswer().has_value())
        return *forcedAnswer();
    const QString platform = QGuiApplication::platformName();
    return shapedWindowsUseAlpha(platform, platform == QLatin1String("xcb") && x11CompositingManagerRuns());
}

bool shapedWindowsUseAlpha(QStringView platformName, bool x11CompositingManagerRuns) {
    // Qt names its Wayland platforms "wayland", "wayland-egl", "wayland-brcm" and so on.
    if (platformName.startsWith(QLatin1String("wayland")))
        return true;
    return platformName == QLatin1String("xcb") && x11CompositingManagerRuns;
}

bool x11CompositingManagerRuns() {
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    const auto* x11 =
        qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return false;
    // A display of several screens counts only when every one composites: a window on a screen
    // without a compositing manager would show black where it is clear, while a mask works anywhere.
    // All requests go out before the first reply is read: two round trips whatever the screen count.
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    std::vector<xcb_intern_atom_cookie_t> atomCookies;
    for (int screen = 0; screen < screens; ++screen) {
        const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
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
    int owned = 0;
    for (const xcb_get_selection_owner_cookie_t cookie : ownerCookies) {
        xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(connection, cookie, nullptr);
        if (reply != nullptr && reply->owner != XCB_NONE)
            ++owned;
        std::free(reply);
    }
    return screens > 0 && owned == screens;
#else
    return false;
#endif
}

void setShapedWindowsUseAlphaForTesting(std::optional<bool> useAlpha) {
    forcedAnswer() = useAlpha;
}

} // namespace velloran
