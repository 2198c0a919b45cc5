// A lock that the kernel holds on a file for as long as this process keeps it, and drops when the
// process ends, however it ends (a crash, kill -9, a power cut). A lock is therefore never left behind
// to be mistaken for a running program. The file names its holder for a later start to read, but only
// the kernel's lock decides who holds it.
#pragma once

#include "common/result.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace velloran {

// What a lock file says of the process that holds it.
struct LockHolder {
    std::optional<long> pid;     // only while that process lives
    std::optional<unsigned> uid; // the user it runs as
    std::string instanceFolder;  // where it answers a second start of its user; empty when unknown
    bool closing = false;        // it is saving for the last time and about to end
};

class FileLock {
public:
    enum class State {
        Held, // this process holds the lock now
        Busy, // another holder has it
    };
    enum class Sharing {
        Private,    // made 0600: this user's alone
        LikeFolder, // any user may lock it; those who may write the folder may also write who holds it
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock on the file (made when missing, never through a link) without waiting, and writes
    // this process's id and user into it; fails with why no lock could be taken.
    Result<State> tryLock(const std::string& path, Sharing sharing = Sharing::Private);
    bool held() const { return fd_ >= 0; }
    // Gives the lock up; the file stays, so that the next holder locks the same file.
    void release();

    // What the file says of the holder besides its process id and user: written at once while the lock is
    // held, and with the lock when it is taken. Nothing is written where the file is another user's that
    // this one may only read.
    void setInstanceFolder(std::string folder);
    void setClosing(bool closing);

    // What the file at path says of its holder; nothing of a process that is gone.
    static LockHolder holderOf(const std::string& path);

private:
    void describe();

    int fd_ = -1;
    bool writable_ = false;
    std::string instanceFolder_;
    bool closing_ = false;
};

// Waits one step; false when the wait should stop (the program is asked to end).
using LockPause = std::function<bool(std::chrono::milliseconds)>;
bool sleepFor(std::chrono::milliseconds step);

// Takes the lock; while it is busy and its holder says it is closing, tries again at each pause, for at
// most `limit` in all. A holder that stays or goes back to running keeps it busy.
Result<FileLock::State> lockOnceClosed(FileLock& lock, const std::string& path, FileLock::Sharing sharing,
                                       std::chrono::milliseconds limit, const LockPause& pause = sleepFor);

} // namespace velloran
