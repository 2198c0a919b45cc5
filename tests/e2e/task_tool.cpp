// Writes and reads tasks.tsk for the end-to-end tests.
//   task_tool write FILE KIND TARGET WHEN REPEAT FLAGS [DESCRIPTION [ALARMSOUND]]...   (groups of five
//     to seven words separated by "--"); WHEN is +SECONDS or -SECONDS from now, or YYYY-MM-DDTHH:MM
//   task_tool dump FILE   one line per task: id kind target nextrun(unix) repeat flags
//   task_tool place-earlier-journal FILE JOURNAL   tasks.tsk and the journal a killed run of the release
//     before left (tests/fixtures/release-before), the journal pointed at this copy of its tasks.tsk
//   task_tool show FILE   one line per task, fields separated by tabs: id kind target nextrun(unix)
//     repeat flags daymask dayofmonth description arguments alarmsound fontname fontsize fontstyle;
//     tabs, line breaks and backslashes inside texts are written as \t, \r, \n and a doubled backslash
#include "common/text.h"
#include "store/task_file.h"
#include "store/task_journal.h"
#include "test_support.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

using namespace velloran;

namespace {

DateTime parseWhen(const std::string& text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        return localDateTimeFromUnix(std::time(nullptr) + std::stoll(text));
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%dT%d:%d", &y, &mo, &d, &h, &mi) != 5)
        std::exit(2);
    DateTime date = 0;
    if (!tryEncodeDate(y, mo, d, date))
        std::exit(2);
    return composeDateTime(date, encodeTime(h, mi, 0));
}

int write(const std::string& path, const std::vector<std::string>& words) {
    TaskList tasks;
    std::uint32_t id = 1000;
    std::size_t i = 0;
    while (i < words.size()) {
        std::vector<std::string> group;
        while (i < words.size() && words[i] != "--")
            group.push_back(words[i++]);
        ++i;
        if (group.size() < 5)
            return 2;
        Task task;
        task.TaskType = static_cast<std::uint8_t>(std::stoi(group[0]));
        task.Target = group[1];
        task.NextRun = parseWhen(group[2]);
        task.RepeatType = static_cast<std::uint8_t>(std::stoi(group[3]));
        task.Flags = static_cast<std::uint32_t>(std::stoul(group[4]));
        task.DayMask = kEveryDay;
        task.DayOfMonth = static_cast<std::int8_t>(decodeDate(task.NextRun).day);
        if (group.size() > 5)
            task.Description = group[5];
        if (group.size() > 6)
            task.AlarmSound = group[6];
        tasks.appendLoaded(task).TaskId = id++;
    }
    if (const Result<void> saved = saveTaskFile(path, tasks); !saved) {
        std::fprintf(stderr, "%s\n", saved.error().english().c_str());
        return 1;
    }
    // As an administrator or an earlier release leaves a shared program folder's file: readable by all.
    return ::chmod(path.c_str(), 0644) == 0 || tasks.empty() ? 0 : 1;
}

int dump(const std::string& path) {
    TaskList tasks;
    if (const TaskFileState state = loadTaskFile(path, tasks).state;
        state == TaskFileState::Absent || state == TaskFileState::Unreadable)
        return 1;
    for (const Task& task : tasks)
        std::printf("%u %d %s %lld %d %u\n", task.TaskId, task.TaskType, task.Target.c_str(),
                    static_cast<long long>(unixFromLocalDateTime(task.NextRun)), task.RepeatType, task.Flags);
    return 0;
}

// One text on one line, whatever it holds.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

int show(const std::string& path) {
    TaskList tasks;
    if (const TaskFileState state = loadTaskFile(path, tasks).state;
        state == TaskFileState::Absent || state == TaskFileState::Unreadable)
        return 1;
    for (const Task& task : tasks)
        std::printf("%u\t%d\t%s\t%lld\t%d\t%u\t%d\t%d\t%s\t%s\t%s\t%s\t%d\t%u\n", task.TaskId, task.TaskType,
                    escaped(task.Target.view()).c_str(),
                    static_cast<long long>(unixFromLocalDateTime(task.NextRun)), task.RepeatType, task.Flags,
                    task.DayMask, task.DayOfMonth, escaped(task.Description.view()).c_str(),
                    escaped(task.ExeArguments.view()).c_str(), escaped(task.AlarmSound.view()).c_str(),
                    escaped(task.MemoFont.FontName.view()).c_str(), task.MemoFont.FontSize,
                    task.MemoFont.FontStyle);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3)
        return 2;
    const std::string command = argv[1];
    if (command == "write")
        return write(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    if (command == "dump")
        return dump(argv[2]);
    if (command == "show")
        return show(argv[2]);
    // The recovery journal the program keeps for this task file, in the state folder given.
    if (command == "journal-path" && argc == 4) {
        std::printf("%s\n", journalPathFor(argv[2], argv[3]).c_str());
        return 0;
    }
    if (command == "place-earlier-journal" && argc == 4) {
        test::placeEarlierJournal(argv[2], argv[3]);
        return 0;
    }
    return 2;
}
