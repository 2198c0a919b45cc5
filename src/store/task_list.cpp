#include "task_list.h"

#include <algorithm>
#include <unordered_set>

namespace velloran {

TaskRecord& TaskList::appendNew(const TaskRecord& record, std::uint32_t unixSecondsNow) {
    std::uint32_t id = unixSecondsNow;
    if (holdsId(id)) {
        std::unordered_set<std::uint32_t> taken;
        taken.reserve(tasks_.size());
        for (const TaskRecord& task : tasks_)
            taken.insert(task.TaskId);
        while (taken.count(id) != 0)
            ++id;
    }
    TaskRecord& added = tasks_.emplace_back(record);
    added.TaskId = id;
    return added;
}

TaskRecord& TaskList::appendLoaded(const TaskRecord& record) {
    return tasks_.emplace_back(record);
}

TaskList::iterator TaskList::remove(iterator position) {
    return tasks_.erase(position);
}

TaskList::iterator TaskList::find(std::uint32_t taskId) {
    return std::find_if(tasks_.begin(), tasks_.end(),
                        [&](const TaskRecord& t) { return t.TaskId == taskId; });
}

TaskList::const_iterator TaskList::find(std::uint32_t taskId) const {
    return std::find_if(tasks_.begin(), tasks_.end(),
                        [&](const TaskRecord& t) { return t.TaskId == taskId; });
}

TaskRecord* TaskList::findTask(std::uint32_t taskId) {
    const auto it = find(taskId);
    return it == tasks_.end() ? nullptr : &*it;
}

bool TaskList::holdsId(std::uint32_t taskId) const {
    return find(taskId) != tasks_.end();
}

} // namespace velloran
