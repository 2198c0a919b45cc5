#include "tray_watch.h"

#include "platform/tray_presence.h"

namespace velloran {

TrayWatch::TrayWatch(QObject* parent, std::function<bool()> probe) : QObject(parent), asksDesktop_(!probe) {
    probe_ = probe ? std::move(probe) : std::function<bool()>(trayPresent);
    auto* events = new TrayPresenceEvents(this);
    connect(events, &TrayPresenceEvents::changed, this, &TrayWatch::check);
    present_ = probe_();
}

void TrayWatch::followKind(bool statusNotifier) {
    if (!asksDesktop_)
        return;
    probe_ = statusNotifier ? statusNotifierHostPresent : x11TrayPresent;
    check();
}

void TrayWatch::check() {
    const bool now = probe_();
    if (now == present_)
        return;
    present_ = now;
    emit presenceChanged(now);
}

} // namespace velloran
