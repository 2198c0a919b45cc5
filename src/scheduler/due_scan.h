// One tick of the scheduler: finds the due tasks, decides whether each still runs, moves it on and
// carries out its action.
#pragma once

#include "store/task_store.h"

namespace velloran {

class TaskActionSink {
public:
    virtual ~TaskActionSink() = default;
    // Called after the task has been moved to its next occurrence, with the moment the occurrence was
    // due; returns once an alarm's or memo's window is on the screen, or the target was handed to the
    // system.
    virtual void carryOut(const Task& task, DateTime due) = 0;
};

// Compares every enabled task with now (equality is due). Returns whether any task was due, so that the
// caller rebuilds what shows the list only then. Each change reaches the store's journal before the
// task's action runs, and that the action was carried out reaches it by the end of the scan.
bool scanDueTasks(TaskStore& tasks, DateTime now, TaskActionSink& actions);

} // namespace velloran
