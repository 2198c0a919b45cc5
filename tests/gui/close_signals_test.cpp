#include "platform/close_signals.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>

using velloran::CloseSignals;

class CloseSignalsTest : public QObject {
    Q_OBJECT
private slots:
    void eachSignalBecomesACloseRequestOnTheEventLoop() {
        CloseSignals signals_;
        QSignalSpy spy(&signals_, &CloseSignals::closeRequested);
        for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
            spy.clear();
            std::raise(number);
            QCOMPARE(spy.count(), 0); // not from inside the handler
            QTRY_COMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toInt(), number);
        }
    }
};

QTEST_GUILESS_MAIN(CloseSignalsTest)
#include "close_signals_test.moc"
