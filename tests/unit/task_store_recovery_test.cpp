// Recovery from what a crash, a power cut or a failing disk leaves: damaged journals, a task file known
// by its content rather than where it lies, saves that fail, journal folders that cannot be written.
#include "files/content_checksum.h"
#include "scheduler/due_scan.h"
#include "store/task_journal.h"
#include "store/task_store.h"
#include "test_support.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::at;
using test::fileExists;
using test::makeTask;
using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr std::size_t kJournalHeader = 36;
constexpr std::size_t kRemoveEntry = 4 + 9 + 4; // length, kind index id, checksum

class TaskStoreRecovery : public ::testing::Test {
protected:
    TaskStoreRecovery() {
        fs::create_directories(dir.file("state/velloran"));
        TaskList tasks;
        for (std::uint32_t id = 1; id <= 3; ++id)
            tasks.appendLoaded(makeTask(kGeneral, at(2030, 1, 1, 9, 0))).TaskId = id;
        EXPECT_EQ(saveTaskFile(taskFile(), tasks), "");
    }
    std::string taskFile() const { return dir.file("tasks.tsk"); }
    std::string journal() const { return journalPathFor(taskFile(), dir.file("state/velloran")); }
    std::string sharedJournal() const { return dir.file("state/velloran/tasks.journal"); }
    TaskStore start() {
        TaskStore store(taskFile(), journal());
        store.open();
        return store;
    }
    static std::vector<std::uint32_t> idsOf(const TaskStore& store) {
        std::vector<std::uint32_t> ids;
        for (const Task& task : store.tasks())
            ids.push_back(task.TaskId);
        return ids;
    }
    // A run that removes task 1, then 2, then disables 3, and is killed before it saves.
    void killedRun() {
        TaskStore store = start();
        store.remove(1);
        store.remove(2);
        store.toggleEnabled(3);
    }

    TempDir dir;
};

TEST_F(TaskStoreRecovery, JournalDamagedPartWayIsKeptAppliedUpToTheDamageAndTold) {
    killedRun();
    std::string damaged = readFile(journal());
    damaged.replace(kJournalHeader + kRemoveEntry, 4, 4, '\0'); // the second entry's length zeroed
    writeFile(journal(), damaged);
    {
        TaskStore store = start();
        EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{2, 3}));
        EXPECT_TRUE(store[1].enabled()) << "nothing after the damage is applied";
        EXPECT_EQ(
            told(store.takeNotices()),
            std::vector<std::string>{
                "Velloran did not end normally last time, and the record of the changes made to your "
                "tasks since they were last saved is damaged. The changes recorded before the damage have "
                "been recovered; those after it are lost: tasks added, edited or deleted then are as they "
                "were before, and tasks that ran then may run again.\nThe damaged record \"" +
                journal() + "\" is kept as \"" + journal() + ".damaged\"."});
        EXPECT_EQ(readFile(journal() + ".damaged"), damaged);
    }
    TaskStore again = start();
    EXPECT_EQ(idsOf(again), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_EQ(told(again.takeNotices()).size(), 1u) << "the recovered change is still not saved";
    EXPECT_EQ(readFile(journal() + ".damaged"), damaged);
    EXPECT_FALSE(fileExists(journal() + ".damaged-2")) << "the rewritten journal is whole";
}

TEST_F(TaskStoreRecovery, JournalWithADamagedHeaderIsKeptAndToldAndNothingApplied) {
    killedRun();
    std::string damaged = readFile(journal());
    damaged[10] ^= 0x40;
    writeFile(journal(), damaged);
    TaskStore store = start();
    EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(told(store.takeNotices()),
              std::vector<std::string>{
                  "Velloran did not end normally last time, and the record of the changes made to your tasks "
                  "since they were last saved is damaged, so none of them could be recovered: tasks added, "
                  "edited or deleted since then are as they were at that save, and tasks that ran since then "
                  "may run again.\nThe damaged record \"" +
                  journal() + "\" is kept as \"" + journal() + ".damaged\"."});
    EXPECT_FALSE(fileExists(journal()));
    EXPECT_TRUE(told(start().takeNotices()).empty()) << "told once";
}

