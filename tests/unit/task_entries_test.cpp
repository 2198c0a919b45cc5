#include "editor/editor_files.h"
#include "editor/task_entries.h"
#include "files/file_io.h"

#include "common/text.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

using test::at;

const DateTime kNow = at(2024, 3, 10, 12, 0, 0);

bool anyPathExists(const std::string&) {
    return true;
}

// Entries of a new task as the editor starts them, for tomorrow at 09:30.
TaskEntries entriesFor(int page) {
    TaskEntries entries;
    entries.date = at(2024, 3, 11);
    entries.time = encodeTime(9, 30, 0);
    entries.days.fill(true);
    entries.page = page;
    entries.target = "/opt/thing";
    entries.description = "note";
    setFieldText(entries.memoFont.FontName, "MS Sans Serif");
    entries.memoFont.FontSize = 8;
    return entries;
}

// What the checks gave: the refusal as the whole English text ("" when they pass) and the task built.
struct Checked {
    std::string refusal;
    Task record{};
};

Checked check(const TaskEntries& entries, const PathExists& exists = anyPathExists) {
    const Result<Task> checked = checkEntries(entries, kNow, exists, exists);
    if (!checked)
        return {checked.error().english()};
    return {"", *checked};
}

TEST(TaskEntriesChecks, ElapsedStartIsReportedBeforeEverythingElse) {
    TaskEntries entries = entriesFor(kMemo);
    entries.date = at(2024, 3, 10);
    entries.time = encodeTime(11, 0, 0);
    entries.description.clear();
    entries.repeatType = kDaily;
    entries.days.fill(false);
    EXPECT_EQ(check(entries).refusal, kElapsedStartMessage);

    entries.page = kNoPage;
    EXPECT_EQ(check(entries).refusal, kElapsedStartMessage);
}

TEST(TaskEntriesChecks, StartEqualToNowIsRefusedAndOneSecondLaterAccepted) {
    TaskEntries entries = entriesFor(kAlarmClock);
    entries.date = at(2024, 3, 10);
    entries.time = encodeTime(12, 0, 0);
    EXPECT_EQ(check(entries).refusal, kElapsedStartMessage);

    entries.time = encodeTime(12, 0, 1);
    const Checked accepted = check(entries);
    EXPECT_EQ(accepted.refusal, "");
    EXPECT_DOUBLE_EQ(accepted.record.NextRun, at(2024, 3, 10, 12, 0, 1));
}

TEST(TaskEntriesChecks, StartTakesTheDateOfOnePickerAndTheTimeOfTheOther) {
    TaskEntries entries = entriesFor(kAlarmClock);
    entries.date = at(2024, 3, 12, 23, 59, 0); // a time of day on the date picker does not count
    entries.time = at(1999, 1, 1, 7, 15, 30);  // nor the date on the time picker
    EXPECT_DOUBLE_EQ(check(entries).record.NextRun, at(2024, 3, 12, 7, 15, 30));
    EXPECT_EQ(check(entries).record.DayOfMonth, 12);
}

TEST(TaskEntriesChecks, DailyNeedsADayWhileOtherRepeatsIgnoreTheBoxes) {
    TaskEntries entries = entriesFor(kAlarmClock);
    entries.days.fill(false);
    entries.repeatType = kDaily;
    EXPECT_EQ(check(entries).refusal, kNoDaysMessage);

    entries.repeatType = kWeekly;
    const Checked weekly = check(entries);
    EXPECT_EQ(weekly.refusal, "");
    EXPECT_EQ(weekly.record.DayMask, 0);
    EXPECT_EQ(weekly.record.RepeatType, kWeekly);

    entries.repeatType = kDaily;
    entries.days[0] = true;
    EXPECT_EQ(check(entries).record.DayMask, 0x01);
}

