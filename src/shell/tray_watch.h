// Follows whether the desktop has a tray, and says when that changes: at logon the panel often starts
// after the program, and a panel may restart while the program runs. It asks only when the desktop
// announces a change, never on a timer.
#pragma once

#include <QObject>
#include <functional>

namespace velloran {

class TrayWatch : public QObject {
    Q_OBJECT
public:
    // probe answers whether a tray is there now; by default the desktop is asked.
    explicit TrayWatch(QObject* parent = nullptr, std::function<bool()> probe = {});

    bool present() const { return present_; }
    // Asks at once, as an announcement from the desktop does.
    void check();
    // From now on only trays of the kind of the icon that Qt made count: it can dock nowhere else. An
    // X11 tray beside a StatusNotifier host that went away would otherwise swallow the window.
    void followKind(bool statusNotifier);

signals:
    void presenceChanged(bool present);

private:
    std::function<bool()> probe_;
    // The desktop is asked, not a test's probe.
    bool asksDesktop_ = false;
    bool present_ = false;
};

} // namespace velloran
