// The tasks of the user in creation order; the order of tasks.tsk. The task store owns the one list of
// the running program; nothing else changes it.
#pragma once

#include "task.h"

#include <cstdint>
#include <deque>
#include <optional>

namespace velloran {

class TaskList {
public:
    using const_iterator = std::deque<Task>::const_iterator;

    bool empty() const { return tasks_.empty(); }
    std::size_t size() const { return tasks_.size(); }
    const_iterator begin() const { return tasks_.begin(); }
    const_iterator end() const { return tasks_.end(); }
    const Task& operator[](std::size_t index) const { return tasks_[index]; }
    Task& operator[](std::size_t index) { return tasks_[index]; }

    // Appends a task created now. Its TaskId is the creation time in seconds, or the next higher value
    // that no task holds, so that commands on one task never reach another created in the same second.
    Task& appendNew(const Task& task, std::uint32_t unixSecondsNow);
    // Appends a task read from the file, keeping its stored TaskId.
    Task& appendLoaded(const Task& task);
    Task& appendLoaded(Task&& task);

    void removeAt(std::size_t index);
    void clear() { tasks_.clear(); }

    // The place of the first task, in list order, with this id.
    std::optional<std::size_t> indexOf(std::uint32_t taskId) const;
    const Task* findTask(std::uint32_t taskId) const;

private:
    std::deque<Task> tasks_;
};

} // namespace velloran
