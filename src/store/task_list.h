// The tasks of the user in creation order; the order of tasks.tsk.
#pragma once

#include "task_record.h"

#include <cstdint>
#include <list>

namespace velloran {

class TaskList {
public:
    using iterator = std::list<TaskRecord>::iterator;
    using const_iterator = std::list<TaskRecord>::const_iterator;

    bool empty() const { return tasks_.empty(); }
    std::size_t size() const { return tasks_.size(); }
    iterator begin() { return tasks_.begin(); }
    iterator end() { return tasks_.end(); }
    const_iterator begin() const { return tasks_.begin(); }
    const_iterator end() const { return tasks_.end(); }

    // Appends a task created now. Its TaskId is the creation time in seconds, or the next higher value
    // that no task holds, so that commands on one task never reach another created in the same second.
    TaskRecord& appendNew(const TaskRecord& record, std::uint32_t unixSecondsNow);
    // Appends a task read from the file, keeping its stored TaskId.
    TaskRecord& appendLoaded(const TaskRecord& record);

    // Removes a task and returns the position after it.
    iterator remove(iterator position);
    void clear() { tasks_.clear(); }

    // The first task, in list order, with this id; end() when none has it.
    iterator find(std::uint32_t taskId);
    const_iterator find(std::uint32_t taskId) const;
    TaskRecord* findTask(std::uint32_t taskId);

private:
    bool holdsId(std::uint32_t taskId) const;

    std::list<TaskRecord> tasks_;
};

} // namespace velloran
