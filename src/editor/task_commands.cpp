#include "task_commands.h"

#include "common/text.h"
#include "store/task_kinds.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

namespace velloran {
namespace {

constexpr const char* kUnknownOption = QT_TRANSLATE_NOOP("CommandLine", "Unknown option \"%1\".");
constexpr const char* kUnexpected = QT_TRANSLATE_NOOP("CommandLine", "Unexpected argument \"%1\".");
constexpr const char* kMissingValue = QT_TRANSLATE_NOOP("CommandLine", "The option %1 needs a value.");
constexpr const char* kGivenTwice = QT_TRANSLATE_NOOP("CommandLine", "The option %1 is given twice.");
constexpr const char* kNotWith = QT_TRANSLATE_NOOP("CommandLine", "The option %1 does not go with %2.");
constexpr const char* kUnknownKind = QT_TRANSLATE_NOOP(
    "CommandLine",
    "\"%1\" is not a kind of task.\nKinds: alarm, memo, program, web, audio, video, document, general.");
constexpr const char* kBadDate = QT_TRANSLATE_NOOP(
    "CommandLine", "\"%1\" is not a date and time written as YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS.");
constexpr const char* kNoStart =
    QT_TRANSLATE_NOOP("CommandLine", "The option --at with the task's date and time is missing.");
constexpr const char* kNoTarget = QT_TRANSLATE_NOOP("CommandLine", "A task of the kind %1 needs --target.");
constexpr const char* kBadRepeat = QT_TRANSLATE_NOOP(
    "CommandLine", "\"%1\" is not a repeat.\nRepeats: once, daily, weekly, monthly, yearly.");
constexpr const char* kBadDay =
    QT_TRANSLATE_NOOP("CommandLine", "\"%1\" is not a day.\nDays: mon, tue, wed, thu, fri, sat, sun.");
constexpr const char* kTooLong =
    QT_TRANSLATE_NOOP("CommandLine", "The text of %1 is longer than the %2 bytes that a task keeps.");
constexpr const char* kBadId = QT_TRANSLATE_NOOP("CommandLine", "\"%1\" is not a task id.");
constexpr const char* kUnknownId = QT_TRANSLATE_NOOP("CommandLine", "No task has the id %1.");

constexpr std::array<std::string_view, kTaskKindCount> kKindNames{"alarm", "memo",  "program",  "web",
                                                                  "audio", "video", "document", "general"};
constexpr std::array<std::string_view, 5> kRepeatNames{"once", "daily", "weekly", "monthly", "yearly"};
// Sunday first, as the editor's day boxes.
constexpr std::array<std::string_view, 7> kDayNames{"sun", "mon", "tue", "wed", "thu", "fri", "sat"};

Failure<CommandError> refuse(Refusal refusal, const char* text,
                             std::initializer_list<Message> arguments = {}) {
    return failure(CommandError{refusal, Message(kCommandContext, text, arguments)});
}
Failure<CommandError> usage(const char* text, std::initializer_list<Message> arguments = {}) {
    return refuse(Refusal::Usage, text, arguments);
}

int indexOf(std::string_view name, auto const& names) {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : int(found - names.begin());
}

bool readNumber(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS", every field of its digits, a date that exists.
bool readStart(std::string_view text, DateTime& start) {
    if (text.size() != 16 && text.size() != 19)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char expected = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        if (expected == '0' ? (text[i] < '0' || text[i] > '9') : text[i] != expected)
            return false;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    readNumber(text.substr(0, 4), year);
    readNumber(text.substr(5, 2), month);
    readNumber(text.substr(8, 2), day);
    readNumber(text.substr(11, 2), hour);
    readNumber(text.substr(14, 2), minute);
    if (text.size() == 19)
        readNumber(text.substr(17, 2), second);
    DateTime date = 0;
    if (!tryEncodeDate(year, month, day, date) || hour > 23 || minute > 59 || second > 59)
        return false;
    start = composeDateTime(date, encodeTime(hour, minute, second));
    return true;
}

bool readId(std::string_view text, std::uint32_t& id) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size();
}

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return result;
}

// The options of --add that take a value, and the bytes their record fields keep.
struct ValueOption {
    std::string_view name;
    std::size_t maxBytes;
};
// 0: a value that is read, not kept as it is.
constexpr std::array<ValueOption, 7> kValueOptions{{{"--at", 0},
                                                    {"--note", kLongTextBytes},
                                                    {"--target", kLongTextBytes},
                                                    {"--args", kArgumentBytes},
                                                    {"--repeat", 0},
                                                    {"--days", 0},
                                                    {"--sound", kArgumentBytes}}};
constexpr std::array<std::string_view, 3> kSwitches{"--run-if-missed", "--auto-delete", "--disabled"};

Result<Command, CommandError> readAdd(const std::vector<std::string>& arguments) {
    Command command;
    command.action = CommandAction::Add;
    command.kind = commandKindFromName(lowered(arguments[1]));
    if (command.kind < 0)
        return usage(kUnknownKind, {arguments[1]});
    std::map<std::string_view, std::string> values;
    std::map<std::string_view, bool> switches;
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto valueOption = std::find_if(kValueOptions.begin(), kValueOptions.end(),
                                              [&](const ValueOption& known) { return known.name == option; });
        if (valueOption != kValueOptions.end()) {
            if (i + 1 >= arguments.size())
                return usage(kMissingValue, {option});
            if (!values.emplace(valueOption->name, arguments[++i]).second)
                return usage(kGivenTwice, {option});
            // A memo's line breaks take two bytes each in the record.
            const std::size_t bytes = valueOption->name == "--note" && command.kind == kMemo
                                          ? recordLineBreaks(arguments[i]).size()
                                          : arguments[i].size();
            if (valueOption->maxBytes != 0 && bytes > valueOption->maxBytes)
                return refuse(Refusal::InvalidTask, kTooLong,
                              {option, std::to_string(valueOption->maxBytes)});
        } else if (indexOf(option, kSwitches) >= 0) {
            if (!switches.emplace(option, true).second)
                return usage(kGivenTwice, {option});
        } else {
            return usage(option.starts_with("--") ? kUnknownOption : kUnexpected, {option});
        }
    }
    TaskEntries& entries = command.entries;
    entries.page = command.kind;
    const TaskKindInfo& kind = *taskKind(command.kind);
    if (!values.contains("--at"))
        return usage(kNoStart);
    DateTime start = 0;
    if (!readStart(values["--at"], start))
        return refuse(Refusal::InvalidTask, kBadDate, {values["--at"]});
    entries.date = wholeDays(start);
    entries.time = timeOfDay(start);
    const std::string kindText = arguments[1];
    const auto onlyFor = [&](std::string_view option, bool allowed) {
        return allowed || !values.contains(option);
    };
    if (!onlyFor("--target", kind.target != KindTarget::Fixed))
        return usage(kNotWith, {std::string("--target"), "--add " + kindText});
    if (!onlyFor("--args", kind.action == KindAction::RunProgram))
        return usage(kNotWith, {std::string("--args"), "--add " + kindText});
    if (!onlyFor("--sound", kind.action == KindAction::ShowAlarm))
        return usage(kNotWith, {std::string("--sound"), "--add " + kindText});
    if (kind.target != KindTarget::Fixed && !values.contains("--target"))
        return usage(kNoTarget, {kindText});
    entries.target = values["--target"];
    entries.arguments = values["--args"];
    entries.description = values["--note"];
    entries.repeatType = kOnce;
    if (values.contains("--repeat")) {
        entries.repeatType = indexOf(lowered(values["--repeat"]), kRepeatNames);
        if (entries.repeatType < 0)
            return usage(kBadRepeat, {values["--repeat"]});
    }
    entries.days.fill(true);
    if (values.contains("--days")) {
        if (entries.repeatType != kDaily)
            return usage(kNotWith, {std::string("--days"),
                                    "--repeat " + std::string(kRepeatNames[entries.repeatType])});
        entries.days.fill(false);
        const std::string days = lowered(values["--days"]);
        for (std::size_t begin = 0; begin <= days.size() && !days.empty();) {
            const std::size_t end = std::min(days.find(',', begin), days.size());
            const int day = indexOf(std::string_view(days).substr(begin, end - begin), kDayNames);
            if (day < 0)
                return usage(kBadDay, {days.substr(begin, end - begin)});
            entries.days[std::size_t(day)] = true;
            begin = end + 1;
        }
    }
    entries.runIfMissed = switches.contains("--run-if-missed");
    entries.autoDelete = switches.contains("--auto-delete");
    entries.statusEnabled = !switches.contains("--disabled");
    command.soundGiven = values.contains("--sound");
    entries.alarmSound = values["--sound"];
    return command;
}

