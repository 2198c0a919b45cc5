// tasks.tsk: the records of all tasks, 3888 bytes each, in list order, with nothing else.
#pragma once

#include "task_list.h"

#include <string>

namespace velloran {

inline constexpr const char* kTaskFileName = "tasks.tsk";

// Replaces the list with the file's tasks, keeping their stored ids. A file that cannot be opened leaves
// the list as it is and returns false; trailing bytes that make no whole record are ignored.
bool loadTaskFile(const std::string& path, TaskList& tasks);

// Writes every task, or deletes the file when there is none. The old file stays intact when the write
// fails. Returns why it failed, or an empty text on success.
std::string saveTaskFile(const std::string& path, const TaskList& tasks);

} // namespace velloran
