// The task store when things go wrong: files it cannot read, damaged files, interrupted saves, crashes
// between save points, and journals that do not belong to the task file.
#include "common/text.h"
#include "files/atomic_file.h"
#include "scheduler/due_scan.h"
#include "store/task_file.h"
#include "store/task_store.h"
#include "test_support.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran {
namespace {

using test::at;
using test::fileExists;
using test::makeTask;
using test::readFile;
using test::TempDir;
using test::writeFile;

struct RecordingSink : TaskActionSink {
    std::vector<std::uint32_t> runs;
    void carryOut(const Task& task, DateTime) override { runs.push_back(task.TaskId); }
};

Task describedTask(const std::string& description, DateTime nextRun, RepeatKind repeat = kOnce,
                   std::uint32_t flags = kEnabled) {
    Task task = makeTask(kGeneral, nextRun, repeat, flags);
    task.Description = description;
    return task;
}

// A task file of whole records with the given ids, as an earlier run saved it.
std::string recordsWithIds(std::initializer_list<std::uint32_t> ids) {
    TaskList list;
    for (const std::uint32_t id : ids)
        list.appendLoaded(describedTask("task " + std::to_string(id), at(2030, 1, 1, 9, 0))).TaskId = id;
    return taskFileBytes(list);
}

std::vector<std::uint32_t> idsOf(const TaskStore& store) {
    std::vector<std::uint32_t> ids;
    for (const Task& task : store.tasks())
        ids.push_back(task.TaskId);
    return ids;
}

class TaskStoreFaults : public ::testing::Test {
protected:
    std::string taskFile() const { return dir.file("tasks.tsk"); }
    std::string journal() const { return dir.file("state/velloran/tasks.journal"); }
    // A run of the program: a store opened on the same files, as start-up opens it.
    TaskStore start() {
        TaskStore store(taskFile(), journal());
        store.open();
        return store;
    }

    TempDir dir;
};

TEST_F(TaskStoreFaults, UnreadableFileIsNeverWrittenAndThisRunsTasksGoBesideIt) {
    const std::string original = recordsWithIds({1, 2});
    writeFile(taskFile(), original);
    ASSERT_EQ(chmod(taskFile().c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    writeFile(taskFile() + ".unsaved", "an earlier run's"); // never written over
    ASSERT_EQ(chmod((taskFile() + ".unsaved").c_str(), 0666), 0);
    {
        test::WithoutRootRights ordinaryUser;
        ASSERT_TRUE(ordinaryUser.ok());
        TaskStore store = start();
        EXPECT_TRUE(store.empty());
        EXPECT_EQ(
            told(store.takeNotices()),
            std::vector<std::string>{"The task file \"" + taskFile() +
                                     "\" could not be read: Permission denied.\nVelloran leaves it as it "
                                     "is and starts without its tasks. Tasks you create or change now "
                                     "are saved beside it."});
        // The editor saves a task and closes; then the main window is closed.
        store.add(describedTask("made now", at(2030, 2, 1, 9, 0)), 5000);
        EXPECT_EQ(store.save(), "");
        EXPECT_EQ(store.save(), "");
        EXPECT_EQ(told(store.takeNotices()),
                  std::vector<std::string>{"\"" + taskFile() +
                                           "\" could not be read when Velloran started, so it is left as it "
                                           "was. Your tasks were saved to \"" +
                                           taskFile() + ".unsaved-2\"."});
        EXPECT_FALSE(fileExists(journal())) << "nothing is recorded against a file this run could not read";
    }
    ASSERT_EQ(chmod(taskFile().c_str(), 0644), 0);
    EXPECT_EQ(readFile(taskFile()), original);
    EXPECT_EQ(readFile(taskFile() + ".unsaved"), "an earlier run's");
    TaskList saved;
    ASSERT_EQ(loadTaskFile(taskFile() + ".unsaved-2", saved).state, TaskFileState::Loaded);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].Description.view(), "made now");
}

TEST_F(TaskStoreFaults, FolderInThePlaceOfTheFileIsLeftAlone) {
    ASSERT_EQ(mkdir(taskFile().c_str(), 0755), 0);
    writeFile(taskFile() + "/inside", "x");
    TaskStore store = start();
    const auto notices = told(store.takeNotices());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("could not be read: Is a directory."), std::string::npos) << notices[0];
    store.add(describedTask("a", at(2030, 2, 1, 9, 0)), 5000);
    EXPECT_EQ(store.save(), "");
    EXPECT_EQ(readFile(taskFile() + "/inside"), "x");
    EXPECT_TRUE(fileExists(taskFile() + ".unsaved"));
}

