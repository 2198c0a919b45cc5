// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal delivered on the event loop, so that log-off and
// shut-down reach the same close path as the user's close; nothing runs inside the signal handler.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace velloran {

class CloseSignals : public QObject {
    Q_OBJECT
public:
    explicit CloseSignals(QObject* parent = nullptr);
    ~CloseSignals() override;

signals:
    void closeRequested(int signalNumber);

private:
    void readPending();

    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace velloran
