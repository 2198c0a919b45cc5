// What the task editor looks up in the file system: the alarm sounds and whether a target exists.
#pragma once

#include <string>
#include <vector>

namespace velloran {

// The names of the ordinary ".wav" files (extension in any letter case) in a folder, hidden files left
// out, in alphabetical order ignoring letter case. Empty when the folder is missing or unreadable.
std::vector<std::string> listAlarmSounds(const std::string& folder);

// Whether something (a file or a folder) exists at the path exactly as typed.
bool pathExists(const std::string& path);

} // namespace velloran