TEST(TaskEntriesChecks, NoDaysIsReportedBeforeThePageChecks) {
    TaskEntries entries = entriesFor(kMemo);
    entries.description.clear();
    entries.repeatType = kDaily;
    entries.days.fill(false);
    EXPECT_EQ(check(entries).refusal, kNoDaysMessage);
    entries.page = kNoPage;
    EXPECT_EQ(check(entries).refusal, kNoDaysMessage);
}

TEST(TaskEntriesChecks, EmptyMemoIsRefusedButBlankLinesAreAMemo) {
    TaskEntries entries = entriesFor(kMemo);
    entries.description.clear();
    EXPECT_EQ(check(entries).refusal, kEmptyMemoMessage);
    entries.description = " \n";
    EXPECT_EQ(check(entries).refusal, "");
}

TEST(TaskEntriesChecks, MissingPathIsRefusedWithThePathAsTyped) {
    for (const int page : {kExecutable, kAudio, kVideo, kDocument, kGeneral}) {
        TaskEntries entries = entriesFor(page);
        entries.target = "";
        EXPECT_EQ(check(entries, pathExists).refusal, "\nfile not found.") << page;
        entries.target = "/no/such/file.txt ";
        EXPECT_EQ(check(entries, pathExists).refusal, "/no/such/file.txt \nfile not found.") << page;
    }
}

TEST(TaskEntriesChecks, PathIsCheckedExactlyAsTypedAndAFolderPasses) {
    test::TempDir dir;
    test::writeFile(dir.file("report.txt"), "x");
    TaskEntries entries = entriesFor(kDocument);
    entries.target = dir.path();
    EXPECT_EQ(check(entries, pathExists).refusal, "");
    entries.target = dir.file("report.txt");
    EXPECT_EQ(check(entries, pathExists).record.TaskType, kDocument);
    entries.target = dir.file("report.txt") + " ";
    EXPECT_NE(check(entries, pathExists).refusal, "");
    entries.target = dir.file("*.txt");
    EXPECT_EQ(check(entries, pathExists).refusal, dir.file("*.txt") + "\nfile not found.");
}

TEST(TaskEntriesChecks, PathFromTheHomeFolderIsCheckedAndStoredInIt) {
    test::TempDir home;
    test::writeFile(home.file("holiday.mp4"), "x");
    TaskEntries entries = entriesFor(kVideo);
    entries.home = home.path();
    entries.target = "~/holiday.mp4";
    const Checked saved = check(entries, pathExists);
    EXPECT_EQ(saved.refusal, "");
    EXPECT_EQ(saved.record.Target.str(), home.file("holiday.mp4"));
    // A refusal shows the path as it was typed.
    entries.target = "~/missing.mp4";
    EXPECT_EQ(check(entries, pathExists).refusal, "~/missing.mp4\nfile not found.");
    // Only a leading "~/" is the home folder; "~user", a bare "~" and a '~' further on are names.
    std::vector<std::string> asked;
    const PathExists recording = [&](const std::string& path) { return asked.push_back(path), true; };
    for (const char* typed : {"~root/holiday.mp4", "~", "/tmp/~/holiday.mp4", "a~/b", "~holiday.mp4"}) {
        entries.target = typed;
        EXPECT_EQ(check(entries, recording).record.Target.str(), typed);
    }
    EXPECT_EQ(asked, (std::vector<std::string>{"~root/holiday.mp4", "~", "/tmp/~/holiday.mp4", "a~/b",
                                               "~holiday.mp4"}));
    // The web address is no path.
    entries = entriesFor(kWebAddress);
    entries.home = home.path();
    entries.target = "http://example.org/~/x";
    EXPECT_EQ(check(entries).record.Target.str(), "http://example.org/~/x");
}

