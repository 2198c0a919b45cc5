#include "disk.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran {
namespace {

class SystemDisk final : public Disk {
public:
    int openForWriting(const std::string& path, int flags, mode_t mode) override {
        return ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, mode);
    }
    int createTemporary(std::string& name) override {
        std::vector<char> buffer(name.begin(), name.end());
        buffer.push_back('\0');
        const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
        if (fd >= 0)
            name = buffer.data();
        return fd;
    }
    ssize_t write(int fd, const void* data, std::size_t size) override { return ::write(fd, data, size); }
    int changeMode(int fd, mode_t mode) override { return ::fchmod(fd, mode); }
    int fsync(int fd) override { return ::fsync(fd); }
    int fdatasync(int fd) override { return ::fdatasync(fd); }
    int close(int fd) override { return ::close(fd); }
    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str());
    }
    int link(const std::string& from, const std::string& to) override {
        return ::link(from.c_str(), to.c_str());
    }
    int unlink(const std::string& path) override { return ::unlink(path.c_str()); }
    int mkdir(const std::string& path, mode_t mode) override { return ::mkdir(path.c_str(), mode); }
    int syncFolder(const std::string& path) override {
        const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0)
            return -1;
        const int result = ::fsync(folder);
        const int error = errno;
        ::close(folder);
        errno = error;
        return result;
    }
};

} // namespace

Disk& systemDisk() {
    static SystemDisk disk;
    return disk;
}

bool writeAll(Disk& disk, int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = disk.write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace velloran
