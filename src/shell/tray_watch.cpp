#include "tray_watch.h"

#include "platform/tray_presence.h"

namespace velloran {

TrayWatch::TrayWatch(QObject* parent, std::function<bool()> probe)
    : QObject(parent), probe_(probe ? std::move(probe) : std::function<bool()>(trayPresent)) {
    present_ = probe_();
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &TrayWatch::check);
    timer_.start();
}

void TrayWatch::check() {
    const bool now = probe_();
    if (now == present_)
        return;
    present_ = now;
    emit presenceChanged(now);
}

} // namespace velloran
