// Where the program of an Executable task is found. The editor's check when the task is saved and the
// start when it falls due both ask here, so a task starts the very file that was checked.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velloran {

struct ProgramSearch {
    std::string programFolder; // Velloran's program directory, the current folder of the system's open
    std::string searchPath;    // folders separated by ':', as PATH holds them
};

// The places of this process: the program folder given, and PATH (the system's default where unset).
ProgramSearch programSearchOf(std::string programFolder);

// The absolute path of a task's program, or nothing when there is none:
// - an absolute target is itself, when something exists there;
// - a relative target names something in the program folder, where anything that exists counts (a
//   document or a folder is then opened rather than started);
// - a bare name (no '/') not found there is looked for in the folders of the search path in order, where
//   only an ordinary file this user may execute counts, as a shell looks up a command.
std::optional<std::string> findProgram(std::string_view target, const ProgramSearch& where);

// An ordinary file this user may execute (a link is followed).
bool isExecutableFile(const std::string& path);

} // namespace velloran