TEST_F(TaskStoreFaults, ReadErrorMidFileMakesItUnreadable) {
    // A stream that delivers one whole record and part of the next, then fails as a bad disk does.
    struct Source {
        std::string bytes;
        std::size_t at = 0;
    } source{recordsWithIds({1, 2, 3}).substr(0, 3888 + 1000)};
    cookie_io_functions_t io{};
    io.read = [](void* cookie, char* buffer, std::size_t size) -> ssize_t {
        auto* from = static_cast<Source*>(cookie);
        if (from->at >= from->bytes.size()) {
            errno = EIO;
            return -1;
        }
        const std::size_t count = std::min(size, from->bytes.size() - from->at);
        std::memcpy(buffer, from->bytes.data() + from->at, count);
        from->at += count;
        return static_cast<ssize_t>(count);
    };
    std::FILE* stream = fopencookie(&source, "r", io);
    ASSERT_NE(stream, nullptr);
    TaskList tasks;
    const TaskFileLoad load = readTaskRecords(stream, tasks);
    std::fclose(stream);
    EXPECT_EQ(load.state, TaskFileState::Unreadable);
    EXPECT_EQ(load.reason, "Input/output error");
    EXPECT_TRUE(tasks.empty()) << "a file read in part is not taken for the whole";
}

TEST_F(TaskStoreFaults, PartialLastRecordIsKeptOnceThenWrittenWithoutIt) {
    const std::string original = recordsWithIds({1, 2}) + std::string(100, '\x7f');
    writeFile(taskFile(), original);
    TaskStore store = start();
    EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(told(store.takeNotices()),
              std::vector<std::string>{"The last task in \"" + taskFile() +
                                       "\" is incomplete (100 bytes) and could not be read; the other tasks "
                                       "were loaded.\nThe file as it was is kept as \"" +
                                       taskFile() + ".damaged\"."});
    EXPECT_EQ(readFile(taskFile() + ".damaged"), original);
    EXPECT_EQ(store.save(), "");
    EXPECT_EQ(readFile(taskFile()).size(), 7776u);
    EXPECT_EQ(readFile(taskFile() + ".damaged"), original) << "the kept copy is not the rewritten file";

    // One record and a second one short by a single byte: the first loads.
    writeFile(taskFile(), recordsWithIds({7, 8}).substr(0, 3888 + 3887));
    TaskStore again = start();
    EXPECT_EQ(idsOf(again), std::vector<std::uint32_t>{7});
    const auto notices = told(again.takeNotices());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("(3887 bytes)"), std::string::npos);
    EXPECT_NE(notices[0].find("kept as \"" + taskFile() + ".damaged-2\""), std::string::npos) << notices[0];
}

TEST_F(TaskStoreFaults, EmptyFileLoadsNoTasksSilentlyAndTheNextSaveDeletesIt) {
    writeFile(taskFile(), "");
    TaskStore store = start();
    EXPECT_TRUE(store.empty());
    EXPECT_TRUE(told(store.takeNotices()).empty());
    EXPECT_EQ(store.save(), "");
    EXPECT_FALSE(fileExists(taskFile()));
}

