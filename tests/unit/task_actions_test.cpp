#include "common/text.h"
#include "scheduler/task_actions.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velloran {
namespace {

using test::at;
using test::makeTask;
using Words = std::vector<std::string>;

struct FakeOpener : Opener {
    std::vector<std::string> opened;
    std::vector<std::pair<std::string, Words>> programs;
    OpenFailureReport lastReport;
    void open(const std::string& target, OpenFailureReport failed) override {
        opened.push_back(target);
        lastReport = std::move(failed);
    }
    void runProgram(const std::string& path, const Words& arguments, OpenFailureReport failed) override {
        lastReport = std::move(failed);
        programs.emplace_back(path, arguments);
    }
};

struct FakeWindows : NotificationWindows {
    std::vector<std::pair<std::string, std::string>> alarms;
    std::vector<std::pair<std::string, std::string>> memos; // text, face copied at once
    std::vector<Occurrence> shown;
    void showAlarm(const std::string& note, const std::string& sound, const Occurrence& occurrence) override {
        alarms.emplace_back(note, sound);
        shown.push_back(occurrence);
    }
    void showMemo(const std::string& text, const FontBlock& font, const Occurrence& occurrence) override {
        memos.emplace_back(text, std::string(fieldText(font.FontName)));
        shown.push_back(occurrence);
    }
    std::vector<std::string> failures; // name, target and reason on one line
    void tellFailure(const std::string& name, const std::string& target, OpenFailure why) override {
        failures.push_back(name + "|" + target + "|" + std::to_string(static_cast<int>(why)));
    }
};

class Actions : public ::testing::Test {
protected:
    test::TempDir programFolder;
    FakeOpener opener;
    FakeWindows windows;
    TaskActions actions{opener, windows, ProgramSearch{programFolder.path(), programFolder.file("bin")}};
};

TEST_F(Actions, AlarmAndMemoGoToTheirWindows) {
    Task alarm = makeTask(kAlarmClock, at(2010, 1, 1));
    alarm.Description = "Wake up";
    alarm.AlarmSound = "bell.wav";
    alarm.TaskId = 7;
    // Moved on already; the window is told the task and the moment it was due, for its notice.
    actions.carryOut(alarm, at(2009, 12, 31, 7, 0));
    ASSERT_EQ(windows.alarms.size(), 1u);
    EXPECT_EQ(windows.alarms[0], std::make_pair(std::string("Wake up"), std::string("bell.wav")));
    EXPECT_EQ(windows.shown[0].taskId, alarm.TaskId);
    EXPECT_EQ(windows.shown[0].due, at(2009, 12, 31, 7, 0));
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(Actions, TwoMemosEachKeepTheirOwnFont) {
    Task first = makeTask(kMemo, at(2010, 1, 1));
    first.Description = "one";
    first.MemoFont.FontName = "Serif";
    Task second = first;
    second.Description = "two";
    second.MemoFont.FontName = "Mono";
    actions.carryOut(first, first.NextRun);
    actions.carryOut(second, second.NextRun);
    ASSERT_EQ(windows.memos.size(), 2u);
    EXPECT_EQ(windows.memos[0], std::make_pair(std::string("one"), std::string("Serif")));
    EXPECT_EQ(windows.memos[1], std::make_pair(std::string("two"), std::string("Mono")));
}

TEST_F(Actions, OpenKindsHandTheTargetOverExactlyAsStored) {
    const std::string odd = "https://example.org/a b?q=$(rm -rf ~);x=`id`&y='1'";
    for (const TaskKind kind : {kWebAddress, kAudio, kVideo, kDocument, kGeneral}) {
        Task task = makeTask(kind, at(2010, 1, 1));
        task.Target = odd;
        actions.carryOut(task, task.NextRun);
    }
    ASSERT_EQ(opener.opened.size(), 5u);
    for (const std::string& target : opener.opened)
        EXPECT_EQ(target, odd);
}

TEST_F(Actions, ExecutableGetsItsArgumentsAsWords) {
    Task task = makeTask(kExecutable, at(2010, 1, 1));
    task.Target = programFolder.file("my program");
    test::writeFile(task.Target.str(), "");
    task.ExeArguments = "--title 'Two words' -x";
    actions.carryOut(task, task.NextRun);
    ASSERT_EQ(opener.programs.size(), 1u);
    EXPECT_EQ(opener.programs[0].first, programFolder.file("my program"));
    EXPECT_EQ(opener.programs[0].second, (Words{"--title", "Two words", "-x"}));
}

// The start gets the absolute path of what the editor's check found: the program folder's file before
// a command of the same name on PATH, PATH's for a name the program folder lacks, nothing for neither.
TEST_F(Actions, ExecutableStartsWhatTheLookupFound) {
    ASSERT_EQ(::mkdir(programFolder.file("bin").c_str(), 0755), 0);
    test::writeFile(programFolder.file("date"), "");
    test::writeFile(programFolder.file("bin/date"), "");
    test::writeFile(programFolder.file("bin/only-on-path"), "");
    ASSERT_EQ(::chmod(programFolder.file("bin/only-on-path").c_str(), 0755), 0);
    for (const char* target : {"date", "only-on-path", "nowhere"}) {
        Task task = makeTask(kExecutable, at(2010, 1, 1));
        task.Target = target;
        actions.carryOut(task, task.NextRun);
    }
    ASSERT_EQ(opener.programs.size(), 2u);
    EXPECT_EQ(opener.programs[0].first, programFolder.file("date"));
    EXPECT_EQ(opener.programs[1].first, programFolder.file("bin/only-on-path"));
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(Actions, UnknownKindDoesNothing) {
    Task task = makeTask(kGeneral, at(2010, 1, 1));
    task.TaskType = 8;
    actions.carryOut(task, task.NextRun);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(opener.programs.empty());
}

// The record moves on either way; the user hears of the task by its description's first line.
TEST_F(Actions, FailuresAreToldWithTheTasksName) {
    Task program = makeTask(kExecutable, at(2026, 3, 1));
    program.Target = "C:\\Windows\\notepad.exe";
    program.Description = "Notes\nsecond line";
    actions.carryOut(program, program.NextRun);
    Task file = makeTask(kDocument, at(2026, 3, 1));
    file.Target = "/gone/report.pdf";
    actions.carryOut(file, file.NextRun);
    ASSERT_TRUE(opener.lastReport);
    opener.lastReport(OpenFailure::FileMissing);
    EXPECT_EQ(windows.failures,
              (Words{"Notes|C:\\Windows\\notepad.exe|0", "/gone/report.pdf|/gone/report.pdf|4"}));
}

TEST(OpenFailures, OpenerExitStatusAndWindowsPaths) {
    EXPECT_EQ(openerFailure(0), std::nullopt);
    EXPECT_EQ(openerFailure(1), OpenFailure::BadRequest);
    EXPECT_EQ(openerFailure(2), OpenFailure::FileMissing);
    EXPECT_EQ(openerFailure(3), OpenFailure::NoProgramForIt);
    EXPECT_EQ(openerFailure(4), OpenFailure::OpenFailed);
    EXPECT_EQ(openerFailure(127), OpenFailure::OpenFailed);
    for (const char* windows : {"C:\\Windows\\notepad.exe", "c:\\x", "\\\\server\\share\\a.pdf"})
        EXPECT_TRUE(isWindowsPath(windows)) << windows;
    for (const char* linux : {"/home/me/C:\\x", "C:", "C:/x", "https://a/b", "notes\\x.txt", ""})
        EXPECT_FALSE(isWindowsPath(linux)) << linux;
}

TEST(SplitArguments, SplitsLikeAShellWithoutExpanding) {
    EXPECT_EQ(splitArguments(""), Words{});
    EXPECT_EQ(splitArguments("   \t "), Words{});
    EXPECT_EQ(splitArguments("a  b\tc"), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitArguments("'a b' \"c d\""), (Words{"a b", "c d"}));
    EXPECT_EQ(splitArguments("x'y z'w"), (Words{"xy zw"}));
    EXPECT_EQ(splitArguments("''"), (Words{""})) << "an empty quoted word is a word";
    EXPECT_EQ(splitArguments("a\\ b"), (Words{"a b"}));
    EXPECT_EQ(splitArguments(R"("say \"hi\" \n")"), (Words{R"(say "hi" \n)"}));
    EXPECT_EQ(splitArguments("'it\\'s'"), (Words{"it\\s"}));
    EXPECT_EQ(splitArguments("$(reboot) ; `id` $HOME *"), (Words{"$(reboot)", ";", "`id`", "$HOME", "*"}));
    EXPECT_EQ(splitArguments("'unterminated quote"), (Words{"unterminated quote"}));
    EXPECT_EQ(splitArguments("-rf --"), (Words{"-rf", "--"}));
}

} // namespace
} // namespace velloran
