#include "due_scan.h"

#include "advance.h"

namespace velloran {

bool scanDueTasks(TaskList& tasks, DateTime now, TaskActionSink& actions) {
    bool anyDue = false;
    for (auto it = tasks.begin(); it != tasks.end();) {
        TaskRecord& task = *it;
        // NaN compares false, so a damaged NextRun counts as due here and is caught below.
        if (now < task.NextRun || !task.enabled()) {
            ++it;
            continue;
        }
        anyDue = true;
        if (!isValidDateTime(task.NextRun)) {
            // A damaged date would fall due on every tick; it neither runs nor moves.
            task.Flags &= ~static_cast<std::uint32_t>(kEnabled);
            ++it;
            continue;
        }
        const bool runs = now - kLateWindow < task.NextRun || (task.Flags & kRunIfMissed) != 0;
        advanceTask(task);
        if (runs)
            actions.carryOut(task);
        if (task.RepeatType == kOnce && (task.Flags & kAutoDelete) != 0)
            it = tasks.remove(it);
        else
            ++it;
    }
    return anyDue;
}

} // namespace velloran
