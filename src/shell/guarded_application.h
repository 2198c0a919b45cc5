// GuardedApplication: the application object that stops at an error escaping an event handler. The
// event loop ends, the error's text shows in the standard error box, and the program ends.
#pragma once

#include <QApplication>
#include <QString>

namespace velloran {

class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs the event loop. After an escaped error: the error box, then 1; otherwise the loop's result.
    int run();

private:
    void stopAt(const QString& text);

    QString error_;
};

} // namespace velloran
