#include "editor/task_commands.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

using test::at;

constexpr std::uint32_t kUnixNow = 1710072000;

// The store holds task 100, an enabled alarm; "/bin/tool" and "/home/u/notes.txt" exist.
CommandContext context() {
    CommandContext c;
    c.now = at(2024, 3, 10, 12, 0, 0);
    c.unixSecondsNow = kUnixNow;
    c.pathExists = [](const std::string& path) { return path == "/home/u/notes.txt"; };
    c.programExists = [](const std::string& path) { return path == "/bin/tool"; };
    c.alarmSounds = {"Chimes.wav", "Digital.wav"};
    c.home = "/home/u";
    return c;
}

TaskStore storeWithOneTask() {
    Task alarm;
    alarm.TaskId = 100;
    alarm.TaskType = kAlarmClock;
    alarm.NextRun = at(2024, 3, 11, 8, 0, 0);
    alarm.Flags = kEnabled;
    alarm.Target = "Alarm Clock";
    TaskList list;
    list.appendLoaded(alarm);
    return TaskStore(std::move(list));
}

// The whole outcome: "ok: <what is printed>" or "<refusal>: <English text>".
std::string outcome(const std::vector<std::string>& arguments, TaskStore& tasks) {
    const auto command = readCommandLine(arguments);
    const auto refused = [](const CommandError& error) {
        static const char* const names[] = {"usage", "invalid", "unknown"};
        return std::string(names[int(error.refusal)]) + ": " + error.text.english();
    };
    if (!command)
        return refused(command.error());
    if (command->action == CommandAction::Start)
        return "start";
    if (command->action == CommandAction::NewTask)
        return "new " + std::to_string(command->kind);
    if (command->action == CommandAction::Help || command->action == CommandAction::Version)
        return command->action == CommandAction::Help ? "help" : "version";
    const auto applied = applyCommand(*command, tasks, context());
    return applied ? "ok: " + *applied : refused(applied.error());
}

TEST(TaskCommands, CommandLinesAndTheirOutcome) {
    const std::string added = "ok: " + std::to_string(kUnixNow) + "\n";
    const std::string longText(1024, 'x');
    const struct {
        std::vector<std::string> arguments;
        std::string expected;
    } cases[] = {
        {{}, "start"},
        {{"hide"}, "start"},
        {{"-platform", "offscreen"}, "start"},
        {{"--help"}, "help"},
        {{"--version"}, "version"},
        {{"--version", "x"}, "usage: Unexpected argument \"x\"."},
        {{"--frobnicate"}, "usage: Unknown option \"--frobnicate\"."},
        {{"--new", "Memo"}, "new 1"},
        {{"--new", "diary"},
         "usage: \"diary\" is not a kind of task.\nKinds: alarm, memo, program, web, audio, "
         "video, document, general."},
        {{"--new"}, "usage: The option --new needs a value."},
        {{"--list", "--xml"}, "usage: Unknown option \"--xml\"."},
        {{"--list", "--json", "x"}, "usage: Unexpected argument \"x\"."},
        // Ids: digits only, within 32 bits, and one that exists.
        {{"--remove", "abc"}, "usage: \"abc\" is not a task id."},
        {{"--remove", "-1"}, "usage: \"-1\" is not a task id."},
        {{"--remove", "4294967296"}, "usage: \"4294967296\" is not a task id."},
        {{"--remove", "101"}, "unknown: No task has the id 101."},
        {{"--enable", "7", "8"}, "usage: Unexpected argument \"8\"."},
        {{"--enable", "100"}, "ok: "},
        // Adding: what the arguments must hold.
        {{"--add"}, "usage: The option --add needs a value."},
        {{"--add", "alarm"}, "usage: The option --at with the task's date and time is missing."},
        {{"--add", "alarm", "--at"}, "usage: The option --at needs a value."},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--at", "2024-03-12 09:00"},
         "usage: The option --at is given twice."},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "extra"}, "usage: Unexpected argument \"extra\"."},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--target", "/x"},
         "usage: The option --target does not go with --add alarm."},
        {{"--add", "web", "--at", "2024-03-11 09:00", "--args", "-v", "--target", "http://example.com/"},
         "usage: The option --args does not go with --add web."},
        {{"--add", "memo", "--at", "2024-03-11 09:00", "--note", "n", "--sound", "Chimes.wav"},
         "usage: The option --sound does not go with --add memo."},
        {{"--add", "document", "--at", "2024-03-11 09:00"},
         "usage: A task of the kind document needs --target."},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--repeat", "hourly"},
         "usage: \"hourly\" is not a repeat.\nRepeats: once, daily, weekly, monthly, yearly."},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--days", "mon"},
         "usage: The option --days does not go with --repeat once."},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--repeat", "daily", "--days", "mon,funday"},
         "usage: \"funday\" is not a day.\nDays: mon, tue, wed, thu, fri, sat, sun."},
        // Dates: ISO only, and one that exists.
        {{"--add", "alarm", "--at", "2024-02-30 09:00"},
         "invalid: \"2024-02-30 09:00\" is not a date and time written as YYYY-MM-DD HH:MM or YYYY-MM-DD "
         "HH:MM:SS."},
        {{"--add", "alarm", "--at", "2024-03-11 24:00"},
         "invalid: \"2024-03-11 24:00\" is not a date and time written as YYYY-MM-DD HH:MM or YYYY-MM-DD "
         "HH:MM:SS."},
        {{"--add", "alarm", "--at", "11.03.2024 09:00"},
         "invalid: \"11.03.2024 09:00\" is not a date and time written as YYYY-MM-DD HH:MM or YYYY-MM-DD "
         "HH:MM:SS."},
        {{"--add", "alarm", "--at", "2024-03-11 9:00"},
         "invalid: \"2024-03-11 9:00\" is not a date and time written as YYYY-MM-DD HH:MM or YYYY-MM-DD "
         "HH:MM:SS."},
        // Lengths as the record's fields keep them; a memo's line break takes two bytes.
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--note", longText},
         "invalid: The text of --note is longer than the 1023 bytes that a task keeps."},
        {{"--add", "memo", "--at", "2024-03-11 09:00", "--note", std::string(1022, 'x') + "\n"},
         "invalid: The text of --note is longer than the 1023 bytes that a task keeps."},
        {{"--add", "program", "--at", "2024-03-11 09:00", "--target", "/bin/tool", "--args",
          std::string(256, 'a')},
         "invalid: The text of --args is longer than the 255 bytes that a task keeps."},
        // Task Setup's own checks, with its texts.
        {{"--add", "alarm", "--at", "2024-03-10 12:00"},
         "invalid: Start Date & Time has elapsed.\nYou must set it for a future time."},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--repeat", "daily", "--days", ""},
         "invalid: You selected to run this task Daily, but\ndid not select any days to run on."},
        {{"--add", "memo", "--at", "2024-03-11 09:00"}, "invalid: You must type a memo to be displayed."},
        {{"--add", "program", "--at", "2024-03-11 09:00", "--target", "/bin/missing"},
         "invalid: /bin/missing\nfile not found."},
        {{"--add", "web", "--at", "2024-03-11 09:00", "--target", "www.example.com"},
         "invalid: Must type a web address or file transfer protocol using http:// or ftp://\n"
         "ex: http://www.example.com/"},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--sound", "Gong.wav"},
         "invalid: Gong.wav\nfile not found."},
        // Accepted.
        {{"--add", "alarm", "--at", "2024-03-10 12:00:01"}, added},
        {{"--add", "Document", "--at", "2024-03-11 09:00", "--target", "~/notes.txt", "--repeat", "Weekly"},
         added},
        {{"--add", "alarm", "--at", "2024-03-11 09:00", "--sound", "digital.WAV", "--repeat", "daily",
          "--days", "MON,fri", "--run-if-missed", "--auto-delete", "--disabled"},
         added},
    };
    for (const auto& c : cases) {
        TaskStore tasks = storeWithOneTask();
        std::string line;
        for (const std::string& argument : c.arguments)
            line += " " + argument.substr(0, 40);
        EXPECT_EQ(outcome(c.arguments, tasks), c.expected) << line;
        // Nothing changes but what an accepted addition adds.
        EXPECT_EQ(tasks.size(), c.expected == added ? 2u : 1u) << line;
    }
}

