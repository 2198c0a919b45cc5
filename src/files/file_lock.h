// A lock that the kernel holds on a file for as long as this process keeps it, and drops when the
// process ends, however it ends (a crash, kill -9, a power cut). A lock is therefore never left behind
// to be mistaken for a running program, and what the file holds plays no part.
#pragma once

#include "common/result.h"

#include <string>

namespace velloran {

class FileLock {
public:
    enum class State {
        Held, // this process holds the lock now
        Busy, // another holder has it
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock on the file (made 0600 when missing, never through a link) without waiting; fails
    // with why no lock could be taken.
    Result<State> tryLock(const std::string& path);
    bool held() const { return fd_ >= 0; }
    // Gives the lock up; the file stays, so that the next holder locks the same file.
    void release();

private:
    int fd_ = -1;
};

} // namespace velloran
