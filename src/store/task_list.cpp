#include "task_list.h"

#include <algorithm>
#include <unordered_set>

namespace velloran {

Task& TaskList::appendNew(const Task& task, std::uint32_t unixSecondsNow) {
    std::uint32_t id = unixSecondsNow;
    if (indexOf(id)) {
        std::unordered_set<std::uint32_t> taken;
        taken.reserve(tasks_.size());
        for (const Task& held : tasks_)
            taken.insert(held.TaskId);
        while (taken.count(id) != 0)
            ++id;
    }
    Task& added = tasks_.emplace_back(task);
    added.TaskId = id;
    return added;
}

Task& TaskList::appendLoaded(const Task& task) {
    return tasks_.emplace_back(task);
}

Task& TaskList::appendLoaded(Task&& task) {
    return tasks_.emplace_back(std::move(task));
}

void TaskList::removeAt(std::size_t index) {
    tasks_.erase(tasks_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<std::size_t> TaskList::indexOf(std::uint32_t taskId) const {
    const auto it =
        std::find_if(tasks_.begin(), tasks_.end(), [&](const Task& t) { return t.TaskId == taskId; });
    if (it == tasks_.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - tasks_.begin());
}

const Task* TaskList::findTask(std::uint32_t taskId) const {
    const auto index = indexOf(taskId);
    return index ? &tasks_[*index] : nullptr;
}

} // namespace velloran
