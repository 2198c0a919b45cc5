// The program's log categories. Their warnings go to standard error as "velloran: <text>", the same
// lines the layers without Qt write (common/log.h), once main() has called routeProgramLog().
#pragma once

#include <QLoggingCategory>

namespace velloran {

Q_DECLARE_LOGGING_CATEGORY(logStart)    // velloran.start: the program directory, start-up
Q_DECLARE_LOGGING_CATEGORY(logInstance) // velloran.instance: the one-instance lock and socket
Q_DECLARE_LOGGING_CATEGORY(logTasks)    // velloran.tasks: what the task store told the user
Q_DECLARE_LOGGING_CATEGORY(logOpen)     // velloran.open: targets and programs started
Q_DECLARE_LOGGING_CATEGORY(logSound)    // velloran.sound: the sound player
Q_DECLARE_LOGGING_CATEGORY(logWindow)   // velloran.window: what the windows ask of the window system, notices

// Sends the velloran.* categories to the program's log; every other message keeps Qt's handling.
void routeProgramLog();

} // namespace velloran
