// Whether the desktop has a tray right now: an X11 tray (the owner of the _NET_SYSTEM_TRAY_S<n>
// selection) or a StatusNotifier host (org.kde.StatusNotifierWatcher on the session bus). Asked without
// Qt's tray classes: Qt decides between the two kinds at its first tray question on X11 and keeps that
// answer, so a watcher that comes later would never be used.
#pragma once

namespace velloran {

bool x11TrayPresent();
bool statusNotifierHostPresent();
// On X11 either kind; elsewhere only a StatusNotifier host.
bool trayPresent();

} // namespace velloran
