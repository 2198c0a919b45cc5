#include "logging.h"

namespace velloran {

Q_LOGGING_CATEGORY(logStart, "velloran.start")
Q_LOGGING_CATEGORY(logInstance, "velloran.instance")
Q_LOGGING_CATEGORY(logTasks, "velloran.tasks")
Q_LOGGING_CATEGORY(logOpen, "velloran.open")
Q_LOGGING_CATEGORY(logSound, "velloran.sound")
// Off unless asked for (QT_LOGGING_RULES="velloran.window.debug=true"): every line is a request.
Q_LOGGING_CATEGORY(logWindow, "velloran.window", QtWarningMsg)

} // namespace velloran
