// Opens task targets on a Linux desktop: xdg-open for files and web addresses, programs started directly.
#pragma once

#include "scheduler/task_actions.h"

namespace velloran {

class DesktopOpener final : public Opener {
public:
    // The opener program is looked up on PATH; tests put a recording one first.
    explicit DesktopOpener(std::string openerProgram = "xdg-open")
        : openerProgram_(std::move(openerProgram)) {}

    void open(const std::string& target, OpenFailureReport failed = {}) override;
    void runProgram(const std::string& path, const std::vector<std::string>& arguments,
                    OpenFailureReport failed = {}) override;

private:
    std::string openerProgram_;
};

// What the opener is given for a target: the target itself, except that a name beginning with "-" gets
// "./" before it, so that the opener cannot take it for an option. Such a name is always relative: it
// names the same file from the current directory, which the opener shares.
std::string openerArgument(const std::string& target);

} // namespace velloran
