// Who holds the X11 selections that desktop services announce themselves by, one per screen
// (a compositing manager's _NET_WM_CM_S<n>, a tray's _NET_SYSTEM_TRAY_S<n>), and when that changes.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <cstdint>
#include <functional>
#include <vector>

namespace velloran {

struct SelectionOwners {
    int screens = 0;                         // 0 when the program is not on X11
    int owned = 0;                           // screens whose selection has an owner
    std::vector<std::uint32_t> ownerWindows; // the owners' windows
};

// For the selection named prefix + the screen number, on every screen of the display.
SelectionOwners x11SelectionOwners(const char* prefix);

// Calls back when a selection of the prefix may have changed hands: a new owner announces itself with a
// MANAGER client message on the root window, and an owner that ends takes its window with it. Nothing
// is polled; off X11 it never calls.
class X11SelectionWatch final : public QAbstractNativeEventFilter {
public:
    X11SelectionWatch(const char* prefix, std::function<void()> changed);
    ~X11SelectionWatch() override;
    X11SelectionWatch(const X11SelectionWatch&) = delete;
    X11SelectionWatch& operator=(const X11SelectionWatch&) = delete;

    // Asks for the current owners and watches their windows for their end; returns what it found.
    SelectionOwners watchOwners();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QByteArray prefix_;
    std::function<void()> changed_;
    std::uint32_t managerAtom_ = 0;
    std::vector<std::uint32_t> watched_;
    bool installed_ = false;
};

} // namespace velloran
