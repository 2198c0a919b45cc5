#include "wayland_activation.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#ifdef VELLORAN_HAVE_WAYLAND
#include "xdg-activation-v1-client-protocol.h"

#include <QDeadlineTimer>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>
#endif

namespace velloran {

#ifdef VELLORAN_HAVE_WAYLAND
namespace {

constexpr int kWaitMilliseconds = 1000;

// The compositor's objects that this request makes, on an event queue of its own so that Qt's
// dispatching of its own events never sees them, and all released when it ends.
class TokenRequest {
public:
    explicit TokenRequest(wl_display* display)
        : display_(display), queue_(wl_display_create_queue(display)),
          wrapper_(static_cast<wl_display*>(wl_proxy_create_wrapper(display))) {
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper_), queue_);
        registry_ = wl_display_get_registry(wrapper_);
        wl_registry_add_listener(registry_, &kRegistryListener, this);
    }
    ~TokenRequest() {
        if (token_ != nullptr)
            xdg_activation_token_v1_destroy(token_);
        if (activation_ != nullptr)
            xdg_activation_v1_destroy(activation_);
        wl_registry_destroy(registry_);
        wl_proxy_wrapper_destroy(wrapper_);
        wl_event_queue_destroy(queue_);
    }
    TokenRequest(const TokenRequest&) = delete;
    TokenRequest& operator=(const TokenRequest&) = delete;

    // Hands a token to the compositor for a surface, which it then activates if the token counts.
    void activate(const QByteArray& token, wl_surface* surface) {
        if (wl_display_roundtrip_queue(display_, queue_) < 0 || activation_ == nullptr)
            return;
        xdg_activation_v1_activate(activation_, token.constData(), surface);
        wl_display_roundtrip_queue(display_, queue_);
    }

    QString ask(wl_surface* surface, wl_seat* seat, std::uint32_t serial) {
        // The globals arrive in answer to the registry request.
        if (wl_display_roundtrip_queue(display_, queue_) < 0 || activation_ == nullptr)
            return {};
        token_ = xdg_activation_v1_get_activation_token(activation_);
        xdg_activation_token_v1_add_listener(token_, &kTokenListener, this);
        // The serial and the surface tell the compositor that the user acted on this program just now;
        // a compositor that prevents focus stealing gives a token that counts only then.
        if (seat != nullptr && serial != 0)
            xdg_activation_token_v1_set_serial(token_, serial, seat);
        if (surface != nullptr)
            xdg_activation_token_v1_set_surface(token_, surface);
        xdg_activation_token_v1_set_app_id(token_, "velloran");
        xdg_activation_token_v1_commit(token_);
        const QDeadlineTimer deadline(kWaitMilliseconds);
        while (!done_ && !deadline.hasExpired())
            if (wl_display_roundtrip_queue(display_, queue_) < 0)
                return {};
        return token_text_;
    }

private:
    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t) {
        auto* self = static_cast<TokenRequest*>(data);
        if (self->activation_ == nullptr && std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
            self->activation_ = static_cast<xdg_activation_v1*>(
                wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    }
    static void globalRemoved(void*, wl_registry*, std::uint32_t) {}
    static void tokenDone(void* data, xdg_activation_token_v1*, const char* token) {
        auto* self = static_cast<TokenRequest*>(data);
        self->done_ = true;
        self->token_text_ = QString::fromUtf8(token);
    }

    static constexpr wl_registry_listener kRegistryListener{global, globalRemoved};
    static constexpr xdg_activation_token_v1_listener kTokenListener{tokenDone};

    wl_display* display_;
    wl_event_queue* queue_;
    wl_display* wrapper_;
    wl_registry* registry_ = nullptr;
    xdg_activation_v1* activation_ = nullptr;
    xdg_activation_token_v1* token_ = nullptr;
    bool done_ = false;
    QString token_text_;
};

} // namespace
#endif

QString waylandActivationToken(QWidget* window) {
#ifdef VELLORAN_HAVE_WAYLAND
    if (window == nullptr || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return {};
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    QWindow* handle = window->window()->windowHandle();
    if (native == nullptr || handle == nullptr)
        return {};
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    if (display == nullptr)
        return {};
    // Qt's platform plugin keeps the serial of the last press or key of its default seat.
    auto* seat = static_cast<wl_seat*>(native->nativeResourceForIntegration("wl_seat"));
    const auto serial = static_cast<std::uint32_t>(
        reinterpret_cast<quintptr>(native->nativeResourceForIntegration("serial")));
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", handle));
    return TokenRequest(display).ask(surface, seat, serial);
#else
    (void)window;
    return {};
#endif
}

void activateWaylandWindow(QWidget* window, const QString& activationToken) {
#ifdef VELLORAN_HAVE_WAYLAND
    if (window == nullptr || activationToken.isEmpty() ||
        !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    QWindow* handle = window->window()->windowHandle();
    if (native == nullptr || handle == nullptr)
        return;
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", handle));
    if (display != nullptr && surface != nullptr)
        TokenRequest(display).activate(activationToken.toUtf8(), surface);
#else
    (void)window;
    (void)activationToken;
#endif
}

} // namespace velloran