TEST_F(TaskStoreFaults, FileThatVanishesIsWrittenAgainAndOneReplacedIsKept) {
    writeFile(taskFile(), recordsWithIds({1}));
    TaskStore store = start();
    std::filesystem::remove(taskFile());
    EXPECT_EQ(store.save(), "");
    EXPECT_EQ(readFile(taskFile()), recordsWithIds({1}));
    EXPECT_TRUE(told(store.takeNotices()).empty());

    const std::string theirs = recordsWithIds({5, 6});
    writeFile(taskFile() + ".new", theirs);
    std::filesystem::rename(taskFile() + ".new", taskFile()); // another program saved meanwhile
    EXPECT_EQ(store.save(), "");
    EXPECT_EQ(readFile(taskFile()), recordsWithIds({1}));
    EXPECT_EQ(readFile(taskFile() + ".replaced"), theirs);
    EXPECT_EQ(
        told(store.takeNotices()),
        std::vector<std::string>{"\"" + taskFile() +
                                 "\" was changed by another program while Velloran ran. That version is "
                                 "kept as \"" +
                                 taskFile() + ".replaced\". Velloran's tasks were saved in its place."});
    EXPECT_EQ(store.save(), "");
    EXPECT_TRUE(told(store.takeNotices()).empty()) << "its own save is not taken for another program's";
}

TEST_F(TaskStoreFaults, TasksThatRanBeforeACrashDoNotRunAgain) {
    const DateTime nine = at(2030, 3, 4, 9, 0);
    {
        TaskStore first(taskFile(), journal());
        first.open();
        first.add(describedTask("daily", nine, kDaily), 100);
        first.add(describedTask("once", nine, kOnce, kEnabled | kAutoDelete), 100);
        first.add(describedTask("kept", nine + 10), 100);
        ASSERT_EQ(first.save(), ""); // the editor closed
        RecordingSink sink;
        scanDueTasks(first, nine, sink);
        EXPECT_EQ(sink.runs, (std::vector<std::uint32_t>{100, 101}));
        // Killed here: no save point.
    }
    for (int restart = 0; restart < 3; ++restart) {
        TaskStore store = start();
        if (restart == 0) {
            EXPECT_EQ(told(store.takeNotices()),
                      std::vector<std::string>{"Velloran did not end normally last time. The changes made to "
                                               "your tasks since they were last saved have been recovered."});
        }
        EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{100, 102})) << "the removed task stays removed";
        EXPECT_EQ(store[0].NextRun, nine + 1.0);
        RecordingSink sink;
        scanDueTasks(store, nine + encodeTime(0, 0, 5), sink);
        EXPECT_TRUE(sink.runs.empty()) << "restart " << restart;
    }
}

TEST_F(TaskStoreFaults, CommandsAndEditsSurviveACrashAndASaveDropsTheJournal) {
    writeFile(taskFile(), recordsWithIds({1, 2, 3}));
    const std::string saved = readFile(taskFile());
    {
        TaskStore store = start();
        store.remove(2);
        store.toggleEnabled(3);
        Task edited = *store.find(1);
        edited.Description = "edited";
        store.update(1, edited);
        store.add(describedTask("new", at(2031, 1, 1, 8, 0)), 9000);
        EXPECT_EQ(readFile(taskFile()), saved) << "tasks.tsk changes only at a save point";
    }
    TaskStore store = start();
    EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{1, 3, 9000}));
    EXPECT_EQ(store[0].Description.view(), "edited");
    EXPECT_FALSE(store[1].enabled());
    EXPECT_EQ(told(store.takeNotices()).size(), 1u);
    EXPECT_EQ(store.save(), "");
    EXPECT_FALSE(fileExists(journal()));
    EXPECT_TRUE(told(start().takeNotices()).empty()) << "nothing left to recover after a save";
}

TEST_F(TaskStoreFaults, JournalCutOffMidEntryReplaysWhatCameBefore) {
    writeFile(taskFile(), recordsWithIds({1, 2, 3}));
    {
        TaskStore store = start();
        store.remove(1);
        store.remove(2);
    }
    const std::string whole = readFile(journal());
    writeFile(journal(), whole.substr(0, whole.size() - 3)); // a crash while the second was written
    {
        TaskStore store = start();
        EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{2, 3}));
        store.remove(3); // recorded behind the recovered entries, not behind the torn one
    }
    EXPECT_EQ(idsOf(start()), std::vector<std::uint32_t>{2});
}

