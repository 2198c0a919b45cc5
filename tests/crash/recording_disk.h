// A disk for the crash tests: each change goes to the real disk and is written down as a step, in order,
// so that every state a crash or a power cut could leave can be built from the record afterwards. It can
// also fail a chosen step, as a full disk does, or stop the program at the N-th step, as a kill does.
#pragma once

#include "files/disk.h"

#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace velloran::crash {

struct DiskStep {
    enum class Kind { Create, Write, Fsync, Fdatasync, Rename, Link, Unlink, Mkdir, SyncFolder };
    Kind kind = Kind::Create;
    std::string path;   // the file written or flushed, the name created, renamed, linked or removed
    std::string target; // Rename and Link: the new name
    std::string data;   // Write
};

// Thrown at the step the program is stopped at; nothing is written to the disk from then on.
struct ProgramStopped : std::runtime_error {
    ProgramStopped() : std::runtime_error("stopped") {}
};

class RecordingDisk final : public Disk {
public:
    const std::vector<DiskStep>& steps() const { return steps_; }
    std::size_t count() const { return steps_.size(); }

    // The next `count` writes (into files whose path holds `into`, where given) fail with errorNumber,
    // having written nothing.
    void failNextWrite(int errorNumber, int count = 1, std::string into = {}) {
        failWrite_ = errorNumber;
        failCount_ = count;
        failInto_ = std::move(into);
    }
    // The program stops when it is about to take the step of this number (counted from 0).
    void stopAt(std::size_t step) { stopAt_ = step; }
    bool stopped() const { return stopped_; }

    int openForWriting(const std::string& path, int flags, mode_t mode) override;
    int createTemporary(std::string& name) override;
    ssize_t write(int fd, const void* data, std::size_t size) override;
    int changeMode(int fd, mode_t mode) override;
    int fsync(int fd) override;
    int fdatasync(int fd) override;
    int close(int fd) override;
    int rename(const std::string& from, const std::string& to) override;
    int link(const std::string& from, const std::string& to) override;
    int unlink(const std::string& path) override;
    int mkdir(const std::string& path, mode_t mode) override;
    int syncFolder(const std::string& path) override;

private:
    // False when the program is stopped: the step is not taken.
    bool proceed();
    void add(DiskStep::Kind kind, std::string path, std::string target = {}, std::string data = {});

    std::vector<DiskStep> steps_;
    std::map<int, std::string> open_; // what each descriptor was opened as
    int failWrite_ = 0;
    int failCount_ = 0;
    std::string failInto_;
    std::size_t stopAt_ = static_cast<std::size_t>(-1);
    bool stopped_ = false;
    int temporaries_ = 0;
};

} // namespace velloran::crash
