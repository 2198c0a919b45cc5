// tasks.tsk: the records of all tasks, 3888 bytes each, in list order, with nothing else. Records are
// made here as the file is written and read as it is loaded; in memory a task is only what it means.
#pragma once

#include "files/disk.h"
#include "files/file_identity.h"
#include "task_list.h"
#include "task_record.h"

#include <cstdio>
#include <functional>
#include <string>

namespace velloran {

inline constexpr const char* kTaskFileName = "tasks.tsk";

enum class TaskFileState {
    Loaded,
    Absent,
    Unreadable,        // it is there but could not be read whole; the list is left empty
    PartialLastRecord, // the whole records loaded; bytes that make no whole record followed them
};

struct TaskFileLoad {
    TaskFileState state = TaskFileState::Absent;
    std::string reason;         // Unreadable: the system's words for it
    std::size_t strayBytes = 0; // PartialLastRecord: how many bytes followed the last whole record
    FileIdentity identity;      // the file as it was read: its size and the checksum of its bytes
    FileStamp stamp;            // and as the system saw it then
};

// Replaces the list with the file's tasks, keeping their stored ids.
TaskFileLoad loadTaskFile(const std::string& path, TaskList& tasks);
// The same from an open stream; a read error anywhere makes it Unreadable.
TaskFileLoad readTaskRecords(std::FILE* file, TaskList& tasks);

// Called once the new content is on the disk and before it takes the old file's place (or before the old
// file is deleted, for an empty list), with what the path is about to hold; a failure ends the save there,
// the old file as it was.
using BeforeReplace = std::function<Result<void>(const FileIdentity& next)>;

// The bytes tasks.tsk holds for the list.
std::string taskFileBytes(const TaskList& tasks);

// Writes every task, or deletes the file when there is none. The old file stays intact when the write
// fails; written receives the new file's identity.
Result<void> saveTaskFile(const std::string& path, const TaskList& tasks, FileIdentity* written = nullptr,
                          Disk& disk = systemDisk(), const BeforeReplace& beforeReplace = {});

} // namespace velloran
