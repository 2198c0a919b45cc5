// One owner per task file: the process that carries out the tasks of a tasks.tsk holds the kernel's lock
// on "tasks.tsk.lock" beside it for its whole life, whoever runs it and whatever its other folders are,
// so that no task runs twice. The lock file is one that every user who may use the task file can lock,
// and it says which process holds it, as which user, where that process answers a second start of its
// user, and whether it is closing.
#pragma once

#include "file_lock.h"

#include <string>

namespace velloran {

class TaskFileLock {
public:
    // A task file that is a symbolic link is locked beside the file it points at, where every link to it
    // finds the same lock.
    explicit TaskFileLock(const std::string& taskFile);

    const std::string& path() const { return path_; }

    // Takes the lock without waiting; while its holder says it is closing, waits for that holder to end,
    // for at most `waitWhileClosing`. Fails with why no lock could be taken (a file system without locks,
    // a folder this user may not write).
    Result<FileLock::State> tryLock(std::chrono::milliseconds waitWhileClosing = {},
                                    const LockPause& pause = sleepFor);
    bool held() const { return lock_.held(); }
    void release() { lock_.release(); }

    // For the holder: where it answers a second start of its user, and whether it is closing.
    void setInstanceFolder(std::string folder) { lock_.setInstanceFolder(std::move(folder)); }
    void setClosing(bool closing) { lock_.setClosing(closing); }
    // What the lock file says of whoever holds it.
    LockHolder holder() const { return FileLock::holderOf(path_); }

private:
    std::string path_;
    FileLock lock_;
};

} // namespace velloran
