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