void appendEscaped(std::string& out, std::string_view text, bool json) {
    for (const char c : text) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += json ? "\\\"" : "\"";
            break;
        default:
            if (json && static_cast<unsigned char>(c) < 0x20)
                out += "\\u00" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
            else
                out += c;
        }
    }
}

} // namespace

int commandKindFromName(std::string_view name) {
    return indexOf(name, kKindNames);
}

std::string_view commandKindName(int kind) {
    return kind >= 0 && kind < kTaskKindCount ? kKindNames[std::size_t(kind)] : std::string_view("unknown");
}

Result<Command, CommandError> readCommandLine(const std::vector<std::string>& arguments) {
    Command command;
    if (arguments.empty() || !arguments[0].starts_with("--"))
        return command;
    const std::string& request = arguments[0];
    const auto expect = [&](std::size_t count) -> std::optional<CommandError> {
        if (arguments.size() < count)
            return CommandError{Refusal::Usage, Message(kCommandContext, kMissingValue, {request})};
        if (arguments.size() > count)
            return CommandError{Refusal::Usage, Message(kCommandContext, kUnexpected, {arguments[count]})};
        return std::nullopt;
    };
    if (request == "--help" || request == "--version") {
        if (const auto wrong = expect(1))
            return failure(*wrong);
        command.action = request == "--help" ? CommandAction::Help : CommandAction::Version;
    } else if (request == "--list") {
        command.action = CommandAction::List;
        command.json = arguments.size() > 1 && arguments[1] == "--json";
        if (arguments.size() > (command.json ? 2u : 1u))
            return usage(arguments[1].starts_with("--") && !command.json ? kUnknownOption : kUnexpected,
                         {arguments[command.json ? 2 : 1]});
    } else if (request == "--remove" || request == "--enable" || request == "--disable") {
        if (const auto wrong = expect(2))
            return failure(*wrong);
        if (!readId(arguments[1], command.taskId))
            return usage(kBadId, {arguments[1]});
        command.action = request == "--remove"   ? CommandAction::Remove
                         : request == "--enable" ? CommandAction::Enable
                                                 : CommandAction::Disable;
    } else if (request == "--new") {
        if (const auto wrong = expect(2))
            return failure(*wrong);
        command.action = CommandAction::NewTask;
        command.kind = commandKindFromName(lowered(arguments[1]));
        if (command.kind < 0)
            return usage(kUnknownKind, {arguments[1]});
    } else if (request == "--add") {
        if (arguments.size() < 2)
            return usage(kMissingValue, {request});
        return readAdd(arguments);
    } else {
        return usage(kUnknownOption, {request});
    }
    return command;
}