TEST_F(TaskStoreRecovery, JournalCutAnywhereInItsLastEntryIsATornEndNotDamage) {
    killedRun();
    const std::string whole = readFile(journal());
    const std::size_t lastEntry = kJournalHeader + 2 * kRemoveEntry;
    for (std::size_t size = lastEntry; size < whole.size(); ++size) {
        for (const bool zeros : {false, true}) {
            // A power cut may also leave the end of the file as zeros.
            writeFile(journal(),
                      whole.substr(0, size) + (zeros ? std::string(whole.size() - size, '\0') : ""));
            TaskStore store = start();
            EXPECT_EQ(idsOf(store), std::vector<std::uint32_t>{3}) << size;
            EXPECT_TRUE(store[0].enabled()) << size;
            const auto notices = told(store.takeNotices());
            ASSERT_EQ(notices.size(), 1u) << size;
            EXPECT_EQ(notices[0].rfind("Velloran did not end normally last time.", 0), 0u) << notices[0];
            EXPECT_EQ(readFile(journal()).size(), lastEntry) << "rewritten without the torn end";
        }
    }
    EXPECT_FALSE(fileExists(journal() + ".damaged"));
}

// Killed while task 2's action was carried out, task 1's done: the next start knows task 2 may not have
// run once its record and its move on are both whole; cut anywhere before that, it is still due.
TEST_F(TaskStoreRecovery, OccurrenceKilledWhileCarriedOutIsFoundOnlyWithItsMoveOnAndOnce) {
    {
        TaskStore store = start();
        struct KilledAtTask2 : TaskActionSink {
            void carryOut(const Task& task, DateTime) override {
                if (task.TaskId == 2)
                    throw 2;
            }
        } sink;
        EXPECT_THROW(scanDueTasks(store, at(2030, 1, 1, 9, 0), sink), int);
    }
    const std::string whole = readFile(journal());
    constexpr std::size_t kDue = 4 + 1 + sizeof(TaskRecord) + 4;
    constexpr std::size_t kReschedule = 4 + 21 + 4;
    const std::size_t task2 = whole.size() - kReschedule - kDue;
    for (std::size_t size = task2; size <= whole.size(); ++size) {
        writeFile(journal(), whole.substr(0, size));
        TaskStore store = start();
        const std::vector<Task> interrupted = store.takeInterrupted();
        ASSERT_EQ(interrupted.size(), size == whole.size() ? 1u : 0u) << size;
        EXPECT_EQ(store[1].enabled(), size != whole.size()) << size << ": task 2 is left to the scan";
        if (interrupted.empty())
            continue;
        EXPECT_EQ(interrupted[0].TaskId, 2u);
        EXPECT_EQ(interrupted[0].NextRun, at(2030, 1, 1, 9, 0));
        store.recordDone(2, interrupted[0].NextRun);
        store.flushChanges();
        EXPECT_TRUE(start().takeInterrupted().empty()) << "found once it is recorded done";
    }
}

TEST_F(TaskStoreRecovery, TaskFileMovedToAnotherPlaceOnDiskIsStillTheFileTheJournalBelongsTo) {
    killedRun();
    // The same bytes in another file with another time, as after a restore or a remount under another
    // device number: what the file holds decides.
    const std::string bytes = readFile(taskFile());
    fs::remove(taskFile());
    writeFile(taskFile() + ".copy", bytes);
    fs::rename(taskFile() + ".copy", taskFile());
    TaskStore store = start();
    EXPECT_EQ(idsOf(store), std::vector<std::uint32_t>{3});
    EXPECT_FALSE(store[0].enabled());
    const auto notices = told(store.takeNotices());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].rfind("Velloran did not end normally last time.", 0), 0u) << notices[0];
}

