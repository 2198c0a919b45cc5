#include "atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

std::string describe(std::string_view what, const std::string& path, int errorNumber) {
    return std::string(what) + " \"" + path + "\": " + std::strerror(errorNumber);
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
    const std::string base = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
    std::string pattern = folder + "." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        return fail("Cannot write", errno);
    tempPath_ = name.data();
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
    error_ = describe(what, path_, errorNumber);
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

std::string removeFileIfPresent(const std::string& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return {};
    return describe("Cannot delete", path, errno);
}

} // namespace velloran
