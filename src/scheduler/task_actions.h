// What a due task does: alarm and memo tasks open their windows, every other kind opens its target.
#pragma once

#include "due_scan.h"
#include "program_search.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

// Why a task's target was not opened or its program not started.
enum class OpenFailure {
    ProgramMissing, // the program is not there (any more)
    CannotStart,    // the program is there but cannot be started
    NoOpener,       // the desktop's opener is not installed
    BadRequest,     // the opener did not understand what it was given
    FileMissing,    // the file is not there
    NoProgramForIt, // no program on this desktop opens it
    OpenFailed,     // the program for it reported a failure
};
using OpenFailureReport = std::function<void(OpenFailure)>;

// Opens targets with the desktop's programs, never through a shell and without waiting. A failure found
// later is told to failed, if given, on the same thread.
class Opener {
public:
    virtual ~Opener() = default;
    // A file path or web address, exactly as stored, with the program the desktop associates with it.
    virtual void open(const std::string& target, OpenFailureReport failed = {}) = 0;
    // Starts the program at path (absolute, as findProgram found it) with its arguments; a path that is
    // not an executable file is opened instead.
    virtual void runProgram(const std::string& path, const std::vector<std::string>& arguments,
                            OpenFailureReport failed = {}) = 0;
};

// What the opener's exit status says: 1 syntax, 2 file not found, 3 no program for it, 4 failed.
std::optional<OpenFailure> openerFailure(int exitStatus);

// A drive letter and backslashes: a path written on Windows, which names nothing here.
bool isWindowsPath(std::string_view target);

// Which task a window is shown for, and when the occurrence it shows was due.
struct Occurrence {
    std::uint32_t taskId = 0;
    DateTime due = 0;
};

// The windows that alarm and memo tasks open.
class NotificationWindows {
public:
    virtual ~NotificationWindows() = default;
    virtual void showAlarm(const std::string& note, const std::string& soundFile,
                           const Occurrence& occurrence) = 0;
    // The font block stays valid only for the call: a window takes what it needs at once.
    virtual void showMemo(const std::string& text, const FontBlock& font, const Occurrence& occurrence) = 0;
    // Tells the user that a task did nothing: name is the task's, target what it was to open.
    virtual void tellFailure(const std::string& name, const std::string& target, OpenFailure why) {
        (void)name, (void)target, (void)why;
    }
};

class TaskActions final : public TaskActionSink {
public:
    // programs: where an Executable task's program is looked for, as the editor looked when it was saved.
    TaskActions(Opener& opener, NotificationWindows& windows, ProgramSearch programs)
        : opener_(opener), windows_(windows), programs_(std::move(programs)) {}
    void carryOut(const Task& task, DateTime due) override;

private:
    Opener& opener_;
    NotificationWindows& windows_;
    ProgramSearch programs_;
};

// Splits program arguments as a shell splits words: blanks separate, quotes group, a backslash escapes;
// nothing is expanded or substituted.
std::vector<std::string> splitArguments(std::string_view text);

} // namespace velloran
