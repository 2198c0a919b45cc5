#include "file_lock.h"

#include "file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

int openLockFile(const std::string& path) {
    constexpr int kFlags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY;
    int fd = ::open(path.c_str(), kFlags, 0600);
    // A lock file of this user's whose mode was taken away: the file is this user's to mend, and a
    // start must not fail for it. (A link is refused above, before this.)
    if (fd < 0 && errno == EACCES && ::fchmodat(AT_FDCWD, path.c_str(), 0600, AT_SYMLINK_NOFOLLOW) == 0)
        fd = ::open(path.c_str(), kFlags, 0600);
    return fd;
}

} // namespace

FileLock::~FileLock() {
    release();
}

void FileLock::release() {
    if (fd_ >= 0)
        ::close(fd_); // closing the only descriptor ends the lock
    fd_ = -1;
}

Result<FileLock::State> FileLock::tryLock(const std::string& path) {
    release();
    const int fd = openLockFile(path);
    if (fd < 0)
        return failure(describeFileError(kFileCannotOpen, path, errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failure(describeFileError(kFileCannotLock, path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL));
    }
    int locked;
    do
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int reason = errno;
        ::close(fd);
        if (reason == EWOULDBLOCK)
            return State::Busy;
        return failure(describeFileError(kFileCannotLock, path, reason));
    }
    fd_ = fd;
    // The holder's process id, for a person who looks. Nothing reads it back, so a write that fails (a
    // full disk) is no failure.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) == 0) {
        const ssize_t wrote = ::pwrite(fd_, pid.data(), pid.size(), 0);
        static_cast<void>(wrote);
    }
    return State::Held;
}

} // namespace velloran
