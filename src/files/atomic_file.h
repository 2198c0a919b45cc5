// Writes a file so that a crash or a full disk never leaves it half written: a temporary file in the same
// folder is written, flushed to disk and renamed over the old one.
#pragma once

#include "disk.h"
#include "file_identity.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace velloran {

class AtomicFile {
public:
    // mode is used for a new file; a file that exists keeps its permissions.
    AtomicFile(std::string path, mode_t mode, Disk& disk = systemDisk());
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();
    bool write(const void* data, std::size_t size);
    // Makes the written content durable; until commit() the old file is untouched.
    bool flush();
    // Makes the written content the file's, flushing it first where flush() was not called.
    bool commit();

    // Why the last step failed, for the user.
    const std::string& error() const { return error_; }
    // What was written so far, so that a later reader can tell whether the file is still this one.
    FileIdentity written() const { return identityOf(content_); }

private:
    bool fail(std::string_view what, int errorNumber);
    void discard();

    std::string path_;
    std::string tempPath_;
    mode_t mode_;
    Disk& disk_;
    int fd_ = -1;
    bool flushed_ = false;
    std::string error_;
    ContentChecksum content_;
};

// The whole content at once; returns an empty text on success, else why it failed.
std::string writeFileAtomically(const std::string& path, std::string_view content, mode_t mode,
                                Disk& disk = systemDisk());

// Removes the temporary files that saves of this path left when they were interrupted (a crash, a kill or
// a power cut); a temporary that a running save still holds is left alone, and so is every other file.
void removeLeftTemporaries(const std::string& path, Disk& disk = systemDisk());

// Deletes a file, durably: when it returns, a power cut cannot bring the file back. A file that is not
// there is no error. Returns why it failed, empty on success.
std::string removeFileIfPresent(const std::string& path, Disk& disk = systemDisk());

} // namespace velloran
