#include "platform/timer.h"

#include "common/datetime.h"

#include <QSignalSpy>
#include <QTest>

using velloran::Timer;

namespace {

// Real time that only moves when a test says so, as across a sleep the timer did not see.
class ManualClock final : public velloran::Clock {
public:
    std::int64_t milliseconds = 1700000000000;
    velloran::DateTime now() const override { return velloran::localDateTimeFromUnix(unixSeconds()); }
    std::int64_t unixSeconds() const override { return milliseconds / 1000; }
    std::int64_t unixMilliseconds() const override { return milliseconds; }
};

} // namespace

class TimerTest : public QObject {
    Q_OBJECT
private slots:
    // The countdown checks use precise timers: a coarse one may report its remaining time 5 % off.
    void defaultsToOneSecondAndEnabled() {
        Timer timer;
        QCOMPARE(timer.interval(), 1000);
        QVERIFY(timer.isEnabled());
        QVERIFY(timer.remainingTime() > 0);
    }

    void sameIntervalKeepsTheCountdown() {
        Timer timer(nullptr, Qt::PreciseTimer);
        timer.setInterval(10000);
        QTest::qWait(200);
        timer.setInterval(10000);
        QVERIFY2(timer.remainingTime() < 9900, "setting the same interval must not restart");
    }

    void differentIntervalRestarts() {
        Timer timer(nullptr, Qt::PreciseTimer);
        timer.setInterval(10000);
        QTest::qWait(200);
        timer.setInterval(20000);
        QVERIFY(timer.remainingTime() > 19000);
    }

    void enablingAnEnabledTimerKeepsTheCountdown() {
        Timer timer(nullptr, Qt::PreciseTimer);
        timer.setInterval(10000);
        QTest::qWait(200);
        timer.setEnabled(true);
        QVERIFY(timer.remainingTime() < 9900);
    }

    void reEnablingRestarts() {
        Timer timer(nullptr, Qt::PreciseTimer);
        timer.setInterval(10000);
        QTest::qWait(200);
        timer.setEnabled(false);
        QCOMPARE(timer.remainingTime(), -1);
        timer.setEnabled(true);
        QVERIFY(timer.remainingTime() > 9900);
    }

    void zeroIntervalNeverFires() {
        Timer timer;
        int ticks = 0;
        timer.onTimeout = [&] { ++ticks; };
        timer.setInterval(0);
        QCOMPARE(timer.remainingTime(), -1);
        QTest::qWait(100);
        QCOMPARE(ticks, 0);
        timer.setInterval(10);
        QTRY_VERIFY(ticks >= 2);
    }

    void catchUpTicksOnceWhenRealTimePassedTheEnd() {
        ManualClock clock;
        Timer timer(nullptr, Qt::PreciseTimer);
        int ticks = 0;
        timer.onTimeout = [&] { ++ticks; };
        timer.setInterval(600000);
        timer.followRealTime(clock);
        clock.milliseconds += 599999;
        QVERIFY(!timer.catchUp());
        clock.milliseconds += 1;
        QVERIFY(timer.catchUp());
        QCOMPARE(ticks, 1);
        // The late tick stands for the one Qt would have made: a whole interval starts from here.
        QVERIFY(timer.remainingTime() > 599000);
        QVERIFY(!timer.catchUp());
        clock.milliseconds += 3600000; // a second sleep, through the next end
        QVERIFY(timer.catchUp());
        QCOMPARE(ticks, 2);
    }

    void catchUpFollowsTheCountdownRules() {
        ManualClock clock;
        Timer timer(nullptr, Qt::PreciseTimer);
        int ticks = 0;
        timer.onTimeout = [&] { ++ticks; };
        timer.followRealTime(clock);
        timer.setInterval(10000);
        clock.milliseconds += 6000;
        timer.setInterval(10000); // the same interval keeps the end
        timer.setEnabled(true);   // so does enabling an enabled timer
        clock.milliseconds += 4000;
        QVERIFY(timer.catchUp());
        clock.milliseconds += 6000;
        timer.setInterval(20000); // a new interval counts from now
        clock.milliseconds += 19999;
        QVERIFY(!timer.catchUp());
        timer.setEnabled(false);
        clock.milliseconds += 3600000;
        QVERIFY(!timer.catchUp());
        timer.setEnabled(true); // counts afresh from enabling
        QVERIFY(!timer.catchUp());
        timer.setInterval(0);
        clock.milliseconds += 3600000;
        QVERIFY(!timer.catchUp());
        QCOMPARE(ticks, 1);
    }

    void handlerThatStopsTheTimerEndsTheCatchUp() {
        ManualClock clock;
        Timer timer(nullptr, Qt::PreciseTimer);
        int ticks = 0;
        timer.onTimeout = [&] {
            ++ticks;
            timer.setEnabled(false);
        };
        timer.setInterval(50);
        timer.followRealTime(clock);
        clock.milliseconds += 3600000;
        QVERIFY(timer.catchUp());
        QCOMPARE(timer.remainingTime(), -1);
        QTest::qWait(150); // the Qt countdown, which the catch-up replaced, must not tick as well
        QVERIFY(!timer.catchUp());
        QCOMPARE(ticks, 1);
    }

    void followingRealTimeKeepsARunningCountdown() {
        ManualClock clock;
        Timer timer(nullptr, Qt::PreciseTimer);
        int ticks = 0;
        timer.onTimeout = [&] { ++ticks; };
        timer.setInterval(10000);
        QTest::qWait(300);
        timer.followRealTime(clock);
        QVERIFY(timer.remainingTime() < 9800);
        clock.milliseconds += 9800;
        QVERIFY(timer.catchUp());
        QCOMPARE(ticks, 1);
    }

    void qtTickMovesTheRealTimeEnd() {
        ManualClock clock;
        Timer timer(nullptr, Qt::PreciseTimer);
        int ticks = 0;
        timer.onTimeout = [&] { ++ticks; };
        timer.setInterval(20);
        timer.followRealTime(clock);
        clock.milliseconds += 15;
        QTRY_VERIFY(ticks >= 1);
        // Qt's tick came first and counts the next end from its own moment (15 + 20), so the first end
        // (20) passing in real time is no second tick.
        clock.milliseconds += 15;
        const int before = ticks;
        QVERIFY(!timer.catchUp());
        QCOMPARE(ticks, before);
    }

    void tickCallsOnTimerAgainAndAgain() {
        Timer timer;
        int ticks = 0;
        timer.onTimeout = [&] { ++ticks; };
        timer.setInterval(5);
        QTRY_VERIFY(ticks >= 3);
    }
};

QTEST_GUILESS_MAIN(TimerTest)
#include "timer_test.moc"