TEST_F(TaskStoreRecovery, SaveThatFailsWritesTheTasksBesideAndSaysWhere) {
    TaskStore store = start();
    store.remove(2);
    // The file is replaced by a folder while the program runs: no save can replace it.
    fs::remove(taskFile());
    fs::create_directory(taskFile());
    store.add(makeTask(kMemo, at(2030, 5, 1, 9, 0)), 9000);
    EXPECT_EQ(store.save(), "Cannot replace \"" + taskFile() + "\": Is a directory\nThey were saved to \"" +
                                taskFile() + ".unsaved\".");
    EXPECT_TRUE(told(store.takeNotices()).empty()) << "told once, with the failure";
    TaskList beside;
    ASSERT_EQ(loadTaskFile(taskFile() + ".unsaved", beside).state, TaskFileState::Loaded);
    EXPECT_EQ(beside.size(), 3u);
    EXPECT_EQ(beside[2].TaskId, 9000u);

    store.toggleEnabled(9000);
    EXPECT_NE(store.save(), "");
    told(store.takeNotices());
    ASSERT_EQ(loadTaskFile(taskFile() + ".unsaved", beside).state, TaskFileState::Loaded);
    EXPECT_FALSE(beside[2].enabled()) << "the same file of this run's, brought up to date";
    EXPECT_FALSE(fileExists(taskFile() + ".unsaved-2"));
}

