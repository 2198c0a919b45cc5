#include "x11_activation.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace velloran {

bool activateX11Window(QWidget* window, std::uint32_t userActionTime) {
#if defined(VELLORAN_HAVE_XCB) && QT_CONFIG(xcb)
    const auto* x11 =
        qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr || window == nullptr)
        return false;
    constexpr char kActiveWindow[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kActiveWindow - 1, kActiveWindow), nullptr);
    if (atom == nullptr)
        return false;
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = atom->atom;
    message.data.data32[0] = 1; // from an application
    message.data.data32[1] = userActionTime;
    std::free(atom);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
#else
    (void)window;
    (void)userActionTime;
    return false;
#endif
}

} // namespace velloran
