#include "second_start.h"

#include "common/product.h"
#include "files/private_folder.h"
#include "platform/logging.h"
#include "platform/message_box.h"
#include "platform/translated_message.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <unistd.h>

namespace velloran {
namespace {

constexpr const char* kAlreadyRunning = QT_TRANSLATE_NOOP(
    "SecondStart", "Application is already running. Look in the icon tray for the application\n"
                   "icon and double click on the icon to open.\n"
                   "If icon is not visable in the icon tray click OK to open, otherwise\n"
                   "select cancel and double click in icon tray to open.");

constexpr const char* kInUseBy = QT_TRANSLATE_NOOP(
    "SecondStart", "Another Velloran (process %2) uses the task file \"%1\" and carries out "
                   "its tasks.\nThis Velloran does not start, so that no task runs twice.");
constexpr const char* kInUse = QT_TRANSLATE_NOOP(
    "SecondStart",
    "Another Velloran uses the task file \"%1\" and carries out its tasks.\nThis Velloran does "
    "not start, so that no task runs twice.");
constexpr const char* kCannotLock =
    QT_TRANSLATE_NOOP("SecondStart", "%1\nVelloran cannot tell whether another Velloran uses the task file "
                                     "\"%2\". If one does, tasks may run twice.");

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

// Also in the session's log, where a start with nobody looking still leaves a trace.
void tell(const Message& text) {
    qCWarning(logInstance, "%s", text.english().c_str());
    MessageBoxes::ask(nullptr, {QString::fromLatin1(kProgramName), translated(text), QMessageBox::Warning,
                                QMessageBox::Ok});
}

bool holdsTaskFile(TaskFileLock& taskLock) {
    const Result<FileLock::State> locked = taskLock.tryLock();
    return locked && *locked == FileLock::State::Held;
}

} // namespace

std::unique_ptr<SingleInstance> reachableOwner(const LockHolder& holder) {
    if (!holder.uid || *holder.uid != ::geteuid() || !isPrivateFolder(holder.instanceFolder))
        return nullptr;
    auto owner = std::make_unique<SingleInstance>(QFile::decodeName(holder.instanceFolder.c_str()));
    return owner->reachable() ? std::move(owner) : nullptr;
}

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

bool claimStart(SingleInstance& instance, TaskFileLock& taskLock, const std::string& taskFile,
                const RestoreRequest& launch, const std::function<bool()>& closeRequested,
                std::chrono::milliseconds closingWait, const ActivationTokenSource& tokenFor) {
    // The events go on while it waits, so that a close asked for meanwhile ends the wait.
    const LockPause pause = [&closeRequested](std::chrono::milliseconds step) {
        QEventLoop loop;
        QTimer::singleShot(step, &loop, &QEventLoop::quit);
        loop.exec();
        return !closeRequested();
    };
    const auto offerBack = [&](const SingleInstance& owner) {
        askAboutRunningInstance(
            launch,
            [&](const RestoreRequest& request) {
                if (!closeRequested())
                    owner.askRunningInstanceToRestore(request);
            },
            tokenFor);
    };
    if (!instance.claim(closingWait, pause)) {
        if (closeRequested())
            return false;
        offerBack(instance);
        // Where the running one ended while the question was up, this start runs in its place.
        if (closeRequested() || !instance.claim())
            return false;
    }

    // Written with the lock, so that a start that finds it held finds where this one answers too.
    taskLock.setInstanceFolder(QFile::encodeName(instance.folder()).toStdString());
    const Result<FileLock::State> locked = taskLock.tryLock(closingWait, pause);
    if (!locked) {
        tell(Message("SecondStart", kCannotLock, {locked.error(), taskFile}));
        return true;
    }
    if (*locked == FileLock::State::Held)
        return true;
    if (closeRequested())
        return false;
    const LockHolder holder = taskLock.holder();
    if (const auto owner = reachableOwner(holder))
        offerBack(*owner);
    else if (holder.pid)
        tell(Message("SecondStart", kInUseBy, {taskFile, std::to_string(*holder.pid)}));
    else
        tell(Message("SecondStart", kInUse, {taskFile}));
    return !closeRequested() && holdsTaskFile(taskLock);
}

} // namespace velloran
