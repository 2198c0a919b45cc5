#include "second_start.h"

#include "platform/message_box.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace velloran {
namespace {

constexpr const char* kAlreadyRunning = QT_TRANSLATE_NOOP(
    "SecondStart", "Application is already running. Look in the icon tray for the application\n"
                   "icon and double click on the icon to open.\n"
                   "If icon is not visable in the icon tray click OK to open, otherwise\n"
                   "select cancel and double click in icon tray to open.");

// How long the question stays after OK for the running window to take the focus from it.
constexpr int kHandOverMilliseconds = 1500;

// Waits until the window has lost the focus (to the running window, which the compositor activated), or
// the time is up: where the compositor has not handed the focus over by then, it will not.
void waitForFocusToLeave(QWidget* window, int milliseconds) {
    QWindow* handle = window->window()->windowHandle();
    if (handle == nullptr || QGuiApplication::focusWindow() != handle)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &loop, [&loop, handle](QWindow* focus) {
        if (focus != handle)
            loop.quit();
    });
    loop.exec();
}

} // namespace

QMessageBox::StandardButton askAboutRunningInstance(const RestoreRequest& launch,
                                                    const std::function<void(const RestoreRequest&)>& restore,
                                                    const ActivationTokenSource& tokenFor) {
    MessageBoxRequest question{QCoreApplication::translate("SecondStart", "Application running"),
                               QCoreApplication::translate("SecondStart", kAlreadyRunning),
                               QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel};
    bool sent = false;
    // All of it happens while the question is still shown and has the focus: the compositor gives a
    // token only for the user's action on a window that holds the focus, and some (GNOME's) check that
    // again when the running window uses the token, so the question stays until the focus has moved.
    question.answered = [&](QMessageBox::StandardButton answer, QWidget* box) {
        if (answer != QMessageBox::Ok || sent)
            return;
        sent = true;
        RestoreRequest request = launch;
        const bool ownToken = request.activationToken.empty();
        if (ownToken)
            request = withFallbackActivationToken(launch, tokenFor(box).toStdString());
        restore(request);
        if (box != nullptr && ownToken && !request.activationToken.empty())
            waitForFocusToLeave(box, kHandOverMilliseconds);
    };
    return MessageBoxes::ask(nullptr, question);
}

} // namespace velloran
