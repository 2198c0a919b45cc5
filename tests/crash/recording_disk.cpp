#include "recording_disk.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::crash {

bool RecordingDisk::proceed() {
    if (stopped_) {
        // What unwinds after the stop (a destructor cleaning up) changes nothing any more.
        errno = EIO;
        return false;
    }
    if (steps_.size() == stopAt_) {
        stopped_ = true;
        throw ProgramStopped();
    }
    return true;
}

void RecordingDisk::add(DiskStep::Kind kind, std::string path, std::string target, std::string data) {
    steps_.push_back({kind, std::move(path), std::move(target), std::move(data)});
}

int RecordingDisk::openForWriting(const std::string& path, int flags, mode_t mode) {
    if (!proceed())
        return -1;
    struct stat info {};
    const bool existed = ::lstat(path.c_str(), &info) == 0;
    if (flags & O_TRUNC)
        throw std::logic_error("the store never truncates: the model does not know it");
    const int fd = systemDisk().openForWriting(path, flags, mode);
    if (fd < 0)
        return fd;
    open_[fd] = path;
    if (!existed)
        add(DiskStep::Kind::Create, path);
    return fd;
}

int RecordingDisk::createTemporary(std::string& name) {
    if (!proceed())
        return -1;
    // Numbered, not random, so that two runs of a scenario take the same steps.
    const std::string pattern = name.substr(0, name.size() - 6);
    for (;;) {
        char number[8];
        std::snprintf(number, sizeof number, "%06d", ++temporaries_ % 1000000);
        const std::string candidate = pattern + number;
        const int fd = systemDisk().openForWriting(candidate, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return fd;
        name = candidate;
        open_[fd] = candidate;
        add(DiskStep::Kind::Create, candidate);
        return fd;
    }
}

ssize_t RecordingDisk::write(int fd, const void* data, std::size_t size) {
    if (!proceed())
        return -1;
    if (failCount_ > 0 && open_.at(fd).find(failInto_) != std::string::npos) {
        --failCount_;
        errno = failWrite_;
        return -1;
    }
    const ssize_t written = ::write(fd, data, size);
    if (written > 0)
        add(DiskStep::Kind::Write, open_.at(fd), {},
            std::string(static_cast<const char*>(data), static_cast<std::size_t>(written)));
    return written;
}

int RecordingDisk::changeMode(int fd, mode_t mode) {
    if (!proceed())
        return -1;
    return ::fchmod(fd, mode); // permissions play no part in what a crash leaves
}

int RecordingDisk::fsync(int fd) {
    if (!proceed())
        return -1;
    const int result = ::fsync(fd);
    if (result == 0)
        add(DiskStep::Kind::Fsync, open_.at(fd));
    return result;
}

int RecordingDisk::fdatasync(int fd) {
    if (!proceed())
        return -1;
    const int result = ::fdatasync(fd);
    if (result == 0)
        add(DiskStep::Kind::Fdatasync, open_.at(fd));
    return result;
}

int RecordingDisk::close(int fd) {
    // Not a change to the disk, and always done: a stopped program's descriptors close with it.
    open_.erase(fd);
    return ::close(fd);
}

int RecordingDisk::rename(const std::string& from, const std::string& to) {
    if (!proceed())
        return -1;
    const int result = systemDisk().rename(from, to);
    if (result == 0) {
        add(DiskStep::Kind::Rename, from, to);
        // A descriptor follows its file to the new name.
        for (auto& [fd, name] : open_)
            if (name == from)
                name = to;
    }
    return result;
}

int RecordingDisk::link(const std::string& from, const std::string& to) {
    if (!proceed())
        return -1;
    const int result = systemDisk().link(from, to);
    if (result == 0)
        add(DiskStep::Kind::Link, from, to);
    return result;
}

int RecordingDisk::unlink(const std::string& path) {
    if (!proceed())
        return -1;
    const int result = systemDisk().unlink(path);
    if (result == 0)
        add(DiskStep::Kind::Unlink, path);
    return result;
}

int RecordingDisk::mkdir(const std::string& path, mode_t mode) {
    if (!proceed())
        return -1;
    const int result = systemDisk().mkdir(path, mode);
    if (result == 0)
        add(DiskStep::Kind::Mkdir, path);
    return result;
}

int RecordingDisk::syncFolder(const std::string& path) {
    if (!proceed())
        return -1;
    const int result = systemDisk().syncFolder(path);
    if (result == 0)
        add(DiskStep::Kind::SyncFolder, path);
    return result;
}

} // namespace velloran::crash
