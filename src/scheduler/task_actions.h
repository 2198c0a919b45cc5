// What a due task does: alarm and memo tasks open their windows, every other kind opens its target.
#pragma once

#include "due_scan.h"
#include "program_search.h"

#include <string>
#include <string_view>
#include <vector>

namespace velloran {

// Opens targets with the desktop's programs, never through a shell and without waiting.
class Opener {
public:
    virtual ~Opener() = default;
    // A file path or web address, exactly as stored, with the program the desktop associates with it.
    virtual void open(const std::string& target) = 0;
    // Starts the program at path (absolute, as findProgram found it) with its arguments; a path that is
    // not an executable file is opened instead.
    virtual void runProgram(const std::string& path, const std::vector<std::string>& arguments) = 0;
};

// The windows that alarm and memo tasks open.
class NotificationWindows {
public:
    virtual ~NotificationWindows() = default;
    virtual void showAlarm(const std::string& note, const std::string& soundFile) = 0;
    // The font block stays valid only for the call: a window takes what it needs at once.
    virtual void showMemo(const std::string& text, const FontBlock& font) = 0;
};

class TaskActions final : public TaskActionSink {
public:
    // programs: where an Executable task's program is looked for, as the editor looked when it was saved.
    TaskActions(Opener& opener, NotificationWindows& windows, ProgramSearch programs)
        : opener_(opener), windows_(windows), programs_(std::move(programs)) {}
    void carryOut(const Task& task) override;

private:
    Opener& opener_;
    NotificationWindows& windows_;
    ProgramSearch programs_;
};

// Splits program arguments as a shell splits words: blanks separate, quotes group, a backslash escapes;
// nothing is expanded or substituted.
std::vector<std::string> splitArguments(std::string_view text);

} // namespace velloran
