#include "platform/timer.h"

#include <QSignalSpy>
#include <QTest>

using velloran::Timer;

class TimerTest : public QObject {
    Q_OBJECT
private slots:
    // The countdown checks use precise timers: a coarse one may report its remaining time 5 % off.
    void defaultsToOneSecondAndEnabled() {
        Timer timer;
        QCOMPARE(timer.Interval(), 1000);
        QVERIFY(timer.Enabled());
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
        timer.OnTimer = [&] { ++ticks; };
        timer.setInterval(0);
        QCOMPARE(timer.remainingTime(), -1);
        QTest::qWait(100);
        QCOMPARE(ticks, 0);
        timer.setInterval(10);
        QTRY_VERIFY(ticks >= 2);
    }

    void tickCallsOnTimerAgainAndAgain() {
        Timer timer;
        int ticks = 0;
        timer.OnTimer = [&] { ++ticks; };
        timer.setInterval(5);
        QTRY_VERIFY(ticks >= 3);
    }
};

QTEST_GUILESS_MAIN(TimerTest)
#include "timer_test.moc"
