// What the task list shows of each task, and in which order: plain data, built without widgets.
#pragma once

#include "date_format.h"
#include "store/task_list.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

// One row per task is held for as long as the list shows it, so a row keeps only the texts of its own:
// the names of kinds, repeats and states point into the program's tables.
struct TaskRow {
    std::string_view caption; // kind name; empty for an unknown kind
    int imageIndex = 0;       // the kind value, whatever it is
    std::uint32_t taskId = 0;
    std::string target; // the last path component; a web address whole
    std::string nextRun;
    std::string_view repeat;
    std::string_view status;
    std::string description;
};

// Kind and repeat names; empty for codes outside their tables.
std::string_view kindName(int kind);
std::string_view repeatName(int repeat);

// The target as the "Task" column shows it: after the last '\' or '/', except for a web address.
std::string_view shortTarget(const Task& task);

TaskRow makeTaskRow(const Task& task, bool longDisplay, const DateNames& names);

// ASCII case-insensitive, byte by byte; a key that is a prefix of the other sorts first.
int compareSortKeys(std::string_view a, std::string_view b);

// Every task's row, in list order, or ascending by sort key (equal keys keep list order).
std::vector<TaskRow> buildTaskRows(const TaskList& tasks, bool sortByDate, bool longDisplay,
                                   const DateNames& names);

} // namespace velloran
