// Who holds the X11 selections that desktop services announce themselves by, one per screen
// (a compositing manager's _NET_WM_CM_S<n>, a tray's _NET_SYSTEM_TRAY_S<n>).
#pragma once

namespace velloran {

struct SelectionOwners {
    int screens = 0; // 0 when the program is not on X11
    int owned = 0;   // screens whose selection has an owner
};

// For the selection named prefix + the screen number, on every screen of the display.
SelectionOwners x11SelectionOwners(const char* prefix);

} // namespace velloran