TEST(HomePrefix, OnlyALeadingTildeSlashIsTheHomeFolder) {
    EXPECT_EQ(expandHomePrefix("~/Videos/a b.mp4", "/home/ann"), "/home/ann/Videos/a b.mp4");
    EXPECT_EQ(expandHomePrefix("~/", "/home/ann/"), "/home/ann/");
    EXPECT_EQ(expandHomePrefix("~/x", "/"), "/x");
    EXPECT_EQ(expandHomePrefix("~/x", ""), "~/x"); // no home known: left as typed
    EXPECT_EQ(expandHomePrefix("~", "/home/ann"), "~");
    EXPECT_EQ(expandHomePrefix("~ann/x", "/home/ann"), "~ann/x");
    EXPECT_EQ(expandHomePrefix(" ~/x", "/home/ann"), " ~/x");
    EXPECT_EQ(expandHomePrefix("/x/~/y", "/home/ann"), "/x/~/y");
    EXPECT_EQ(expandHomePrefix("", "/home/ann"), "");
}

TEST(TaskEntriesChecks, AlarmAndWebPagesDoNotCheckPaths) {
    int asked = 0;
    const PathExists counting = [&](const std::string&) { return ++asked, false; };
    TaskEntries entries = entriesFor(kAlarmClock);
    entries.description.clear();
    EXPECT_EQ(check(entries, counting).refusal, "");
    entries = entriesFor(kWebAddress);
    entries.target = "http://example.org";
    EXPECT_EQ(check(entries, counting).refusal, "");
    EXPECT_EQ(asked, 0);
}

TEST(TaskEntriesChecks, WebAddressRule) {
    struct Case {
        const char* address;
        bool valid;
    };
    const Case cases[] = {
        {"http://a.b", false},           {"http://ab.c", false},
        {"http://abc.d", true},          {"HTTP://abc.d", true},
        {"HtTp://abc.d", true},          {"ftp://abc.d", false},
        {"ftp://abcd.e", true},          {"FTP://abcd.e", true},
        {"https://a.b", false},          {"https://a.bc", true},
        {"HTTPS://ab.cd", true},         {"http:/abcdefgh", false},
        {"www.example.com", false},      {" http://abc.de", false},
        {"mailto:someone@x.org", false}, {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidWebAddress(c.address), c.valid) << c.address;
        TaskEntries entries = entriesFor(kWebAddress);
        entries.target = c.address;
        EXPECT_EQ(check(entries).refusal, c.valid ? "" : kWebAddressMessage) << c.address;
    }
    // Characters count, not bytes: five letters after the scheme, one of them two bytes long.
    EXPECT_FALSE(isValidWebAddress("http://\xC3\xA9.de"));
    EXPECT_TRUE(isValidWebAddress("http://\xC3\xA9x.de"));
}

TEST(TaskEntriesChecks, NoPageIsRefusedLast) {
    for (const int page : {kNoPage, -2, 8, 200}) {
        TaskEntries entries = entriesFor(page);
        EXPECT_EQ(check(entries).refusal, kNoPageMessage) << page;
    }
}

TEST(TaskEntriesRecord, TargetsAndTextsByKind) {
    TaskEntries entries = entriesFor(kAlarmClock);
    entries.alarmSound = "Bell.wav";
    entries.arguments = "--quiet";
    Task task = check(entries).record;
    EXPECT_EQ(task.Target.view(), "Alarm Clock");
    EXPECT_EQ(task.AlarmSound.view(), "Bell.wav");
    EXPECT_EQ(task.Description.view(), "note");
    EXPECT_EQ(task.ExeArguments.view(), "");

    entries.page = kMemo;
    entries.description = "line 1\nline 2\n";
    task = check(entries).record;
    EXPECT_EQ(task.TaskType, kMemo);
    EXPECT_EQ(task.Target.view(), "Memo");
    EXPECT_EQ(task.Description.view(), "line 1\r\nline 2\r\n");
    EXPECT_EQ(task.AlarmSound.view(), "");

    entries.page = kExecutable;
    entries.target = "/usr/bin/true ";
    entries.description = "run";
    task = check(entries).record;
    EXPECT_EQ(task.Target.view(), "/usr/bin/true "); // as typed, not trimmed
    EXPECT_EQ(task.ExeArguments.view(), "--quiet");

    entries.page = kGeneral;
    task = check(entries).record;
    EXPECT_EQ(task.TaskType, kGeneral);
    EXPECT_EQ(task.ExeArguments.view(), "");
}