Result<std::string, CommandError> applyCommand(const Command& command, TaskStore& tasks,
                                               const CommandContext& context) {
    const auto unknownId = [&] {
        return refuse(Refusal::UnknownTask, kUnknownId, {std::to_string(command.taskId)});
    };
    switch (command.action) {
    case CommandAction::List:
        return formatListing(listTasks(tasks), command.json);
    case CommandAction::Add: {
        TaskEntries entries = command.entries;
        entries.home = context.home;
        entries.memoFont = context.memoFont;
        if (command.soundGiven) {
            // The sound box offers the folder's files, found in any letter case.
            const auto same = [&](const std::string& name) {
                return lowered(name) == lowered(entries.alarmSound);
            };
            const auto found = std::find_if(context.alarmSounds.begin(), context.alarmSounds.end(), same);
            if (found == context.alarmSounds.end())
                return failure(
                    CommandError{Refusal::InvalidTask,
                                 Message(kEditorContext, kFileNotFoundMessage, {entries.alarmSound})});
            entries.alarmSound = *found;
        } else {
            entries.alarmSound = context.alarmSounds.empty() ? std::string() : context.alarmSounds.front();
        }
        const Result<Task> built =
            checkEntries(entries, context.now, context.pathExists, context.programExists);
        if (!built)
            return failure(CommandError{Refusal::InvalidTask, built.error()});
        return std::to_string(tasks.add(*built, context.unixSecondsNow)) + "\n";
    }
    case CommandAction::Remove:
        if (!tasks.remove(command.taskId))
            return unknownId();
        return std::string();
    case CommandAction::Enable:
    case CommandAction::Disable: {
        const Task* task = tasks.find(command.taskId);
        if (task == nullptr)
            return unknownId();
        if (task->enabled() != (command.action == CommandAction::Enable))
            tasks.toggleEnabled(command.taskId);
        return std::string();
    }
    case CommandAction::Start:
    case CommandAction::Help:
    case CommandAction::Version:
    case CommandAction::NewTask:
        break;
    }
    return std::string();
}

std::vector<TaskListing> listTasks(const TaskStore& tasks) {
    std::vector<TaskListing> listing;
    listing.reserve(tasks.size());
    for (const Task& task : tasks.tasks()) {
        TaskListing row;
        row.id = task.TaskId;
        row.kind = commandKindName(task.TaskType);
        row.nextRun = isoText(task.NextRun);
        row.repeat = task.RepeatType < kRepeatNames.size() ? kRepeatNames[task.RepeatType] : "once";
        row.enabled = task.enabled();
        row.target = displayUtf8(task.Target.view());
        row.description = editorLineBreaks(displayUtf8(task.Description.view()));
        listing.push_back(std::move(row));
    }
    return listing;
}

std::string formatListing(const std::vector<TaskListing>& listing, bool json) {
    std::string out = json ? "[" : "";
    for (const TaskListing& row : listing) {
        if (json) {
            out += out.size() > 1 ? ",\n {" : "\n {";
            out += "\"id\": " + std::to_string(row.id) + ", \"kind\": \"" + row.kind + "\", \"next\": \"" +
                   row.nextRun + "\", \"repeat\": \"" + row.repeat +
                   "\", \"enabled\": " + (row.enabled ? "true" : "false") + ", \"target\": \"";
            appendEscaped(out, row.target, true);
            out += "\", \"description\": \"";
            appendEscaped(out, row.description, true);
            out += "\"}";
        } else {
            out += std::to_string(row.id) + '\t' + row.kind + '\t' + row.nextRun + '\t' + row.repeat + '\t' +
                   (row.enabled ? "enabled" : "disabled") + '\t';
            appendEscaped(out, row.target, false);
            out += '\t';
            appendEscaped(out, row.description, false);
            out += '\n';
        }
    }
    if (json)
        out += listing.empty() ? "]\n" : "\n]\n";
    return out;
}

} // namespace velloran
