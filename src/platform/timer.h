// A timer whose countdown restarts only when its interval changes to a different value or when it goes
// from disabled to enabled; an interval of 0 never fires. QTimer alone restarts on every start().
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace velloran {

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr, Qt::TimerType type = Qt::CoarseTimer);

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int Interval() const { return interval_; }
    void setInterval(int milliseconds);

    // Milliseconds to the next tick, or -1 when none is pending.
    int remainingTime() const { return timer_.remainingTime(); }

    std::function<void()> OnTimer;

private:
    void restart();

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 1000;
};

} // namespace velloran
