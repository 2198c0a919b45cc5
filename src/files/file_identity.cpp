#include "file_identity.h"

#include "atomic_file.h"
#include "disk.h"
#include "file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

// Copies the bytes of one open file into a new file created exclusively; false on any failure.
bool copyInto(int from, const std::string& to, mode_t mode, int& failure, Disk& disk) {
    const int out = disk.openForWriting(to, O_WRONLY | O_CREAT | O_EXCL, mode);
    if (out < 0) {
        failure = errno;
        return false;
    }
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || !writeAll(disk, out, buffer, static_cast<std::size_t>(got))) {
            failure = errno;
            ok = false;
            break;
        }
    }
    if (ok && disk.fsync(out) != 0) {
        failure = errno;
        ok = false;
    }
    disk.close(out);
    if (!ok)
        disk.unlink(to);
    return ok;
}

} // namespace

FileIdentity identityOfPath(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    ContentChecksum content;
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ok = false;
            break;
        }
        content.add(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ok ? identityOf(content) : FileIdentity{};
}

FileStamp stampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.present = true;
    stamp.inode = info.st_ino;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modified = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
    stamp.changed = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
    return stamp;
}

FileStamp stampOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return stampOf(info);
}

Result<std::string> keepCopyOf(const std::string& path, const std::string& wanted, Disk& disk) {
    for (int number = 1; number < 1000; ++number) {
        const std::string name = number == 1 ? wanted : wanted + "-" + std::to_string(number);
        // A hard link to a symbolic link would follow it to whatever replaces the file: the file is kept.
        bool kept = disk.link(writtenPath(path), name) == 0;
        if (!kept && errno == EEXIST)
            continue;
        if (!kept) {
            // Some file systems have no hard links: copy the bytes instead.
            const int from = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (from < 0)
                return failure(std::string(std::strerror(errno)));
            int copyError = 0;
            kept = copyInto(from, name, 0600, copyError, disk);
            ::close(from);
            if (!kept && copyError == EEXIST)
                continue;
            if (!kept)
                return failure(std::string(std::strerror(copyError)));
        }
        // The user is told of the copy: it must still be there after a power cut.
        disk.syncFolder(parentFolder(name));
        return name;
    }
    return failure(std::string(std::strerror(EEXIST)));
}

} // namespace velloran