TEST(TaskEntriesRecord, FlagsAndDays) {
    TaskEntries entries = entriesFor(kAlarmClock);
    EXPECT_EQ(check(entries).record.Flags, 0x7u);
    EXPECT_EQ(check(entries).record.DayMask, 0x7F); // the boxes start checked

    entries.statusEnabled = false;
    entries.runIfMissed = false;
    entries.autoDelete = false;
    EXPECT_EQ(check(entries).record.Flags, 0x0u);

    // A repeating task keeps the auto-delete mark of its (then disabled) box.
    entries = entriesFor(kAlarmClock);
    entries.repeatType = kMonthly;
    EXPECT_EQ(check(entries).record.Flags & kAutoDelete, kAutoDelete);

    entries.repeatType = kDaily;
    entries.days = {false, true, false, false, false, true, false};
    EXPECT_EQ(check(entries).record.DayMask, 0x22);
}

TEST(TaskEntriesRecord, DailyStartIsStoredAsChosen) {
    TaskEntries entries = entriesFor(kAlarmClock);
    entries.date = at(2024, 3, 12); // a Tuesday
    entries.time = encodeTime(8, 0, 0);
    entries.repeatType = kDaily;
    entries.days = {false, true, false, false, false, false, false};
    const Task task = check(entries).record;
    EXPECT_DOUBLE_EQ(task.NextRun, at(2024, 3, 12, 8, 0, 0));
    EXPECT_EQ(dayOfWeek(task.NextRun), 3);
}

TEST(TaskEntriesRecord, MemoFontBlockComesFromTheMemoBox) {
    for (const std::uint32_t style : {0x3u, 0x5u}) {
        TaskEntries entries = entriesFor(kMemo);
        entries.memoFont.FontStyle = style;
        entries.memoFont.FontColor = 0x0000FF;
        entries.memoFont.FontCharset = 0;
        const Task task = check(entries).record;
        EXPECT_EQ(task.MemoFont.FontStyle, style);
        EXPECT_EQ(task.MemoFont.FontColor, 0x0000FF);
        EXPECT_EQ(task.MemoFont.FontName.view(), "MS Sans Serif");
        EXPECT_EQ(task.MemoFont.FontSize, 8);
    }
}

TEST(TaskEntriesRecord, LongTextsAreCutOnACharacterBoundary) {
    TaskEntries entries = entriesFor(kExecutable);
    entries.target = std::string(1022, 'a') + "\xC3\xA9";
    entries.arguments = std::string(300, 'x');
    const Task task = check(entries).record;
    EXPECT_EQ(task.Target.view(), std::string(1022, 'a'));
    EXPECT_EQ(task.ExeArguments.view().size(), 255u);
}

class StoreTaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::uint32_t id : {100u, 200u, 300u}) {
            Task task = test::makeTask(kAlarmClock, at(2024, 1, 31, 8, 0, 0), kMonthly);
            task.TaskId = id;
            task.Reserved1 = 77;
            loaded.appendLoaded(task);
        }
        tasks = TaskStore(loaded);
    }
    std::vector<std::uint32_t> ids() const {
        std::vector<std::uint32_t> result;
        for (const Task& task : tasks.tasks())
            result.push_back(task.TaskId);
        return result;
    }
    TaskList loaded;
    TaskStore tasks;
};

