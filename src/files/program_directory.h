// The folder of the running executable, where tasks.tsk, Sounds/ and the help file live, and the
// user's data folder that holds tasks.tsk when the program directory is read-only.
#pragma once

#include <string>

namespace velloran {

// The folder of /proc/self/exe with a trailing '/'; the current folder's when it cannot be read.
std::string programDirectory();

// $XDG_DATA_HOME/velloran/ (an absolute XDG_DATA_HOME only), else ~/.local/share/velloran/; with a
// trailing '/'. Nothing is created.
std::string userDataFolder();

// $XDG_STATE_HOME/velloran/ (an absolute XDG_STATE_HOME only), else ~/.local/state/velloran/; with a
// trailing '/'. Nothing is created.
std::string userStateFolder();

// True when this user may create and replace files in the folder.
bool isWritableFolder(const std::string& folder);

// The folder of tasks.tsk, with a trailing '/': the program directory when this user may write there,
// otherwise the user's data folder, created (0700) when missing. A data folder made here starts with a
// copy of the program directory's tasks.tsk, so that tasks kept there are not left behind.
std::string taskFileFolder(const std::string& programDirectory);
// The same with the writability of the program directory and the data folder given, for tests.
std::string taskFileFolder(const std::string& programDirectory, bool programDirectoryWritable,
                           const std::string& dataFolder);

inline constexpr const char* kCompiledHelpFile = "Velloran.chm";
inline constexpr const char* kHtmlManualPage = "manual/index.html";

// What "&Help" opens: the compiled help file when a program is registered to show it, otherwise the HTML
// manual, so that help always shows. A missing file is never chosen over one that is there; with neither,
// the compiled help file's path.
std::string chooseHelpFile(const std::string& programDirectory, bool helpViewerRegistered);
// True when chooseHelpFile needs to know whether a help viewer is registered: both files are there.
bool helpViewerMatters(const std::string& programDirectory);

} // namespace velloran
