// The program's log: one line per event on standard error, "velloran: " before it. The Qt layers write
// through Qt's categorised logging, which main() routes here.
#pragma once

#include <string_view>

namespace velloran {

void logWarning(std::string_view text);
// A line asked for to find out why something happened: "velloran: debug: " before it.
void logDebug(std::string_view text);

} // namespace velloran
