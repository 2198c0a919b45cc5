#include "atomic_file.h"

#include "file_io.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

// Temporaries are ".<name>.XXXXXX" beside the file: mkostemp fills the six places with letters and digits.
std::string temporaryPrefix(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".";
}

// The folder part of a path with its slash, or nothing for a bare name.
std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isTemporaryName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

void removeTemporariesBeside(const std::string& path, Disk& disk) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string prefix = temporaryPrefix(path);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (!isTemporaryName(name, prefix))
            continue;
        const int fd =
            ::openat(::dirfd(listing), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        // Only plain files that no save holds any more.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            disk.unlink(slash == std::string::npos ? name : folder + name);
        ::close(fd);
    }
    ::closedir(listing);
}

} // namespace

AtomicFile::AtomicFile(std::string path, mode_t mode, Disk& disk, LinkWrite links)
    : path_(std::move(path)), mode_(mode), disk_(disk), links_(links) {}

AtomicFile::~AtomicFile() {
    discard();
}

Result<void> AtomicFile::open() {
    discard();
    content_ = ContentChecksum();
    flushed_ = false;
    // Written through, a link's file is replaced in its own folder and the link stays.
    target_ = links_ == LinkWrite::Through ? writtenPath(path_) : path_;
    std::string name = folderOf(target_) + temporaryPrefix(target_) + "XXXXXX";
    fd_ = disk_.createTemporary(name);
    if (fd_ < 0)
        return fail(kFileCannotWrite, errno);
    tempPath_ = name;
    // Held until the temporary is renamed or removed: start-up cleaning leaves a locked temporary alone.
    ::flock(fd_, LOCK_EX | LOCK_NB);
    struct stat existing {};
    const bool kept = ::lstat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    const mode_t mode = kept ? (existing.st_mode & 07777) : mode_;
    if (disk_.changeMode(fd_, mode) != 0)
        return fail(kFileCannotWrite, errno);
    return {};
}

Result<void> AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0)
        return notOpen();
    if (!writeAll(disk_, fd_, data, size))
        return fail(kFileCannotWrite, errno);
    content_.add(data, size);
    flushed_ = false;
    return {};
}

Result<void> AtomicFile::flush() {
    if (fd_ < 0)
        return notOpen();
    if (disk_.fsync(fd_) != 0)
        return fail(kFileCannotWrite, errno);
    flushed_ = true;
    return {};
}

Result<void> AtomicFile::commit() {
    if (fd_ < 0)
        return notOpen();
    if (!flushed_) {
        if (Result<void> flushed = flush(); !flushed)
            return flushed;
    }
    const int fd = fd_;
    fd_ = -1;
    if (disk_.close(fd) != 0) {
        const int closeError = errno;
        disk_.unlink(tempPath_);
        tempPath_.clear();
        return fail(kFileCannotWrite, closeError);
    }
    if (disk_.rename(tempPath_, target_) != 0)
        return fail(kFileCannotReplace, errno);
    tempPath_.clear();
    // Makes the rename itself survive a power cut; what comes after a commit may rely on it. A folder that
    // cannot be flushed (some file systems refuse) leaves the file replaced all the same.
    disk_.syncFolder(parentFolder(target_));
    return {};
}

Failure<Message> AtomicFile::fail(const char* problem, int errorNumber) {
    discard();
    return failure(describeFileError(problem, path_, errorNumber));
}

Failure<Message> AtomicFile::notOpen() const {
    // A step after a failed one: the file was never written.
    return failure(describeFileError(kFileCannotWrite, path_, EBADF));
}

void AtomicFile::discard() {
    if (fd_ >= 0) {
        disk_.close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        disk_.unlink(tempPath_);
        tempPath_.clear();
    }
}

Result<void> writeFileAtomically(const std::string& path, std::string_view content, mode_t mode, Disk& disk) {
    AtomicFile file(path, mode, disk);
    Result<void> step = file.open();
    if (step)
        step = file.write(content.data(), content.size());
    if (step)
        step = file.commit();
    return step;
}

std::string writtenPath(const std::string& path) {
    std::string file = path;
    // As many links in a row as the system itself follows.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return file;
        // In a folder others may write to, a link someone else put there must not send this user's
        // tasks over a file of this user's: it is replaced like any other file.
        if (info.st_uid != ::geteuid() && info.st_uid != 0)
            return file;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4095) + 1, '\0');
        const ssize_t length = ::readlink(file.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
            return file;
        target.resize(static_cast<std::size_t>(length));
        file = target.front() == '/' ? target : folderOf(file) + target;
    }
    return file;
}

void removeLeftTemporaries(const std::string& path, Disk& disk) {
    removeTemporariesBeside(path, disk);
    // A linked file's saves leave theirs beside the file the link leads to.
    if (const std::string target = writtenPath(path); target != path)
        removeTemporariesBeside(target, disk);
}

Result<void> removeFileIfPresent(const std::string& path, Disk& disk) {
    if (disk.unlink(path) != 0) {
        if (errno == ENOENT)
            return {};
        return failure(describeFileError(kFileCannotDelete, path, errno));
    }
    if (disk.syncFolder(parentFolder(path)) != 0)
        return failure(describeFileError(kFileCannotDelete, path, errno));
    return {};
}

} // namespace velloran
