#include "logging.h"

namespace velloran {

// Warnings reach the session's log always; the debug lines at the decisions only when asked for
// (QT_LOGGING_RULES="velloran.*.debug=true"), so that a user's log is not filled with every scan.
Q_LOGGING_CATEGORY(logStart, "velloran.start", QtInfoMsg)
Q_LOGGING_CATEGORY(logInstance, "velloran.instance", QtInfoMsg)
Q_LOGGING_CATEGORY(logTasks, "velloran.tasks", QtInfoMsg)
Q_LOGGING_CATEGORY(logOpen, "velloran.open", QtInfoMsg)
Q_LOGGING_CATEGORY(logSound, "velloran.sound", QtInfoMsg)
// Off unless asked for (QT_LOGGING_RULES="velloran.window.debug=true"): every line is a request.
Q_LOGGING_CATEGORY(logWindow, "velloran.window", QtWarningMsg)

} // namespace velloran
