#include "atomic_file.h"

#include "file_io.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran {
namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Temporaries are ".<name>.XXXXXX" beside the file: mkostemp fills the six places with letters and digits.
std::string temporaryPrefix(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".";
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

} // namespace

AtomicFile::AtomicFile(std::string path, mode_t mode) : path_(std::move(path)), mode_(mode) {}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open() {
    discard();
    error_.clear();
    const auto slash = path_.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
    std::string pattern = folder + temporaryPrefix(path_) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        return fail("Cannot write", errno);
    tempPath_ = name.data();
    // Held until the temporary is renamed or removed: start-up cleaning leaves a locked temporary alone.
    ::flock(fd_, LOCK_EX | LOCK_NB);
    struct stat existing {};
    const mode_t mode = ::stat(path_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : mode_;
    if (fchmod(fd_, mode) != 0)
        return fail("Cannot write", errno);
    return true;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0)
        return false;
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd_, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail("Cannot write", errno);
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0)
        return false;
    if (fsync(fd_) != 0)
        return fail("Cannot write", errno);
    struct stat info {};
    if (::fstat(fd_, &info) == 0)
        written_ = identityOf(info);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int closeError = errno;
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
        return fail("Cannot write", closeError);
    }
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0)
        return fail("Cannot replace", errno);
    tempPath_.clear();
    // Make the rename itself survive a crash.
    const int folder = ::open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        ::close(folder);
    }
    return true;
}

bool AtomicFile::fail(std::string_view what, int errorNumber) {
    error_ = describeFileError(what, path_, errorNumber);
    discard();
    return false;
}

void AtomicFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

std::string writeFileAtomically(const std::string& path, std::string_view content, mode_t mode) {
    AtomicFile file(path, mode);
    if (file.open() && file.write(content.data(), content.size()) && file.commit())
        return {};
    return file.error();
}

void removeLeftTemporaries(const std::string& path) {
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
            ::unlinkat(::dirfd(listing), name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(listing);
}

std::string removeFileIfPresent(const std::string& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return {};
    return describeFileError("Cannot delete", path, errno);
}

} // namespace velloran