TEST(TaskCommands, AddedTaskHoldsWhatWasAskedAndTheListShowsIt) {
    TaskStore tasks = storeWithOneTask();
    outcome({"--add", "alarm", "--at", "2024-03-11 09:00", "--sound", "digital.WAV", "--repeat", "daily",
             "--days", "MON,fri", "--auto-delete", "--disabled", "--note", "Tea\there\\"},
            tasks);
    outcome({"--add", "memo", "--at", "2024-03-12 07:05:09", "--note", "a \"b\"\nc"}, tasks);
    const Task& alarm = tasks[1];
    EXPECT_EQ(alarm.AlarmSound.view(), "Digital.wav");
    EXPECT_EQ(alarm.DayMask, dayMaskBit(2) | dayMaskBit(6));
    EXPECT_EQ(alarm.Flags, std::uint32_t(kAutoDelete));
    EXPECT_EQ(tasks[2].Description.view(), "a \"b\"\r\nc");
    const std::string id1 = std::to_string(tasks[1].TaskId), id2 = std::to_string(tasks[2].TaskId);
    EXPECT_EQ(outcome({"--list"}, tasks),
              "ok: 100\talarm\t2024-03-11 08:00:00\tonce\tenabled\tAlarm Clock\t\n" + id1 +
                  "\talarm\t2024-03-11 09:00:00\tdaily\tdisabled\tAlarm Clock\tTea\\there\\\\\n" + id2 +
                  "\tmemo\t2024-03-12 07:05:09\tonce\tenabled\tMemo\ta \"b\"\\nc\n");
    outcome({"--remove", id1}, tasks);
    EXPECT_EQ(outcome({"--disable", "100"}, tasks), "ok: ");
    EXPECT_EQ(
        outcome({"--list", "--json"}, tasks),
        "ok: [\n {\"id\": 100, \"kind\": \"alarm\", \"next\": \"2024-03-11 08:00:00\", \"repeat\": \"once\", "
        "\"enabled\": false, \"target\": \"Alarm Clock\", \"description\": \"\"},\n {\"id\": " +
            id2 +
            ", \"kind\": \"memo\", \"next\": \"2024-03-12 07:05:09\", \"repeat\": \"once\", \"enabled\": "
            "true, \"target\": \"Memo\", \"description\": \"a \\\"b\\\"\\nc\"}\n]\n");
    TaskStore empty;
    EXPECT_EQ(outcome({"--list", "--json"}, empty), "ok: []\n");
}

} // namespace
} // namespace velloran
