#include "common/text.h"
#include "store/task_file.h"
#include "test_support.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

using test::at;
using test::makeTask;
using test::readFile;
using test::TempDir;
using test::writeFile;

template <typename T> T valueAt(const std::string& bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

Task fullRecord() {
    Task task = makeTask(kExecutable, at(2009, 12, 3, 14, 5), kDaily, kEnabled | kAutoDelete, 0x22);
    task.Target = "/usr/bin/xterm";
    task.ExeArguments = "-e 'top -d 2'";
    task.DayOfMonth = 3;
    task.Description = "Überblick\r\nline two";
    task.AlarmSound = "ring.wav";
    task.MemoFont.FontCharset = 1;
    task.MemoFont.FontColor = 0x00FF8000;
    task.MemoFont.FontName = "DejaVu Sans";
    task.MemoFont.FontSize = 12;
    task.MemoFont.FontStyle = kFontBold | kFontItalic;
    return task;
}

TEST(TaskRecordFormat, FieldsSitAtTheirStoredOffsets) {
    TaskList tasks;
    Task task = fullRecord();
    task.Flags = kEnabled | kRunIfMissed | kAutoDelete;
    tasks.appendLoaded(task).TaskId = 0x11223344;
    TempDir dir;
    ASSERT_EQ(saveTaskFile(dir.file("tasks.tsk"), tasks), "");
    const std::string bytes = readFile(dir.file("tasks.tsk"));
    ASSERT_EQ(bytes.size(), 3888u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x44\x33\x22\x11", 4)) << "little-endian TaskId";
    EXPECT_EQ(bytes[4], kExecutable);
    EXPECT_EQ(bytes.substr(5, 15), std::string("/usr/bin/xterm\0", 15));
    EXPECT_EQ(bytes.substr(1029, 14), std::string("-e 'top -d 2'\0", 14));
    EXPECT_EQ(valueAt<double>(bytes, 1288), at(2009, 12, 3, 14, 5));
    EXPECT_EQ(bytes[1300], kDaily);
    EXPECT_EQ(bytes[1301], 3);
    EXPECT_EQ(bytes.substr(1302, 10), "Überblick");
    EXPECT_EQ(bytes.substr(2326, 9), std::string("ring.wav\0", 9));
    EXPECT_EQ(static_cast<unsigned char>(bytes[2582]), 0x22);
    EXPECT_EQ(valueAt<std::uint32_t>(bytes, 2584), 0x7u);
    EXPECT_EQ(bytes[2588], 1);
    EXPECT_EQ(valueAt<std::int32_t>(bytes, 2592), 0x00FF8000);
    EXPECT_EQ(bytes.substr(2596, 12), std::string("DejaVu Sans\0", 12));
    EXPECT_EQ(valueAt<std::int32_t>(bytes, 2852), 12);
    EXPECT_EQ(valueAt<std::uint32_t>(bytes, 2856), 0x3u);
}

TEST(TaskRecordFormat, TextWithoutTerminatorIsReadOnlyToTheFieldEnd) {
    TaskRecord task = emptyTaskRecord();
    std::memset(task.AlarmSound, 'x', sizeof task.AlarmSound);
    std::memset(task.Description, 'y', sizeof task.Description);
    EXPECT_EQ(fieldText(task.AlarmSound), std::string(256, 'x'));
    EXPECT_EQ(fieldText(task.Description), std::string(1024, 'y'));
}

TEST(TaskRecordFormat, StoredTextsStopShortOfTheFieldAndNeverSplitACharacter) {
    TaskRecord task = emptyTaskRecord();
    setFieldText(task.ExeArguments, std::string(254, 'a') + "é"); // 256 bytes
    EXPECT_EQ(fieldText(task.ExeArguments), std::string(254, 'a'));
    setFieldText(task.Target, std::string(2000, 'b'));
    EXPECT_EQ(fieldText(task.Target).size(), 1023u);
}

TEST(TaskFile, RoundTripKeepsEveryMeaningfulByte) {
    TempDir dir;
    const std::string path = dir.file("tasks.tsk");
    TaskList saved;
    saved.appendLoaded(fullRecord()).TaskId = 42;
    Task memo = fullRecord();
    memo.TaskType = kMemo;
    memo.NextRun = at(1850, 2, 1, 23, 59); // before 1899: a negative value
    saved.appendLoaded(memo).TaskId = 7;
    ASSERT_EQ(saveTaskFile(path, saved), "");

    TaskList loaded;
    ASSERT_EQ(loadTaskFile(path, loaded).state, TaskFileState::Loaded);
    ASSERT_EQ(loaded.size(), 2u);
    auto a = saved.begin();
    for (const Task& task : loaded) {
        EXPECT_EQ(task, *a);
        ++a;
    }
    EXPECT_EQ(loaded.begin()->TaskId, 42u);
    EXPECT_EQ(std::next(loaded.begin())->TaskId, 7u) << "stored ids survive, in file order";
}

TEST(TaskFile, TrailingBytesOfAPartialRecordAreDropped) {
    TempDir dir;
    const std::string path = dir.file("tasks.tsk");
    TaskList tasks;
    tasks.appendNew(fullRecord(), 1);
    tasks.appendNew(fullRecord(), 2);
    ASSERT_EQ(saveTaskFile(path, tasks), "");
    writeFile(path, readFile(path) + std::string(100, '\x7f'));

    TaskList loaded;
    const TaskFileLoad load = loadTaskFile(path, loaded);
    EXPECT_EQ(load.state, TaskFileState::PartialLastRecord);
    EXPECT_EQ(load.strayBytes, 100u);
    EXPECT_EQ(loaded.size(), 2u);
    ASSERT_EQ(saveTaskFile(path, loaded), "");
    EXPECT_EQ(readFile(path).size(), 7776u);
}

TEST(TaskFile, EmptyFileLoadsNoTasksAndNextSaveDeletesIt) {
    TempDir dir;
    const std::string path = dir.file("tasks.tsk");
    writeFile(path, "");
    TaskList tasks;
    tasks.appendNew(fullRecord(), 5);
    ASSERT_EQ(loadTaskFile(path, tasks).state, TaskFileState::Loaded);
    EXPECT_TRUE(tasks.empty()) << "loading replaces what the list held";
    EXPECT_EQ(saveTaskFile(path, tasks), "");
    EXPECT_FALSE(test::fileExists(path));
    EXPECT_EQ(saveTaskFile(path, tasks), "") << "deleting a missing file is no error";
}

TEST(TaskFile, MissingFileIsAbsentNotUnreadable) {
    TempDir dir;
    TaskList tasks;
    tasks.appendNew(fullRecord(), 5);
    const TaskFileLoad load = loadTaskFile(dir.file("absent.tsk"), tasks);
    EXPECT_EQ(load.state, TaskFileState::Absent);
    EXPECT_FALSE(load.identity.present);
    EXPECT_TRUE(tasks.empty());
}

TEST(TaskFile, FailedSaveReportsWhyAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("tasks.tsk");
    TaskList tasks;
    tasks.appendNew(fullRecord(), 1);
    ASSERT_EQ(saveTaskFile(path, tasks), "");
    const std::string before = readFile(path);

    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    tasks.appendNew(fullRecord(), 2);
    std::string error;
    std::string deleteError;
    {
        test::WithoutRootRights ordinaryUser;
        ASSERT_TRUE(ordinaryUser.ok());
        error = told(saveTaskFile(path, tasks));
        TaskList none;
        deleteError = told(saveTaskFile(path, none));
    }
    EXPECT_NE(error.find("tasks.tsk"), std::string::npos) << error;
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    EXPECT_NE(deleteError, "") << "a file that cannot be deleted is reported too";
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readFile(path), before);
}

TEST(TaskFile, WriteFailingHalfwayKeepsTheOldFile) {
    // A file-size limit makes the write fail mid-way, as a full disk would, even for root.
    TempDir dir;
    const std::string path = dir.file("tasks.tsk");
    TaskList tasks;
    tasks.appendNew(fullRecord(), 1);
    ASSERT_EQ(saveTaskFile(path, tasks), "");
    const std::string before = readFile(path);
    for (std::uint32_t id = 2; id < 40; ++id)
        tasks.appendNew(fullRecord(), id);

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 20000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = told(saveTaskFile(path, tasks));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST(TaskFile, SaveIntoAMissingFolderFailsCleanly) {
    TempDir dir;
    TaskList tasks;
    tasks.appendNew(fullRecord(), 1);
    EXPECT_NE(saveTaskFile(dir.file("no/such/folder/tasks.tsk"), tasks), "");
}

TEST(TaskFile, SaveLeavesNoTemporaryFilesAndKeepsPermissions) {
    TempDir dir;
    const std::string path = dir.file("tasks.tsk");
    TaskList tasks;
    tasks.appendNew(fullRecord(), 1);
    ASSERT_EQ(saveTaskFile(path, tasks), "");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(saveTaskFile(path, tasks), "");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(TaskList, SameSecondIdsStayUnique) {
    TaskList tasks;
    const std::uint32_t a = tasks.appendNew(fullRecord(), 1000).TaskId;
    const std::uint32_t b = tasks.appendNew(fullRecord(), 1000).TaskId;
    const std::uint32_t c = tasks.appendNew(fullRecord(), 1000).TaskId;
    const std::uint32_t d = tasks.appendNew(fullRecord(), 1001).TaskId;
    EXPECT_EQ(a, 1000u);
    EXPECT_EQ(b, 1001u);
    EXPECT_EQ(c, 1002u);
    EXPECT_EQ(d, 1003u);
    EXPECT_EQ(tasks.findTask(1002)->TaskId, c);
    EXPECT_EQ(tasks.indexOf(1002), 2u);
}

TEST(TaskList, LoadedDuplicateIdsAreKeptAndTheFirstWins) {
    TaskList tasks;
    Task first = fullRecord();
    first.Description = "first";
    Task second = fullRecord();
    second.Description = "second";
    tasks.appendLoaded(first).TaskId = 9;
    tasks.appendLoaded(second).TaskId = 9;
    EXPECT_EQ(tasks.findTask(9)->Description, "first");
    EXPECT_EQ(tasks.findTask(10), nullptr);
}

TEST(TaskList, RemoveKeepsOrderAndMovesTheHead) {
    TaskList tasks;
    for (std::uint32_t id = 1; id <= 3; ++id)
        tasks.appendNew(fullRecord(), id);
    tasks.removeAt(*tasks.indexOf(1));
    EXPECT_EQ(tasks.begin()->TaskId, 2u);
    tasks.removeAt(*tasks.indexOf(3));
    tasks.removeAt(*tasks.indexOf(2));
    EXPECT_TRUE(tasks.empty());
}

} // namespace
} // namespace velloran
