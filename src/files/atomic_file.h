// Writes a file so that a crash or a full disk never leaves it half written: a temporary file in the same
// folder is written, flushed to disk and renamed over the old one.
#pragma once

#include "file_identity.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace velloran {

class AtomicFile {
public:
    // mode is used for a new file; a file that exists keeps its permissions.
    AtomicFile(std::string path, mode_t mode);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();
    bool write(const void* data, std::size_t size);
    // Makes the written content the file's; until then the old file is untouched.
    bool commit();

    // Why the last step failed, for the user.
    const std::string& error() const { return error_; }
    // The file as committed, so that a later reader can tell whether it is still the same one.
    const FileIdentity& written() const { return written_; }

private:
    bool fail(std::string_view what, int errorNumber);
    void discard();

    std::string path_;
    std::string tempPath_;
    mode_t mode_;
    int fd_ = -1;
    std::string error_;
    FileIdentity written_;
};

// The whole content at once; returns an empty text on success, else why it failed.
std::string writeFileAtomically(const std::string& path, std::string_view content, mode_t mode);

// Removes the temporary files that saves of this path left when they were interrupted (a crash, a kill or
// a power cut); a temporary that a running save still holds is left alone, and so is every other file.
void removeLeftTemporaries(const std::string& path);

// Deletes a file; a file that is not there is no error. Returns why it failed, empty on success.
std::string removeFileIfPresent(const std::string& path);

} // namespace velloran
