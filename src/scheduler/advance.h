// Moving a task that fell due to its next occurrence.
#pragma once

#include "store/task.h"

namespace velloran {

// A due task that is this much or more behind its NextRun counts as missed (14 min 59.424 s).
inline constexpr double kLateWindow = 0.01041;

// Moves the task by its RepeatType, keeping the time of day; a Once task (or an unknown repeat code) is
// disabled instead. A task whose next occurrence would leave the years 1..9999 is disabled too.
void advanceTask(Task& task);

} // namespace velloran
