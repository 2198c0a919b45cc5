#include "due_scan.h"

#include "advance.h"

namespace velloran {

bool scanDueTasks(TaskStore& tasks, DateTime now, TaskActionSink& actions) {
    bool anyDue = false;
    for (std::size_t index = 0; index < tasks.size();) {
        const Task& task = tasks[index];
        // NaN compares false, so a damaged NextRun counts as due here and is caught below.
        if (now < task.NextRun || !task.enabled()) {
            ++index;
            continue;
        }
        anyDue = true;
        if (!isValidDateTime(task.NextRun)) {
            // A damaged date would fall due on every tick; it neither runs nor moves.
            tasks.reschedule(index, task.NextRun, task.Flags & ~static_cast<std::uint32_t>(kEnabled));
            ++index;
            continue;
        }
        const bool runs = now - kLateWindow < task.NextRun || (task.Flags & kRunIfMissed) != 0;
        const DateTime due = task.NextRun;
        // Recorded before the task moves on, so that a start after a crash during the action knows of it:
        // an alarm or memo is shown then, a program is not started again and the user is told.
        if (runs)
            tasks.recordDue(index);
        Task advanced = task;
        advanceTask(advanced);
        tasks.reschedule(index, advanced.NextRun, advanced.Flags);
        const bool removed = advanced.RepeatType == kOnce && (advanced.Flags & kAutoDelete) != 0;
        if (removed)
            tasks.removeAt(index);
        if (runs) {
            // On the disk first: a crash during or after the action must not run it again.
            tasks.flushChanges();
            actions.carryOut(advanced, due);
            // Reaches the disk with the next flush, at the latest at the end of this scan.
            tasks.recordDone(advanced.TaskId, due);
        }
        if (!removed)
            ++index;
    }
    tasks.flushChanges();
    return anyDue;
}

} // namespace velloran
