// An error that escapes an event handler: the loop ends, the standard error box shows its text, and
// the program ends with 1. Its own main, since the application object is the one under test.
#include "platform/message_box.h"
#include "shell/guarded_application.h"

#include <QTest>
#include <QTimer>
#include <stdexcept>
#include <vector>

using namespace velloran;

namespace {

std::vector<MessageBoxRequest> shown;

class Failing : public QObject {
public:
    explicit Failing(bool standard) : standard_(standard) {}
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++handled;
        if (standard_)
            throw std::runtime_error(handled == 1 ? "The disk went away." : "A second failure.");
        throw 42;
    }
    int handled = 0;

private:
    bool standard_;
};

} // namespace

class GuardedApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        shown.clear();
        MessageBoxes::setHandler([](const MessageBoxRequest& request) {
            shown.push_back(request);
            return QMessageBox::Ok;
        });
    }
    void cleanup() { MessageBoxes::setHandler({}); }

    void quietLoopReturnsItsOwnResultWithNoBox() {
        auto& app = *static_cast<GuardedApplication*>(qApp);
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCOMPARE(app.run(), 0);
        QVERIFY(shown.empty());
    }

    void escapedErrorEndsTheLoopAndShowsItsTextOnce() {
        auto& app = *static_cast<GuardedApplication*>(qApp);
        Failing failing(true);
        // Two failures queued together: the loop ends after them, and only the first is shown.
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        // Were the error lost, this would end the loop with 7 instead.
        QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });
        QCOMPARE(app.run(), 1);
        QCOMPARE(shown.size(), std::size_t{1});
        QCOMPARE(shown[0].caption, QStringLiteral("Velloran"));
        QCOMPARE(shown[0].text, QStringLiteral("The disk went away."));
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

int main(int argc, char* argv[]) {
    GuardedApplication app(argc, argv);
    GuardedApplicationTest test;
    const int failures = QTest::qExec(&test, argc, argv);
    // An error of no known type, last, since the first error ends the application's loops for good.
    Failing failing(false);
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    shown.clear();
    MessageBoxes::setHandler([](const MessageBoxRequest& request) {
        shown.push_back(request);
        return QMessageBox::Ok;
    });
    const int result = app.run();
    const bool unknownShown =
        result == 1 && shown.size() == 1 && shown[0].text == QStringLiteral("An unknown error has occurred.");
    if (!unknownShown)
        std::fprintf(stderr, "FAIL: an error of no known type: result %d, %zu boxes\n", result, shown.size());
    return failures + (unknownShown ? 0 : 1);
}

#include "guarded_application_test.moc"
