// Where tasks.tsk lives: in the program directory when this user may write there, otherwise in the
// user's data folder, which starts with a copy of the program directory's tasks.tsk.
#pragma once

#include "common/message.h"
#include "files/disk.h"

#include <string>
#include <vector>

namespace velloran {

// Written in the data folder once the first copy is made (or there was nothing to copy), so that a list
// the user emptied there is not filled again from the program directory.
inline constexpr const char* kFirstCopyMark = "first-copy-done";

struct TaskFilePlace {
    std::string taskFile;
    std::vector<Message> notices; // for the user, with the store's own
};

// The task file to open. With a program directory this user may not write to, the data folder is made
// (0700) and the program directory's tasks.tsk copied into it like every other save; a copy that was
// interrupted or failed is made again at the next start. Where the data folder cannot be made or the
// copy fails, the program directory's own file is the answer, so that its tasks are still shown and run,
// and the user is told that changes cannot be saved.
TaskFilePlace placeTaskFile(const std::string& programDirectory, bool programDirectoryWritable,
                            const std::string& dataFolder, Disk& disk = systemDisk());

} // namespace velloran
