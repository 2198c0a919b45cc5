// A start while Velloran already runs: for this user, the question, and on OK the request that brings the
// running one back; on the same task file elsewhere, the message that names it. A running one that is
// closing is waited for.
#pragma once

#include "files/task_file_lock.h"
#include "platform/wayland_activation.h"
#include "restore_request.h"
#include "single_instance.h"

#include <QMessageBox>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace velloran {

// Where the question's activation token comes from: the compositor, for the user's click on the
// question window (on Wayland), or nowhere.
using ActivationTokenSource = std::function<QString(QWidget* question)>;

// Shows "Application running"; on OK hands restore the launcher's tokens, or, where the launcher gave
// no Wayland token, one that the compositor gives for the OK click. Returns the button chosen.
QMessageBox::StandardButton
askAboutRunningInstance(const RestoreRequest& launch,
                        const std::function<void(const RestoreRequest&)>& restore,
                        const ActivationTokenSource& tokenFor = waylandActivationToken);

// The running Velloran of this user that holds the task file, where it answers; nullptr otherwise.
std::unique_ptr<SingleInstance> reachableOwner(const LockHolder& holder);

// How long a start waits for a running Velloran that is closing to end.
inline constexpr std::chrono::seconds kClosingWait{20};

// Whether this start runs the tasks of taskFile: true once it holds this user's one-instance lock and the
// task file's lock, or where the task file cannot be locked (which it tells). A running Velloran that is
// closing is waited for, at most closingWait. Otherwise the user is told: this user's running Velloran,
// where it can be reached, with "Application running"; any other with a message that names the task file.
// False: this start ends; it runs nothing. closeRequested: the program has been asked to end.
bool claimStart(SingleInstance& instance, TaskFileLock& taskLock, const std::string& taskFile,
                const RestoreRequest& launch, const std::function<bool()>& closeRequested,
                std::chrono::milliseconds closingWait = kClosingWait,
                const ActivationTokenSource& tokenFor = waylandActivationToken);

} // namespace velloran
