#include "desktop_opener.h"

#include "detached_start.h"
#include "logging.h"

#include <cerrno>
#include <cstring>

namespace velloran {

std::string openerArgument(const std::string& target) {
    if (!target.empty() && target.front() == '-')
        return "./" + target;
    return target;
}

// Each argument reaches the program exactly as given: no shell ever sees it. The opener is waited for
// in the background, as its exit status is the only word of a file it could not open.
void DesktopOpener::open(const std::string& target, OpenFailureReport failed) {
    if (target.empty())
        return;
    qCDebug(logOpen, "opening %s with %s", target.c_str(), openerProgram_.c_str());
    startDetached(openerProgram_, {openerArgument(target)}, true,
                  [target, opener = openerProgram_, failed = std::move(failed)](StartOutcome outcome) {
                      std::optional<OpenFailure> why;
                      if (outcome.kind == StartOutcome::Kind::CannotStart) {
                          qCWarning(logOpen, "cannot start %s: %s", opener.c_str(),
                                    std::strerror(outcome.value));
                          why = OpenFailure::NoOpener;
                      } else if (outcome.kind == StartOutcome::Kind::Killed) {
                          why = OpenFailure::OpenFailed;
                      } else if (outcome.kind == StartOutcome::Kind::Exited) {
                          why = openerFailure(outcome.value);
                      }
                      if (why && outcome.kind == StartOutcome::Kind::Exited)
                          qCWarning(logOpen, "%s could not open %s (exit status %d)", opener.c_str(),
                                    target.c_str(), outcome.value);
                      else if (why && outcome.kind == StartOutcome::Kind::Killed)
                          qCWarning(logOpen, "%s ended by signal %d while opening %s", opener.c_str(),
                                    outcome.value, target.c_str());
                      if (why && failed)
                          failed(*why);
                  });
}

void DesktopOpener::runProgram(const std::string& path, const std::vector<std::string>& arguments,
                               OpenFailureReport failed) {
    // The program that was found and checked, never one of the same name on PATH: a bare name is the
    // current folder's.
    const std::string program = path.find('/') == std::string::npos ? "./" + path : path;
    // A script without the execute bit, a .desktop entry or a document is opened the desktop's way.
    if (!isExecutableFile(program)) {
        open(program, std::move(failed));
        return;
    }
    qCDebug(logOpen, "starting %s", program.c_str());
    startDetached(program, arguments, false, [program, failed = std::move(failed)](StartOutcome outcome) {
        if (outcome.kind != StartOutcome::Kind::CannotStart)
            return;
        qCWarning(logOpen, "cannot start %s: %s", program.c_str(), std::strerror(outcome.value));
        if (failed)
            failed(outcome.value == ENOENT ? OpenFailure::ProgramMissing : OpenFailure::CannotStart);
    });
}

} // namespace velloran
