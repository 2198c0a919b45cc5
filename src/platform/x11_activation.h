// Asks an X11 window manager to activate a window on behalf of a user action at the given server time
// (the time a launcher put into the startup id of a second start). A window manager that prevents
// focus stealing weighs that time against the user's last action elsewhere.
#pragma once

#include <cstdint>

class QWidget;

namespace velloran {

// False where the platform is not X11.
bool activateX11Window(QWidget* window, std::uint32_t userActionTime);

} // namespace velloran
