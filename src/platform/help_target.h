// The file that "&Help" opens: the compiled help file where the desktop has a program for it, otherwise
// the HTML manual beside it, which any browser shows.
#pragma once

#include <string>

namespace velloran {

inline constexpr const char* kHelpMimeType = "application/vnd.ms-htmlhelp";

// The desktop entry registered for a MIME type, as `xdg-mime query default` prints it; empty when none
// is, or when the query cannot run, fails or takes longer than timeoutMs (it is then stopped).
std::string defaultApplicationFor(const std::string& mimeType, int timeoutMs = 2000,
                                  const std::string& queryProgram = "xdg-mime");

// The path to open for help in this program directory (which ends with '/').
std::string helpTarget(const std::string& programDirectory);

} // namespace velloran
