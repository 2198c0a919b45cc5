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

// True when this user may create and replace files in the folder: the program directory holds tasks.tsk
// then, otherwise the user's data folder does.
bool isWritableFolder(const std::string& folder);

inline constexpr const char* kCompiledHelpFile = "Velloran.chm";
inline constexpr const char* kHtmlManualPage = "manual/index.html";

// What "&Help" opens: the compiled help file when a program is registered to show it, otherwise the HTML
// manual, so that help always shows. A missing file is never chosen over one that is there; with neither,
// the compiled help file's path.
std::string chooseHelpFile(const std::string& programDirectory, bool helpViewerRegistered);
// True when chooseHelpFile needs to know whether a help viewer is registered: both files are there.
bool helpViewerMatters(const std::string& programDirectory);

} // namespace velloran
