// Every step that changes the disk, behind one small interface: creating, writing, flushing, renaming,
// linking and removing files, making folders and flushing a folder's entries. The program uses the
// system's; the crash tests use one that records each step and can fail or stop at any of them, so that
// every state a crash or a power cut can leave is known.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace velloran {

// Each call behaves as the system call of the same name: -1 with errno set on failure.
class Disk {
public:
    virtual ~Disk() = default;

    // open(2) for writing; flags are O_WRONLY or O_RDWR with any of O_CREAT, O_EXCL, O_TRUNC, O_APPEND.
    virtual int openForWriting(const std::string& path, int flags, mode_t mode) = 0;
    // mkostemp(3): name ends in "XXXXXX", which is replaced by the name made.
    virtual int createTemporary(std::string& name) = 0;
    virtual ssize_t write(int fd, const void* data, std::size_t size) = 0;
    virtual int changeMode(int fd, mode_t mode) = 0;
    virtual int fsync(int fd) = 0;
    virtual int fdatasync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int link(const std::string& from, const std::string& to) = 0;
    virtual int unlink(const std::string& path) = 0;
    virtual int mkdir(const std::string& path, mode_t mode) = 0;
    // Makes the folder's entries (files created, renamed or removed in it) survive a power cut.
    virtual int syncFolder(const std::string& path) = 0;
};

// The system's own, for the running program.
Disk& systemDisk();

// Writes all of data, going on after short writes and interruptions; false with errno set on failure.
bool writeAll(Disk& disk, int fd, const void* data, std::size_t size);

} // namespace velloran
