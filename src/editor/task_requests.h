// Requests on the tasks from outside the windows: the command line and the bus. The running program
// applies them through its store; a command line that finds none running applies them itself, holding
// the task file's lock, with no display.
#pragma once

#include "shell/command_request.h"
#include "task_commands.h"

#include <QList>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <string>
#include <vector>

namespace velloran {

// What applying a request needs, as Task Setup has it: the clock, where programs and sounds are found,
// the user's memo font.
CommandContext commandContextFor(const std::string& programDirectory, const FontBlock& memoFont);

// The text of a refusal in the user's language; the usage follows a command line that cannot be read.
QString refusalText(const CommandError& error);

// The tasks as the bus lists them: the list's fields, "id" a number and "enabled" a truth value.
QList<QVariantMap> busListing(const TaskStore& tasks);

// The running program's side.
class TaskRequests {
public:
    TaskRequests(TaskStore& tasks, std::function<CommandContext()> context,
                 std::function<void(int kind)> showNewTask, std::function<void()> changed)
        : tasks_(tasks), context_(std::move(context)), showNewTask_(std::move(showNewTask)),
          changed_(std::move(changed)) {}

    // Reads and applies one request given as command-line arguments: what to print, or why not.
    Result<std::string, CommandError> run(const std::vector<std::string>& arguments);
    // The same, answered as a command line is answered.
    CommandReply answer(const std::vector<std::string>& arguments);

private:
    TaskStore& tasks_;
    std::function<CommandContext()> context_;
    std::function<void(int)> showNewTask_;
    std::function<void()> changed_;
};

// The command line's side, for every request but a plain start: prints what it has to say and returns the
// exit status. A request for the tasks goes to the running Velloran of this user on the task file;
// where none runs, it is applied here. Needs a QCoreApplication, no display.
int runCommandLine(const Command& command, const std::vector<std::string>& arguments,
                   const std::string& taskFile, const std::string& programDirectory);

// For "--new KIND": hands it to the running Velloran of this user on the task file. False when none runs
// there (and this start is to open Task Setup itself); otherwise status is the exit status.
bool handToRunningInstance(const std::vector<std::string>& arguments, const std::string& taskFile,
                           int& status);

} // namespace velloran