TEST_F(TaskStoreRecovery, ReadOnlyJournalFolderIsToldOnceNotAtEveryStart) {
    killedRun();
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        ASSERT_EQ(::chown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_EQ(::chown(dir.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_EQ(::chmod(dir.file("state/velloran").c_str(), 0500), 0);
    std::vector<std::vector<std::string>> toldByRun;
    {
        test::WithoutRootRights ordinaryUser;
        ASSERT_TRUE(ordinaryUser.ok());
        for (int run = 0; run < 3; ++run) {
            TaskStore store = start();
            toldByRun.push_back(told(store.takeNotices()));
            EXPECT_EQ(idsOf(store), std::vector<std::uint32_t>{3}) << run;
            EXPECT_FALSE(store[0].enabled()) << run;
            EXPECT_EQ(store.save(), "") << run;
            toldByRun.back().push_back("saved");
            for (const std::string& notice : told(store.takeNotices()))
                toldByRun.back().push_back(notice);
        }
    }
    ::chmod(dir.file("state/velloran").c_str(), 0700);
    ASSERT_EQ(toldByRun.size(), 3u);
    ASSERT_EQ(toldByRun[0].size(), 2u);
    EXPECT_EQ(toldByRun[0][0].rfind("Velloran did not end normally last time.", 0), 0u) << toldByRun[0][0];
    EXPECT_EQ(toldByRun[1], std::vector<std::string>{"saved"}) << toldByRun[1].front();
    EXPECT_EQ(toldByRun[2], std::vector<std::string>{"saved"});
}

// The system's disk with chosen faults: a file system without hard links, a number of writes into
// journals (and their temporaries) that fail as a full disk does, or a file that cannot be replaced.
struct FaultyDisk final : Disk {
    Disk& real = systemDisk();
    bool links = true;
    int journalWritesToFail = 0;
    std::map<int, std::string> open;
    std::string refuseRenameOnto; // a rename onto this path fails with EIO
    int openForWriting(const std::string& path, int flags, mode_t mode) override {
        const int fd = real.openForWriting(path, flags, mode);
        open[fd] = path;
        return fd;
    }
    int createTemporary(std::string& name) override {
        const int fd = real.createTemporary(name);
        open[fd] = name;
        return fd;
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (journalWritesToFail > 0 && open[fd].find(".journal") != std::string::npos) {
            --journalWritesToFail;
            errno = ENOSPC;
            return -1;
        }
        return real.write(fd, data, size);
    }
    int changeMode(int fd, mode_t mode) override { return real.changeMode(fd, mode); }
    int fsync(int fd) override { return real.fsync(fd); }
    int fdatasync(int fd) override { return real.fdatasync(fd); }
    int close(int fd) override { return real.close(fd); }
    int rename(const std::string& from, const std::string& to) override {
        errno = EIO;
        return to == refuseRenameOnto ? -1 : real.rename(from, to);
    }
    int link(const std::string& from, const std::string& to) override {
        if (links)
            return real.link(from, to);
        errno = EPERM;
        return -1;
    }
    int unlink(const std::string& path) override { return real.unlink(path); }
    int mkdir(const std::string& path, mode_t mode) override { return real.mkdir(path, mode); }
    int syncFolder(const std::string& path) override { return real.syncFolder(path); }
};

// Sets a file's last change to a local time, as if the clock had shown it then.
void changedAt(const std::string& path, DateTime when) {
    const timespec times[2] = {{unixFromLocalDateTime(when), 0}, {unixFromLocalDateTime(when), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

TEST_F(TaskStoreRecovery, CloseWhoseSaveFailedIsToldAsSuchAndItsCopyDatedOnceSavedSince) {
    {
        FaultyDisk disk;
        disk.refuseRenameOnto = taskFile();
        TaskStore store(taskFile(), journal(), disk);
        store.open();
        store.remove(1);
        EXPECT_EQ(store.save(), "Cannot replace \"" + taskFile() +
                                    "\": Input/output error\nThey were saved to \"" + taskFile() +
                                    ".unsaved\"."); // the close's save; the program ends
    }
    const std::string unsaved = taskFile() + ".unsaved";
    TaskStore next = start();
    EXPECT_EQ(idsOf(next), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_EQ(
        told(next.takeNotices()),
        std::vector<std::string>{"Your tasks could not be saved to \"" + taskFile() +
                                 "\" when Velloran last ran. The changes made since they were last saved "
                                 "have been recovered and are saved at the next save; a copy of your "
                                 "tasks as they were then is in \"" +
                                 unsaved + "\"."});
    EXPECT_EQ(next.save(), "");
    changedAt(unsaved, at(2025, 1, 2, 3, 4, 5)); // before this save
    const std::string dated = unsaved + "-20250102-030405";
    EXPECT_EQ(
        told(start().takeNotices()),
        std::vector<std::string>{"\"" + unsaved +
                                 "\" was written before your tasks were last saved, so it is out of date: "
                                 "restoring from it would bring back tasks deleted since. It has been "
                                 "renamed to \"" +
                                 dated + "\"."});
    EXPECT_FALSE(fileExists(unsaved));
    EXPECT_TRUE(fileExists(dated));
    EXPECT_TRUE(told(start().takeNotices()).empty()) << "told once";
}

TEST_F(TaskStoreRecovery, OnlyUnsavedCopiesOlderThanTheTaskFileAreDated) {
    const DateTime saved = at(2030, 3, 4, 9, 0); // tasks.tsk's last save
    struct Case {
        const char* name;
        DateTime changed;
        const char* after; // its name at the next start
    };
    const std::vector<Case> cases{
        {".unsaved", saved - 1.0 / 86400, ".unsaved-20300304-085959"},
        {".unsaved-2", at(2029, 12, 31, 23, 59, 59), ".unsaved-20291231-235959"},
        {".unsaved-999", saved - 1, ".unsaved-20300303-090000"},
        {".unsaved-3", saved, ".unsaved-3"},           // not older: the same moment
        {".unsaved-4", saved + 1, ".unsaved-4"},       // written after: a failed save's
        {".unsaved-1000", saved - 1, ".unsaved-1000"}, // not a name a save gives
        {".unsaved-20300101-000000", saved - 90, ".unsaved-20300101-000000"}, // dated already
        {".unsavedx", saved - 1, ".unsavedx"},
    };
    for (const Case& one : cases) {
        writeFile(taskFile() + one.name, one.name);
        changedAt(taskFile() + one.name, one.changed);
    }
    changedAt(taskFile(), saved);
    const std::vector<std::string> notices = told(start().takeNotices());
    EXPECT_EQ(notices.size(), 3u);
    for (const Case& one : cases)
        EXPECT_EQ(readFile(taskFile() + one.after), one.name) << one.name;
    // A dated name that is taken gets a number; a task file that is not there dates nothing.
    writeFile(taskFile() + ".unsaved", "again");
    changedAt(taskFile() + ".unsaved", saved - 1.0 / 86400);
    start();
    EXPECT_EQ(readFile(taskFile() + ".unsaved-20300304-085959-2"), "again");
    fs::remove(taskFile());
    writeFile(taskFile() + ".unsaved", "kept");
    EXPECT_TRUE(told(start().takeNotices()).empty());
    EXPECT_EQ(readFile(taskFile() + ".unsaved"), "kept");
}

TEST_F(TaskStoreRecovery, JournalOfAnotherFileThatCannotBeSetAsideIsNeitherWrittenOverNorDeleted) {
    killedRun();
    const std::string theirs = readFile(journal());
    TaskList other;
    other.appendLoaded(makeTask(kGeneral, at(2031, 1, 1, 9, 0))).TaskId = 7;
    ASSERT_EQ(saveTaskFile(taskFile(), other), ""); // the file was replaced since
    FaultyDisk disk;
    disk.links = false;
    TaskStore store(taskFile(), journal(), disk);
    store.open();
    EXPECT_EQ(idsOf(store), std::vector<std::uint32_t>{7});
    EXPECT_EQ(told(store.takeNotices()),
              std::vector<std::string>{test::notAppliedNotice(
                  "\"" + taskFile() + "\" has been replaced since",
                  "The changes are still in \"" + journal() + "\" (Operation not permitted).")});
    store.toggleEnabled(7);
    EXPECT_EQ(store.save(), "");
    EXPECT_EQ(readFile(journal()), theirs);
}

constexpr const char* kRecovered = "Velloran did not end normally last time. The changes made to your tasks "
                                   "since they were last saved have been recovered.";

TEST_F(TaskStoreRecovery, JournalOfTheReleaseBeforeIsAppliedLikeTodaysAndNothingRunsTwice) {
    test::placeEarlierJournal(taskFile(), sharedJournal());
    {
        TaskStore store = start();
        // Its three due tasks ran, 2004 was deleted, 2005 edited and one task added before it was killed.
        EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{2001, 2003, 2005, 1764580000}));
        EXPECT_EQ(store[0].NextRun, at(2027, 12, 1, 9, 0));
        EXPECT_FALSE(store[1].enabled());
        EXPECT_EQ(store[2].Description, "edited in the old release");
        const std::vector<Message> notices = store.takeNotices();
        EXPECT_EQ(told(notices), std::vector<std::string>{kRecovered});
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].severity(), Message::Severity::Information);
        EXPECT_FALSE(fileExists(sharedJournal())) << "it is this task file's journal now";
        struct Runs : TaskActionSink {
            int count = 0;
            void carryOut(const Task&, DateTime) override { ++count; }
        } runs;
        scanDueTasks(store, at(2026, 12, 8, 10, 0), runs);
        EXPECT_EQ(runs.count, 0);
    }
    TaskStore again = start(); // killed again before any save: the journal, in today's format, still applies
    EXPECT_EQ(idsOf(again), (std::vector<std::uint32_t>{2001, 2003, 2005, 1764580000}));
    EXPECT_EQ(told(again.takeNotices()), std::vector<std::string>{kRecovered});
    EXPECT_EQ(again.save(), "");
    EXPECT_TRUE(told(start().takeNotices()).empty());
}

TEST_F(TaskStoreRecovery, JournalOfTheReleaseBeforeRecordedAgainstAnotherFileIsLeftUntoldAndUnapplied) {
    // The earlier release knew its tasks.tsk by inode, size and time: any of them changed, it was another
    // file, perhaps another copy of the program's, whose next start will apply it.
    const std::vector<std::pair<const char*, std::function<void()>>> otherFiles = {
        {"another time", [&] { fs::last_write_time(taskFile(), fs::last_write_time(taskFile()) + 1s); }},
        {"another inode",
         [&] {
             const std::string bytes = readFile(taskFile());
             fs::remove(taskFile());
             writeFile(taskFile(), bytes);
         }},
        {"another size", [&] { fs::resize_file(taskFile(), fs::file_size(taskFile()) + 3888); }},
    };
    for (const auto& [change, make] : otherFiles) {
        test::placeEarlierJournal(taskFile(), sharedJournal());
        const std::string theirs = readFile(sharedJournal());
        make();
        TaskStore store = start();
        EXPECT_EQ(store.size(), fs::file_size(taskFile()) / 3888) << change;
        EXPECT_TRUE(told(store.takeNotices()).empty()) << change;
        store.toggleEnabled(2005);
        EXPECT_EQ(store.save(), "") << change;
        EXPECT_EQ(readFile(sharedJournal()), theirs) << change;
        fs::remove(sharedJournal());
    }
}

TEST_F(TaskStoreRecovery, TwoTaskFilesKeepTwoJournalsAndTheSharedOneGoesToTheFileItWasRecordedFor) {
    // Another copy of the program, in a folder of its own, killed after a change, and this task file's run
    // killed too: neither start touches the other's journal, whether the other copy's is its own or the
    // shared one an earlier release left.
    for (const bool shared : {false, true}) {
        TempDir other;
        const std::string otherFile = other.file("tasks.tsk");
        TaskList tasks;
        tasks.appendLoaded(makeTask(kGeneral, at(2031, 1, 1, 9, 0))).TaskId = 9;
        ASSERT_EQ(saveTaskFile(otherFile, tasks), "");
        const std::string otherJournal = journalPathFor(otherFile, dir.file("state/velloran"));
        EXPECT_NE(otherJournal, journal());
        {
            TaskStore killed(otherFile, shared ? sharedJournal() : otherJournal);
            killed.open();
            killed.toggleEnabled(9);
        }
        killedRun();
        TaskStore mine = start();
        EXPECT_EQ(idsOf(mine), std::vector<std::uint32_t>{3}) << shared;
        EXPECT_EQ(told(mine.takeNotices()), std::vector<std::string>{kRecovered}) << shared;
        EXPECT_EQ(mine.save(), "");
        TaskStore otherCopy(otherFile, otherJournal);
        otherCopy.open();
        ASSERT_EQ(otherCopy.size(), 1u) << shared;
        EXPECT_FALSE(otherCopy[0].enabled()) << shared;
        EXPECT_EQ(told(otherCopy.takeNotices()), std::vector<std::string>{kRecovered}) << shared;
        EXPECT_FALSE(fileExists(sharedJournal()));
        EXPECT_EQ(otherCopy.save(), "");
        EXPECT_FALSE(fileExists(otherJournal));
        TaskList three; // this task file as it was, for the next round
        for (std::uint32_t id = 1; id <= 3; ++id)
            three.appendLoaded(makeTask(kGeneral, at(2030, 1, 1, 9, 0))).TaskId = id;
        ASSERT_EQ(saveTaskFile(taskFile(), three), "");
    }
}

TEST_F(TaskStoreRecovery, SharedJournalThatNobodyCanReadIsKeptAsideAndToldByTheFirstStart) {
    writeFile(sharedJournal(), std::string(100, 'x'));
    TaskStore store = start();
    EXPECT_EQ(idsOf(store), (std::vector<std::uint32_t>{1, 2, 3}));
    const auto notices = told(store.takeNotices());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("is damaged, so none of them could be recovered"), std::string::npos)
        << notices[0];
    EXPECT_EQ(readFile(journal() + ".damaged"), std::string(100, 'x'));
    EXPECT_FALSE(fileExists(sharedJournal()));
}

TEST_F(TaskStoreRecovery, SavingEntryThatCannotBeWrittenStopsTheSaveAndTheNextStartRecovers) {
    for (const int failures : {1, 2}) {
        killedRun();
        FaultyDisk disk;
        const std::string before = readFile(taskFile());
        {
            TaskStore store(taskFile(), journal(), disk);
            store.open();
            store.takeNotices();
            // The append fails; a second try writes the journal whole in a new file, which may fail too.
            disk.journalWritesToFail = failures;
            const Result<void> saved = store.save();
            if (failures == 1) {
                EXPECT_EQ(saved, "");
                EXPECT_NE(readFile(taskFile()), before);
            } else {
                EXPECT_EQ(saved, "Cannot write \"" + journal() +
                                     "\": No space left on device\nThey were saved to \"" + taskFile() +
                                     ".unsaved\".");
                EXPECT_EQ(readFile(taskFile()), before)
                    << "tasks.tsk is not replaced behind the journal's back";
            }
        } // killed (or a power cut) before the journal is removed
        TaskStore next = start();
        EXPECT_EQ(idsOf(next), std::vector<std::uint32_t>{3}) << failures;
        const auto notices = told(next.takeNotices());
        // The failed save left the very list recovered beside tasks.tsk: the save failed, and the start says
        // so.
        EXPECT_EQ(notices, failures == 1
                               ? std::vector<std::string>{}
                               : std::vector<std::string>{
                                     "Your tasks could not be saved to \"" + taskFile() +
                                     "\" when Velloran last ran. The changes made since they were last "
                                     "saved have been recovered and are saved at the next save; a copy of "
                                     "your tasks as they were then is in \"" +
                                     taskFile() + ".unsaved\"."});
        EXPECT_FALSE(fileExists(journal() + ".unmatched"));
        EXPECT_EQ(next.save(), "");
        fs::remove(taskFile() + ".unsaved");
        // Back to three tasks for the next round.
        TaskList three;
        for (std::uint32_t id = 1; id <= 3; ++id)
            three.appendLoaded(makeTask(kGeneral, at(2030, 1, 1, 9, 0))).TaskId = id;
        ASSERT_EQ(saveTaskFile(taskFile(), three), "");
    }
}

TEST_F(TaskStoreRecovery, JournalTemporariesLeftByAKillAreRemovedAtTheNextStart) {
    const std::string folder = dir.file("state/velloran/");
    const std::string own = journal().substr(folder.size());
    writeFile(folder + "." + own + ".k1Ll3d", "a journal rewrite killed half way");
    writeFile(folder + ".tasks.journal.Old123", "the release before's");
    writeFile(folder + ".tasks-0000000000000000.journal.Zz9999", "another task file's, killed too");
    start();
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{".tasks-0000000000000000.journal.Zz9999"});
}

TEST(JournalName, FollowsTheTaskFilesFullPath) {
    TempDir dir;
    fs::create_directories(dir.file("a/b"));
    fs::create_symlink(dir.file("a/b"), dir.file("link"));
    const std::string name = journalPathFor(dir.file("a/b/tasks.tsk"), "/state");
    EXPECT_EQ(name.rfind("/state/tasks-", 0), 0u) << name;
    EXPECT_EQ(name.size(), std::string("/state/tasks-0123456789abcdef.journal").size()) << name;
    EXPECT_EQ(journalPathFor(dir.file("link/tasks.tsk"), "/state/"), name) << "one folder, reached by a link";
    EXPECT_EQ(journalPathFor(dir.file("a/b/../b/tasks.tsk"), "/state"), name);
    EXPECT_NE(journalPathFor(dir.file("a/tasks.tsk"), "/state"), name);
    EXPECT_NE(journalPathFor(dir.file("a/b/tasks.tsk2"), "/state"), name);
}

TEST(ContentChecksum, SameBytesInAnyPiecesGiveTheSameSumAndOneChangedBitAnother) {
    std::string bytes(300, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + 3);
    ContentChecksum whole;
    whole.add(bytes.data(), bytes.size());
    for (std::size_t cut = 0; cut <= bytes.size(); cut += 7) {
        ContentChecksum pieces;
        pieces.add(bytes.data(), cut);
        pieces.add(bytes.data() + cut, 0);
        pieces.add(bytes.data() + cut, bytes.size() - cut);
        EXPECT_EQ(pieces.value(), whole.value()) << cut;
    }
    for (const std::size_t at : {std::size_t{0}, std::size_t{31}, std::size_t{32}, std::size_t{299}}) {
        std::string changed = bytes;
        changed[at] ^= 1;
        ContentChecksum other;
        other.add(changed.data(), changed.size());
        EXPECT_NE(other.value(), whole.value()) << at;
    }
    ContentChecksum shorter;
    shorter.add(bytes.data(), bytes.size() - 1);
    EXPECT_NE(shorter.value(), whole.value());
    EXPECT_EQ(ContentChecksum().value(), ContentChecksum().value());
}

} // namespace
} // namespace velloran
