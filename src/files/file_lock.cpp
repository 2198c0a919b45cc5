#include "file_lock.h"

#include "file_io.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velloran {
namespace {

// Without waiting: a pipe planted under the name would otherwise hold the start until someone writes to it.
constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;
constexpr std::size_t kLongestNote = 4096;

int openPrivate(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kOpenFlags, 0600);
    // A lock file of this user's whose mode was taken away: the file is this user's to mend, and a
    // start must not fail for it. (A link is refused above, before this.)
    if (fd < 0 && errno == EACCES && ::fchmodat(AT_FDCWD, path.c_str(), 0600, AT_SYMLINK_NOFOLLOW) == 0)
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | kOpenFlags, 0600);
    return fd;
}

// Readable by everyone, so that another user's start can lock it too, and writable by whoever may write
// the folder, who could replace the file anyway.
mode_t sharedMode(const std::string& path) {
    struct stat folder {};
    if (::stat(parentFolder(path).c_str(), &folder) != 0)
        return 0644;
    return 0644 | (folder.st_mode & 0022);
}

// Another user's file may be only readable to this one: flock needs no more, but then the holder cannot
// write its name into it.
int openShared(const std::string& path, bool& writable) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        writable = true;
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenFlags, 0600);
        if (fd >= 0) {
            // Whatever the umask: a file only its maker could open would lock out the other users.
            ::fchmod(fd, sharedMode(path));
            return fd;
        }
        if (errno != EEXIST)
            return -1;
        fd = ::open(path.c_str(), O_RDWR | kOpenFlags);
        if (fd < 0 && errno == EACCES) {
            writable = false;
            fd = ::open(path.c_str(), O_RDONLY | kOpenFlags);
        }
        if (fd >= 0 || errno != ENOENT)
            return fd;
        // Taken away between the two opens: make it again.
    }
    return -1;
}

bool alive(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// A lock file on a network file system may be held from another machine, whose process ids and folders
// mean nothing here.
std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string noteOf(const std::string& instanceFolder, bool closing) {
    std::string note = std::to_string(::getpid()) + "\nuser " + std::to_string(::geteuid()) + "\n";
    if (const std::string host = hostName(); !host.empty() && host.find('\n') == std::string::npos)
        note += "host " + host + "\n";
    // A name with a line break would read as more lines.
    if (!instanceFolder.empty() && instanceFolder.find('\n') == std::string::npos)
        note += "instance " + instanceFolder + "\n";
    if (closing)
        note += "closing\n";
    return note;
}

std::optional<unsigned long> number(const std::string& text) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoul(text);
}

} // namespace

FileLock::~FileLock() {
    release();
}

void FileLock::release() {
    if (fd_ >= 0)
        ::close(fd_); // closing the only descriptor ends the lock
    fd_ = -1;
    writable_ = false;
}

Result<FileLock::State> FileLock::tryLock(const std::string& path, Sharing sharing) {
    release();
    bool writable = true;
    const int fd = sharing == Sharing::Private ? openPrivate(path) : openShared(path, writable);
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
    writable_ = writable;
    closing_ = false;
    describe();
    return State::Held;
}

void FileLock::setInstanceFolder(std::string folder) {
    instanceFolder_ = std::move(folder);
    describe();
}

void FileLock::setClosing(bool closing) {
    closing_ = closing;
    describe();
}

void FileLock::describe() {
    if (fd_ < 0 || !writable_)
        return;
    // For a later start and for a person who looks; the lock does not depend on it, so a write that fails
    // (a full disk) is no failure. Written over the old text first, then cut, so that a reader never
    // finds the file empty while its holder runs.
    const std::string note = noteOf(instanceFolder_, closing_);
    const ssize_t wrote = ::pwrite(fd_, note.data(), note.size(), 0);
    if (wrote == static_cast<ssize_t>(note.size())) {
        const int cut = ::ftruncate(fd_, static_cast<off_t>(note.size()));
        static_cast<void>(cut);
    }
}

LockHolder FileLock::holderOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | kOpenFlags);
    if (fd < 0)
        return {};
    struct stat info {};
    std::string text(kLongestNote, '\0');
    ssize_t got = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        got = ::pread(fd, text.data(), text.size(), 0);
    ::close(fd);
    if (got <= 0)
        return {};
    text.resize(static_cast<std::size_t>(got));

    LockHolder holder;
    std::optional<std::string> host;
    std::size_t start = 0;
    for (bool first = true; start < text.size(); first = false) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break; // a line still being written
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (const auto pid = number(line))
                holder.pid = static_cast<long>(*pid);
        } else if (line.rfind("user ", 0) == 0) {
            if (const auto uid = number(line.substr(5)))
                holder.uid = static_cast<unsigned>(*uid);
        } else if (line.rfind("instance ", 0) == 0) {
            holder.instanceFolder = line.substr(9);
        } else if (line.rfind("host ", 0) == 0) {
            host = line.substr(5);
        } else if (line == "closing") {
            holder.closing = true;
        }
    }
    // What a process that is gone left, or one on another machine, says nothing of the holder here.
    if (!holder.pid || (host && *host != hostName()) || !alive(*holder.pid))
        return {};
    return holder;
}

bool sleepFor(std::chrono::milliseconds step) {
    std::this_thread::sleep_for(step);
    return true;
}

Result<FileLock::State> lockOnceClosed(FileLock& lock, const std::string& path, FileLock::Sharing sharing,
                                       std::chrono::milliseconds limit, const LockPause& pause) {
    constexpr std::chrono::milliseconds kStep{100};
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        Result<FileLock::State> locked = lock.tryLock(path, sharing);
        if (!locked || *locked == FileLock::State::Held)
            return locked;
        if (std::chrono::steady_clock::now() >= deadline || !FileLock::holderOf(path).closing ||
            !pause(kStep))
            return locked;
    }
}

} // namespace velloran
