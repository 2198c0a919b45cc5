#include "logging.h"

namespace velloran {

Q_LOGGING_CATEGORY(logStart, "velloran.start")
Q_LOGGING_CATEGORY(logInstance, "velloran.instance")
Q_LOGGING_CATEGORY(logTasks, "velloran.tasks")
Q_LOGGING_CATEGORY(logOpen, "velloran.open")
Q_LOGGING_CATEGORY(logSound, "velloran.sound")

} // namespace velloran
