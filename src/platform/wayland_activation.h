// Asks the Wayland compositor for an activation token on behalf of the user's last action (a click or a
// key) on one of this program's windows. Another program's window may take the focus with it: a second
// start hands it to the running one, whose window then comes to the front as if the user had asked it.
#pragma once

#include <QString>

class QWidget;

namespace velloran {

// The token, or empty where the platform is not Wayland, the compositor has no xdg_activation_v1, or it
// gave no token within a second. The window must still be shown and hold the keyboard focus.
QString waylandActivationToken(QWidget* window);

// Asks the compositor to activate the shown window with a token that another program handed over (a
// notice's action, a second start). The environment is left alone: the sound thread reads it.
void activateWaylandWindow(QWidget* window, const QString& activationToken);

} // namespace velloran
