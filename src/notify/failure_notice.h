// The notice that tells the user that a task did nothing: which task, and why.
#pragma once

#include "platform/desktop_notifications.h"
#include "scheduler/task_actions.h"

namespace velloran {

// name names the task; target is the file, address or program it was to open.
DesktopNotice failureNotice(const QString& name, const QString& target, OpenFailure why);

} // namespace velloran
