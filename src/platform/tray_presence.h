// Whether the desktop has a tray right now: an X11 tray (the owner of the _NET_SYSTEM_TRAY_S<n>
// selection) or a StatusNotifier host (org.kde.StatusNotifierWatcher on the session bus). Asked without
// Qt's tray classes: Qt decides between the two kinds at its first tray question on X11 and keeps that
// answer, so a watcher that comes later would never be used.
#pragma once

#include <QObject>
#include <memory>

namespace velloran {

class X11SelectionWatch;

bool x11TrayPresent();
bool statusNotifierHostPresent();
// On X11 either kind; elsewhere only a StatusNotifier host.
bool trayPresent();

// Says when a tray may have come or gone, from what the desktop announces: an X11 tray's MANAGER
// message and its window's end, the StatusNotifier watcher's name on the session bus and its
// StatusNotifierHostRegistered signal. It never looks by itself, so an idle program stays asleep.
class TrayPresenceEvents : public QObject {
    Q_OBJECT
public:
    explicit TrayPresenceEvents(QObject* parent = nullptr);
    ~TrayPresenceEvents() override;

signals:
    void changed();

private slots:
    void hostsChanged();

private:
    std::unique_ptr<X11SelectionWatch> x11Trays_;
};

} // namespace velloran
