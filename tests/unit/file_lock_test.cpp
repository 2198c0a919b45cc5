// The kernel's lock on the one-instance file: held for the life of its holder, gone with it however it
// ends, and never decided by what the file holds.
#include "files/file_lock.h"
#include "files/task_file_lock.h"
#include "test_support.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velloran {
namespace {

using test::TempDir;
using test::writeFile;

// "held", "busy", or the whole text of why no lock could be taken.
std::string outcome(const Result<FileLock::State>& locked) {
    if (!locked)
        return locked.error().english();
    return *locked == FileLock::State::Held ? "held" : "busy";
}

// A child process that takes the lock, says it is closing where asked, and then waits to be killed, or
// ends after lifetimeMs. Its id, once it holds the lock.
pid_t holdInAnotherProcess(const std::string& path, FileLock::Sharing sharing = FileLock::Sharing::Private,
                           bool closing = false, int lifetimeMs = -1) {
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        FileLock lock;
        const Result<FileLock::State> locked = lock.tryLock(path, sharing);
        lock.setClosing(closing);
        const char held = locked && *locked == FileLock::State::Held ? 'y' : 'n';
        if (::write(ready[1], &held, 1) != 1)
            ::_exit(1);
        if (lifetimeMs >= 0) {
            ::usleep(static_cast<useconds_t>(lifetimeMs) * 1000);
            ::_exit(0);
        }
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char held = 'n';
    const bool told = ::read(ready[0], &held, 1) == 1;
    ::close(ready[0]);
    if (!told || held != 'y') {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        return -1;
    }
    return child;
}

// What a lock file says of this process, as it takes the lock.
std::string ownNote() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return std::to_string(::getpid()) + "\nuser " + std::to_string(::geteuid()) + "\nhost " + host + "\n";
}

void killAndReap(pid_t child) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

TEST(FileLock, OneHolderAtATimeUntilItLetsGo) {
    TempDir dir;
    const std::string path = dir.file("velloran.lock");
    FileLock first, second;
    ASSERT_EQ(outcome(first.tryLock(path)), "held");
    EXPECT_TRUE(first.held());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(outcome(second.tryLock(path)), "busy");
    EXPECT_FALSE(second.held());
    first.release();
    EXPECT_EQ(outcome(second.tryLock(path)), "held");
    // The file stays for the next holder: taking it away would let two holders lock two files.
    EXPECT_TRUE(test::fileExists(path));
}

TEST(FileLock, WhatAnEarlierRunLeftInTheFileDoesNotCount) {
    TempDir dir;
    const std::string path = dir.file("velloran.lock");
    for (const std::string& left :
         {std::string(), std::string("\0\0\0\0\0\0", 6), std::string("12"),
          std::string("999999\nvelloran\nsomehost\n"), std::to_string(::getpid()) + "\nvelloran\n"}) {
        writeFile(path, left);
        FileLock lock;
        EXPECT_EQ(outcome(lock.tryLock(path)), "held") << "left: " << left.size() << " bytes";
        EXPECT_EQ(test::readFile(path), ownNote());
    }
}

TEST(FileLock, HeldByAnotherProcessUntilItIsKilled) {
    TempDir dir;
    const std::string path = dir.file("velloran.lock");
    const pid_t holder = holdInAnotherProcess(path);
    ASSERT_GT(holder, 0);
    FileLock lock;
    EXPECT_EQ(outcome(lock.tryLock(path)), "busy");
    // kill -9 gives no chance to clean up: the kernel ends the lock all the same.
    killAndReap(holder);
    EXPECT_EQ(outcome(lock.tryLock(path)), "held");
    // And the other way round: while this process holds it, another process cannot take it.
    EXPECT_LT(holdInAnotherProcess(path), 0);
}

