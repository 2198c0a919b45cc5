// Starts programs that outlive this one: in a session of their own, with only the standard descriptors
// (0, 1 and 2) and the environment of this program, and nothing else of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velloran {

struct StartOutcome {
    enum class Kind { Started, CannotStart, Exited, Killed };
    Kind kind = Kind::Started;
    int value = 0; // errno for CannotStart, the exit status for Exited, the signal for Killed
};

// program is run as given (a path; no PATH search when it holds a "/", else PATH is searched).
// done, if given, is called on this thread's event loop once the outcome is known: Started or
// CannotStart as soon as the program runs or cannot; with waitForExit, Exited or Killed once it ends.
// Only the descriptors 0, 1 and 2 reach the program, so that nothing this program holds open (a sound
// file, a lock, a socket) is kept open by a program that runs on after it.
void startDetached(const std::string& program, const std::vector<std::string>& arguments, bool waitForExit,
                   std::function<void(StartOutcome)> done = {});

// For a child that another launcher forks (QProcess's modifier): every descriptor from 3 up is closed as
// the program starts, so that it gets only 0, 1 and 2 of this program's descriptors, whatever a library
// opened without close-on-exec. Safe between fork and exec.
void closeOnExecAboveStandard();

} // namespace velloran