TEST_F(TaskStoreFaults, JournalOfAnotherTaskFileIsKeptAsideAndNotApplied) {
    writeFile(taskFile(), recordsWithIds({1, 2}));
    {
        TaskStore store = start();
        store.remove(1);
    }
    // Meanwhile the file was replaced, say by a backup put back.
    writeFile(taskFile() + ".new", recordsWithIds({1, 2, 4}));
    std::filesystem::rename(taskFile() + ".new", taskFile());
    TaskStore store = start();
    EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{1, 2, 4}));
    EXPECT_EQ(told(store.takeNotices()), std::vector<std::string>{test::notAppliedNotice(
                                             "\"" + taskFile() + "\" has been replaced since",
                                             "The changes are kept in \"" + journal() + ".unmatched\".")});
    EXPECT_TRUE(fileExists(journal() + ".unmatched"));
    EXPECT_FALSE(fileExists(journal()));
}

TEST_F(TaskStoreFaults, SameSizeRewriteWithItsTimeRestoredIsNoticed) {
    writeFile(taskFile(), recordsWithIds({1, 2}));
    {
        TaskStore store = start();
        store.remove(2);
    }
    // Rewritten in place to the same size and given back its time: the same file to stat, not in what
    // it holds.
    struct stat before {};
    ASSERT_EQ(stat(taskFile().c_str(), &before), 0);
    {
        std::FILE* file = std::fopen(taskFile().c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        const std::string other = recordsWithIds({1, 5});
        std::fwrite(other.data(), 1, other.size(), file);
        std::fclose(file);
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, taskFile().c_str(), times, 0), 0);

    TaskStore store = start();
    EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{1, 5}));
    EXPECT_EQ(told(store.takeNotices()), std::vector<std::string>{test::notAppliedNotice(
                                             "\"" + taskFile() + "\" has been replaced since",
                                             "The changes are kept in \"" + journal() + ".unmatched\".")});
}