TEST(FileLock, AFileWhoseModeWasTakenAwayIsMended) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string path = dir.file("velloran.lock");
    writeFile(path, "");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    test::WithoutRootRights nobody;
    ASSERT_TRUE(nobody.ok());
    FileLock lock;
    EXPECT_EQ(outcome(lock.tryLock(path)), "held");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(FileLock, ALinkOrAFolderInItsPlaceIsNoLockAndIsLeftAlone) {
    TempDir dir;
    const std::string path = dir.file("velloran.lock");
    writeFile(dir.file("elsewhere"), "keep");
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), path.c_str()), 0);
    FileLock lock;
    EXPECT_EQ(outcome(lock.tryLock(path)), "Cannot open \"" + path + "\": Too many levels of symbolic links");
    EXPECT_EQ(test::readFile(dir.file("elsewhere")), "keep");
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(outcome(lock.tryLock(path)), "Cannot open \"" + path + "\": Is a directory");
    EXPECT_FALSE(lock.held());
    // Nor does another user's pipe, which this one may only read, hold the start as a reader waiting for a
    // writer would be held.
    ASSERT_EQ(::rmdir(path.c_str()), 0);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    {
        test::WithoutRootRights other;
        ASSERT_TRUE(other.ok());
        for (const auto sharing : {FileLock::Sharing::Private, FileLock::Sharing::LikeFolder}) {
            const std::string result = outcome(lock.tryLock(path, sharing));
            EXPECT_TRUE(result.rfind("Cannot ", 0) == 0) << result;
        }
        EXPECT_EQ(FileLock::holderOf(path).pid, std::nullopt);
    }
    EXPECT_EQ(outcome(lock.tryLock(dir.file("no-such-folder/velloran.lock"))),
              "Cannot open \"" + dir.file("no-such-folder/velloran.lock") + "\": No such file or directory");
}

// What a later start reads of the holder: all of it while the holder lives, nothing of a process that is
// gone, and never a tail of an older, longer text.
TEST(FileLock, TheFileSaysWhoHoldsItWhileItLives) {
    TempDir dir;
    const std::string path = dir.file("tasks.tsk.lock");
    FileLock lock;
    ASSERT_EQ(outcome(lock.tryLock(path)), "held");
    lock.setInstanceFolder("/run/user/1000/velloran with a long name");
    lock.setClosing(true);
    LockHolder holder = FileLock::holderOf(path);
    EXPECT_EQ(holder.pid, ::getpid());
    EXPECT_EQ(holder.uid, ::geteuid());
    EXPECT_EQ(holder.instanceFolder, "/run/user/1000/velloran with a long name");
    EXPECT_TRUE(holder.closing);
    lock.setInstanceFolder("/run/a\nclosing"); // a line break would forge a line
    lock.setClosing(false);
    EXPECT_EQ(test::readFile(path), ownNote());
    holder = FileLock::holderOf(path);
    EXPECT_FALSE(holder.closing);
    EXPECT_EQ(holder.instanceFolder, "");

    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string me = std::to_string(::getpid());
    struct Case {
        std::string text;
        bool known;   // the holder's id is told
        bool closing; // and that it is closing
    };
    for (const Case& left : {Case{"", false, false}, Case{std::string("\0\0\0\n", 4), false, false},
                             Case{"velloran\nuser 0\nclosing\n", false, false},
                             Case{std::to_string(gone) + "\nuser 0\ninstance /run\nclosing\n", false, false},
                             Case{me, false, false}, Case{me + "\nuser 7\nclosing", true, false},
                             Case{me + "\nhost elsewhere.example\nclosing\n", false, false},
                             Case{me + "\nuser x\nclosing\nmore\n", true, true}}) {
        writeFile(dir.file("left.lock"), left.text);
        holder = FileLock::holderOf(dir.file("left.lock"));
        EXPECT_EQ(holder.pid.has_value(), left.known) << left.text;
        EXPECT_EQ(holder.closing, left.closing) << left.text;
        if (!left.known) {
            EXPECT_EQ(holder.uid, std::nullopt) << left.text;
        }
    }
    EXPECT_EQ(FileLock::holderOf(dir.file("missing.lock")).pid, std::nullopt);
}

