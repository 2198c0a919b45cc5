// The kernel's lock on the one-instance file: held for the life of its holder, gone with it however it
// ends, and never decided by what the file holds.
#include "files/file_lock.h"
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

// A child process that takes the lock and then waits to be killed. Its id, once it holds the lock.
pid_t holdInAnotherProcess(const std::string& path) {
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
        const char held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        if (::write(ready[1], &held, 1) != 1)
            ::_exit(1);
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
        EXPECT_EQ(test::readFile(path), std::to_string(::getpid()) + "\n");
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
    EXPECT_EQ(outcome(lock.tryLock(dir.file("no-such-folder/velloran.lock"))),
              "Cannot open \"" + dir.file("no-such-folder/velloran.lock") + "\": No such file or directory");
}

} // namespace
} // namespace velloran
