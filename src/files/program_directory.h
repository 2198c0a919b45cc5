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

// The manual in another language than English: manual/<language>/index.html.
std::string translatedManualPage(const std::string& language);

// What "&Help" opens: the manual in the user's language (language, "" for English) where there is one;
// otherwise the compiled help file when a program is registered to show it, else the HTML manual, so
// that help always shows. A missing file is never chosen over one that is there; with none, the
// compiled help file's path.
std::string chooseHelpFile(const std::string& programDirectory, bool helpViewerRegistered,
                           const std::string& language = {});
// True when chooseHelpFile needs to know whether a help viewer is registered: both the compiled help and
// the English manual are there, and no manual in the user's language.
bool helpViewerMatters(const std::string& programDirectory, const std::string& language = {});

} // namespace velloran