TEST_F(StoreTaskTest, NewTaskIsAppendedWithItsId) {
    const Task built = check(entriesFor(kMemo)).record;
    EXPECT_EQ(storeTask(tasks, built, true, 0, 5000), 5000u);
    EXPECT_EQ(storeTask(tasks, built, true, 0, 5000), 5001u); // same second, still unique
    EXPECT_EQ(ids(), (std::vector<std::uint32_t>{100, 200, 300, 5000, 5001}));

    TaskStore empty;
    EXPECT_EQ(storeTask(empty, built, true, 0, 42), 42u);
    EXPECT_EQ(empty.size(), 1u);
}

TEST_F(StoreTaskTest, EditThatChangesTheKindKeepsIdPlaceAndReservedFields) {
    TaskEntries entries = entriesFor(kMemo);
    entries.description = "now a memo";
    EXPECT_EQ(storeTask(tasks, check(entries).record, false, 200, 5000), 200u);
    EXPECT_EQ(ids(), (std::vector<std::uint32_t>{100, 200, 300}));
    const Task& edited = *tasks.find(200);
    EXPECT_EQ(edited.TaskType, kMemo);
    EXPECT_EQ(edited.Target.view(), "Memo");
    EXPECT_EQ(edited.Description.view(), "now a memo");
    EXPECT_EQ(edited.AlarmSound.view(), "");
    EXPECT_EQ(edited.Reserved1, 77);
    EXPECT_EQ(tasks.find(100)->TaskType, kAlarmClock);
}

TEST_F(StoreTaskTest, EditedMonthlyTaskTakesTheDayOfTheDateItSaves) {
    // Anchored on the 31st, moved by the scan to 28 February, saved with the date as shown.
    Task anchored = *tasks.find(300);
    anchored.DayOfMonth = 31;
    tasks.update(300, anchored);
    TaskEntries entries = entriesFor(kAlarmClock);
    entries.repeatType = kMonthly;
    entries.date = at(2025, 2, 28);
    storeTask(tasks, *checkEntries(entries, kNow, anyPathExists, anyPathExists), false, 300, 0);
    EXPECT_EQ(tasks.find(300)->DayOfMonth, 28);

    entries.date = at(2025, 3, 15);
    storeTask(tasks, *checkEntries(entries, kNow, anyPathExists, anyPathExists), false, 300, 0);
    EXPECT_EQ(tasks.find(300)->DayOfMonth, 15);
    EXPECT_DOUBLE_EQ(tasks.find(300)->NextRun, at(2025, 3, 15, 9, 30, 0));
}

TEST_F(StoreTaskTest, VanishedTaskChangesNothing) {
    const Task built = check(entriesFor(kMemo)).record;
    EXPECT_EQ(storeTask(tasks, built, false, 999, 5000), std::nullopt);
    EXPECT_EQ(ids(), (std::vector<std::uint32_t>{100, 200, 300}));
    TaskStore empty;
    EXPECT_EQ(storeTask(empty, built, false, 100, 5000), std::nullopt);
    EXPECT_TRUE(empty.empty());
}

TEST_F(StoreTaskTest, DuplicateIdsEditTheFirstInListOrder) {
    loaded.appendLoaded(*loaded.findTask(200));
    tasks = TaskStore(loaded);
    storeTask(tasks, check(entriesFor(kMemo)).record, false, 200, 0);
    EXPECT_EQ(tasks[1].TaskType, kMemo);
    EXPECT_EQ(tasks[3].TaskType, kAlarmClock);
}

TEST(MemoLineBreaks, EditorAndRecordFormsConvert) {
    EXPECT_EQ(recordLineBreaks("a\nb\n\nc"), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(recordLineBreaks("a\r\nb"), "a\r\nb");
    EXPECT_EQ(recordLineBreaks("\n"), "\r\n");
    EXPECT_EQ(editorLineBreaks("a\r\nb\r\n\r\nc"), "a\nb\n\nc");
    EXPECT_EQ(editorLineBreaks("a\rb\nc\r"), "a\nb\nc\n");
    EXPECT_EQ(editorLineBreaks(recordLineBreaks("x\ny\n")), "x\ny\n");
}

} // namespace
} // namespace velloran
