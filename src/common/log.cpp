#include "log.h"

#include <cstdio>
#include <string>

namespace velloran {

void logWarning(std::string_view text) {
    // One write per line, so that lines of two threads never mix.
    const std::string line = "velloran: " + std::string(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void logDebug(std::string_view text) {
    logWarning("debug: " + std::string(text));
}

} // namespace velloran