// A lock file that several users' starts must lock: readable by everyone whatever the umask, writable by
// whoever may write the folder; a user who may only read it still takes and holds the lock.
TEST(FileLock, ASharedLockFileIsOpenToEveryUserOfItsFolder) {
    const mode_t umask = ::umask(077);
    for (const auto& [folderMode, fileMode] : {std::pair{0755u, 0644u}, {0775u, 0664u}, {0777u, 0666u}}) {
        TempDir dir;
        ASSERT_EQ(::chmod(dir.path().c_str(), folderMode), 0);
        const std::string path = dir.file("tasks.tsk.lock");
        FileLock lock;
        ASSERT_EQ(outcome(lock.tryLock(path, FileLock::Sharing::LikeFolder)), "held");
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, fileMode) << std::oct << folderMode;
        if (::geteuid() != 0 || folderMode != 0755u)
            continue;
        // Another user, who may only read the file: refused while it is held, then the holder.
        const std::string before = test::readFile(path);
        test::WithoutRootRights nobody;
        ASSERT_TRUE(nobody.ok());
        FileLock other;
        EXPECT_EQ(outcome(other.tryLock(path, FileLock::Sharing::LikeFolder)), "busy");
        lock.release();
        EXPECT_EQ(outcome(other.tryLock(path, FileLock::Sharing::LikeFolder)), "held");
        other.setClosing(true);
        EXPECT_EQ(test::readFile(path), before);
    }
    ::umask(umask);
}

// A start that finds the holder closing waits for it to end; a holder that runs on, or stays closing past
// the limit, keeps the lock, and a wait that is called off ends at once.
TEST(FileLock, AHolderThatIsClosingIsWaitedFor) {
    TempDir dir;
    const std::string path = dir.file("tasks.tsk.lock");
    struct Case {
        const char* name;
        bool closing;
        int lifetimeMs;     // -1: until killed
        bool pauseGoesOn;   // what the pause answers
        const char* result; // after a wait of at most 400 ms
        bool paused;
    };
    for (const Case& holder : {Case{"closing, ends", true, 150, true, "held", true},
                               Case{"running", false, 150, true, "busy", false},
                               Case{"closing past the limit", true, -1, true, "busy", true},
                               Case{"wait called off", true, 150, false, "busy", true}}) {
        const pid_t child =
            holdInAnotherProcess(path, FileLock::Sharing::LikeFolder, holder.closing, holder.lifetimeMs);
        ASSERT_GT(child, 0) << holder.name;
        int pauses = 0;
        FileLock lock;
        const auto result =
            lockOnceClosed(lock, path, FileLock::Sharing::LikeFolder, std::chrono::milliseconds(400),
                           [&](std::chrono::milliseconds step) {
                               ++pauses;
                               sleepFor(step);
                               return holder.pauseGoesOn;
                           });
        EXPECT_EQ(outcome(result), holder.result) << holder.name;
        EXPECT_EQ(pauses > 0, holder.paused) << holder.name;
        if (!holder.pauseGoesOn) {
            EXPECT_EQ(pauses, 1) << holder.name;
        }
        killAndReap(child);
    }
}

// Every link to one task file finds the same lock, beside the file itself; a task file not yet made is
// locked where it will be made.
TEST(TaskFileLock, LinksToOneTaskFileShareItsLock) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("a").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.file("b").c_str(), 0755), 0);
    writeFile(dir.file("a/tasks.tsk"), "");
    ASSERT_EQ(::symlink(dir.file("a/tasks.tsk").c_str(), dir.file("b/tasks.tsk").c_str()), 0);
    TaskFileLock real(dir.file("a/tasks.tsk")), linked(dir.file("b/tasks.tsk")), fresh(dir.file("b/new.tsk"));
    EXPECT_EQ(linked.path(), dir.file("a/tasks.tsk.lock"));
    EXPECT_EQ(fresh.path(), dir.file("b/new.tsk.lock"));
    ASSERT_EQ(outcome(real.tryLock()), "held");
    EXPECT_EQ(outcome(linked.tryLock()), "busy");
    EXPECT_EQ(outcome(fresh.tryLock()), "held");
    TaskFileLock nowhere(dir.file("missing/tasks.tsk"));
    EXPECT_EQ(outcome(nowhere.tryLock()),
              "Cannot open \"" + dir.file("missing/tasks.tsk.lock") + "\": No such file or directory");
}

} // namespace
} // namespace velloran
