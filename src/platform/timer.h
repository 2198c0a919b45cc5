// A timer whose countdown restarts only when its interval changes to a different value or when it goes
// from disabled to enabled; an interval of 0 never fires. QTimer alone restarts on every start().
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

namespace velloran {

class Clock;

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr, Qt::TimerType type = Qt::CoarseTimer);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }
    void setInterval(int milliseconds);

    // Milliseconds to the next tick, or -1 when none is pending.
    int remainingTime() const { return timer_.remainingTime(); }

    // Also keeps each countdown's end as a moment of the clock's real time. Qt's countdown stops while
    // the machine sleeps; catchUp() then finds the moment passed.
    void followRealTime(const Clock& clock);
    // Ticks now when the real-time end of the countdown has passed, and then counts a whole interval
    // again, so that the late tick is the only one. Returns whether it ticked.
    bool catchUp();

    // Runs at each tick.
    std::function<void()> onTimeout;

private:
    void restart();
    void tick();

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 1000;
    const Clock* clock_ = nullptr;
    std::optional<std::int64_t> dueAt_; // milliseconds of real time
};

} // namespace velloran
