// The command line's requests on the tasks (list, add, remove, switch on or off, open Task Setup): how
// they are read from the arguments and how they are applied to a task store. A task added this way passes
// the same checks as Task Setup's Save, with the same texts.
#pragma once

#include "common/result.h"
#include "task_entries.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velloran {

inline constexpr const char* kCommandContext = "CommandLine";

enum class CommandAction {
    Start,   // no request: the program starts as always ("hide": in the tray)
    Help,    // the usage
    Version, // the program's name and version
    List,
    Add,
    Remove,
    Enable,
    Disable,
    NewTask, // Task Setup for a kind, in the running program
};

struct Command {
    CommandAction action = CommandAction::Start;
    bool json = false;        // List
    std::uint32_t taskId = 0; // Remove, Enable, Disable
    int kind = -1;            // Add, NewTask
    TaskEntries entries;      // Add: all but the sound's default, the memo font and the home folder
    bool soundGiven = false;
};

// Why a request was refused: how the caller reports it (exit status 2, or a D-Bus error of that name).
enum class Refusal {
    Usage,       // the arguments cannot be read; the usage follows the message
    InvalidTask, // Task Setup's Save would refuse it too
    UnknownTask, // no task has that id
};

struct CommandError {
    Refusal refusal = Refusal::Usage;
    Message text;
};

// Reads the arguments after the program's name. A first argument that is not an option of this command
// line ("hide", or an option of the toolkit) is a plain start.
Result<Command, CommandError> readCommandLine(const std::vector<std::string>& arguments);

// The kind's name on the command line ("alarm", "program", ...), by kind code; -1 for an unknown name.
int commandKindFromName(std::string_view name);
std::string_view commandKindName(int kind);

// What applying a request needs besides the store.
struct CommandContext {
    DateTime now = 0;
    std::uint32_t unixSecondsNow = 0;
    PathExists pathExists;
    PathExists programExists;
    std::vector<std::string> alarmSounds; // the sound folder's files; the first is an alarm's default
    FontBlock memoFont{};                 // a new memo's font
    std::string home;
};

// Applies List, Add, Remove, Enable or Disable to the store: what to print on success (the list, the new
// task's id, or nothing), otherwise why nothing changed.
Result<std::string, CommandError> applyCommand(const Command& command, TaskStore& tasks,
                                               const CommandContext& context);

// One task as the list gives it.
struct TaskListing {
    std::uint32_t id = 0;
    std::string kind;
    std::string nextRun; // local time, "YYYY-MM-DD HH:MM:SS"
    std::string repeat;
    bool enabled = false;
    std::string target;
    std::string description;
};
std::vector<TaskListing> listTasks(const TaskStore& tasks);
// One line a task, its fields separated by tabs (a tab, line break or backslash in a text written as \t,
// \n or \\), or a JSON array of objects with the same fields.
std::string formatListing(const std::vector<TaskListing>& listing, bool json);

// The usage, in the context kCommandContext; %1 is the program's name.
inline constexpr const char* kUsageText = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Usage: %1 [hide]\n"
    "       %1 --help | --version\n"
    "       %1 --list [--json]\n"
    "       %1 --add KIND --at \"YYYY-MM-DD HH:MM[:SS]\" [options]\n"
    "       %1 --remove ID | --enable ID | --disable ID\n"
    "       %1 --new KIND\n"
    "\n"
    "KIND: alarm, memo, program, web, audio, video, document, general\n"
    "Options of --add:\n"
    "  --note TEXT          the description; the memo's text\n"
    "  --target PATH        the file, program or web address (not for alarm and memo)\n"
    "  --args TEXT          the program's arguments\n"
    "  --repeat REPEAT      once (the default), daily, weekly, monthly or yearly\n"
    "  --days DAYS          the days of a daily task: mon,tue,wed,thu,fri,sat,sun (all by default)\n"
    "  --run-if-missed      run it at the next start when it was missed\n"
    "  --auto-delete        delete a task that runs once after it ran\n"
    "  --disabled           add it switched off\n"
    "  --sound FILE         the alarm's sound, a file in the sound folder\n"
    "\n"
    "A running Velloran carries out each request; where none runs, the task file is changed directly.\n"
    "Exit status: 0 done, 2 refused (bad arguments, a task Task Setup would refuse, an unknown id),\n"
    "1 the task file could not be used.");

} // namespace velloran