TEST_F(TaskStoreFaults, InterruptedSavesLeaveNoTemporaryBehind) {
    writeFile(taskFile(), recordsWithIds({1}));
    writeFile(dir.file(".tasks.tsk.a1B2c3"), std::string(5000, 'x')); // a save killed half way
    writeFile(dir.file(".tasks.tsk.keep"), "not a temporary of ours");
    writeFile(dir.file(".other.tsk.a1B2c3"), "another file's");
    AtomicFile running(taskFile(), 0644); // a save still under way in another process
    ASSERT_TRUE(running.open());
    TaskStore store = start();
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left.size(), 4u) << "tasks.tsk, the two others and the running save's temporary";
    EXPECT_EQ(std::count(left.begin(), left.end(), ".tasks.tsk.a1B2c3"), 0);
    for (const char* kept : {".other.tsk.a1B2c3", ".tasks.tsk.keep", "tasks.tsk"})
        EXPECT_EQ(std::count(left.begin(), left.end(), kept), 1) << kept;
    EXPECT_TRUE(running.write("x", 1) && running.commit()) << "the running save still completes";
    EXPECT_EQ(idsOf(store), std::vector<std::uint32_t>{1});
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST_F(TaskStoreFaults, NewFileIsTheUsersAloneAnExistingOneKeepsItsModeAndALinkIsWrittenThrough) {
    namespace fs = std::filesystem;
    const std::string linked = dir.file("sync/tasks.tsk");
    {
        TaskStore store = start();
        store.add(describedTask("a", at(2030, 2, 1, 9, 0)), 5000);
        EXPECT_EQ(store.save(), "");
        EXPECT_EQ(modeOf(taskFile()), 0600u);
        ASSERT_EQ(::chmod(taskFile().c_str(), 0640), 0);
        store.add(describedTask("b", at(2030, 2, 1, 9, 0)), 6000);
        EXPECT_EQ(store.save(), "");
        EXPECT_EQ(modeOf(taskFile()), 0640u);
    }
    fs::create_directories(dir.file("sync"));
    fs::rename(taskFile(), linked);
    fs::create_symlink("sync/tasks.tsk", taskFile());
    writeFile(dir.file("sync/.tasks.tsk.a1B2c3"), "a save through the link, killed");
    {
        TaskStore store = start();
        EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{5000, 6000}));
        EXPECT_FALSE(fileExists(dir.file("sync/.tasks.tsk.a1B2c3")));
        store.remove(5000);
        EXPECT_EQ(store.save(), "");
        EXPECT_TRUE(fs::is_symlink(taskFile()));
        EXPECT_EQ(modeOf(linked), 0640u);
        // The last task gone: the linked file goes, the link stays and is written through again.
        store.remove(6000);
        EXPECT_EQ(store.save(), "");
        EXPECT_TRUE(fs::is_symlink(taskFile()));
        EXPECT_FALSE(fileExists(linked));
        store.add(describedTask("c", at(2030, 2, 1, 9, 0)), 7000);
        EXPECT_EQ(store.save(), "");
        EXPECT_TRUE(fs::is_symlink(taskFile()));
        EXPECT_EQ(modeOf(linked), 0600u);
    }
    EXPECT_EQ(idsOf(start()), std::vector<std::uint32_t>{7000});
    if (::geteuid() != 0)
        return;
    // A link another user put in a folder both may write to is replaced, never followed.
    ASSERT_EQ(::lchown(taskFile().c_str(), 65534, 65534), 0);
    const std::string before = readFile(linked);
    TaskStore store = start();
    store.add(describedTask("d", at(2030, 2, 1, 9, 0)), 8000);
    EXPECT_EQ(store.save(), "");
    EXPECT_FALSE(fs::is_symlink(taskFile()));
    EXPECT_EQ(readFile(linked), before);
    EXPECT_EQ(modeOf(taskFile()), 0600u);
}

TEST(WrittenPath, FollowsTheUsersLinksToTheirEndAndNothingElse) {
    TempDir dir;
    const std::string d = dir.path() + "/";
    std::filesystem::create_directories(d + "sync/deeper");
    const auto link = [&](const std::string& name, const std::string& target) {
        std::filesystem::create_symlink(target, d + name);
    };
    writeFile(d + "plain", "x");
    link("relative", "sync/tasks.tsk"); // dangling: the save makes the file
    link("absolute", d + "sync/tasks.tsk");
    link("sync/chain", "deeper/../../relative"); // relative to the link's own folder, then on
    link("loop-a", "loop-b");
    link("loop-b", "loop-a");
    const std::vector<std::pair<std::string, std::string>> cases{
        {"plain", d + "plain"},
        {"missing", d + "missing"},
        {"relative", d + "sync/tasks.tsk"},
        {"absolute", d + "sync/tasks.tsk"},
        {"sync/chain", d + "sync/tasks.tsk"},
    };
    for (const auto& [name, written] : cases)
        EXPECT_EQ(std::filesystem::path(writtenPath(d + name)).lexically_normal(),
                  std::filesystem::path(written))
            << name;
    // A loop ends where the system would give up: a link, which a save then replaces.
    EXPECT_TRUE(std::filesystem::is_symlink(writtenPath(d + "loop-a")));
}

TEST_F(TaskStoreFaults, JournalThatCannotBeWrittenIsToldOnce) {
    writeFile(taskFile(), recordsWithIds({1, 2}));
    writeFile(dir.file("state"), "a file where the state folder should be");
    TaskStore store = start();
    store.remove(1);
    store.remove(2);
    const auto notices = told(store.takeNotices());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].rfind("Changes to your tasks cannot be recorded for recovery after a crash: ", 0),
              0u)
        << notices[0];
    EXPECT_EQ(store.save(), "") << "the save point still writes the tasks";
    EXPECT_FALSE(fileExists(taskFile()));
}

} // namespace
} // namespace velloran
