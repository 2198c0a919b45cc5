#include "timer.h"

#include "common/datetime.h"

namespace velloran {

Timer::Timer(QObject* parent, Qt::TimerType type) : QObject(parent) {
    timer_.setTimerType(type);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
    restart();
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    restart();
}

void Timer::setInterval(int milliseconds) {
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    restart();
}

void Timer::followRealTime(const Clock& clock) {
    clock_ = &clock;
    // A running countdown goes on; its end is where Qt's countdown ends.
    if (timer_.isActive())
        dueAt_ = clock.unixMilliseconds() + timer_.remainingTime();
}

bool Timer::catchUp() {
    if (!dueAt_ || clock_ == nullptr || clock_->unixMilliseconds() < *dueAt_)
        return false;
    timer_.start(interval_);
    tick();
    return true;
}

void Timer::tick() {
    // The next end is set before the handler runs, which may stop or change the timer.
    if (clock_ != nullptr)
        dueAt_ = clock_->unixMilliseconds() + interval_;
    if (onTimeout)
        onTimeout();
}

void Timer::restart() {
    if (enabled_ && interval_ > 0) {
        timer_.start(interval_);
        if (clock_ != nullptr)
            dueAt_ = clock_->unixMilliseconds() + interval_;
    } else {
        timer_.stop();
        dueAt_.reset();
    }
}

} // namespace velloran
