// The folder of the running executable, where tasks.tsk, Sounds/ and the help file live.
#pragma once

#include <string>

namespace velloran {

// The folder of /proc/self/exe with a trailing '/'; the current folder's when it cannot be read.
std::string programDirectory();

} // namespace velloran
