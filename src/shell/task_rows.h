// What the task list shows of each task, and in which order: plain data, built without widgets.
#pragma once

#include "common/date_format.h"
#include "store/task_list.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

// A row of the list keeps only where its task is, a few bytes per task; its texts are made from the task
// when they are shown. The id tells a row whose task has moved or gone since the rows were made.
struct TaskRowRef {
    std::uint32_t place = 0; // the task's place in the list when the rows were made
    std::uint32_t taskId = 0;
};

// The rows of every task, in list order, or ascending by sort key (equal keys keep list order).
std::vector<TaskRowRef> orderTaskRows(const TaskList& tasks, bool sortByDate, const DateStyle& names);

// The row's task, or null when the list changed and the rows were not made again yet.
const Task* rowTask(const TaskList& tasks, TaskRowRef row);

// Drops a row after its task was removed from the list: the rows of the tasks behind it move up one place.
void removeTaskRow(std::vector<TaskRowRef>& rows, std::size_t row);

// The columns' texts of one task. Kind and repeat names are empty for codes outside their tables; the
// kind, repeat and status names are English source texts, translated in the contexts "TaskKinds" and
// "TaskRows" where they are shown.
std::string_view kindName(int kind);
std::string targetText(const Task& task);
// For an Alarm Clock or Memo task whose target is its kind's fixed text: that text, which is the kind's
// name and shown in the user's language ("TaskKinds"); empty for every other task.
std::string_view fixedTargetName(const Task& task);
std::string nextRunText(const Task& task, bool longDisplay, const DateStyle& names);
std::string_view repeatName(int repeat);
std::string_view statusName(const Task& task);
std::string descriptionText(const Task& task);

// The target as the "Task" column shows it: after the last '\' or '/', except for a web address.
std::string_view shortTarget(const Task& task);

// ASCII case-insensitive, byte by byte; a key that is a prefix of the other sorts first.
int compareSortKeys(std::string_view a, std::string_view b);

} // namespace velloran
