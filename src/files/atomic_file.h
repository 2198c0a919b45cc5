// Writes a file so that a crash or a full disk never leaves it half written: a temporary file in the same
// folder is written, flushed to disk and renamed over the old one.
#pragma once

#include "common/result.h"

#include "disk.h"
#include "file_identity.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace velloran {

class AtomicFile {
public:
    // mode is used for a new file; a file that exists keeps its permissions. A symbolic link at path is
    // replaced by the file, or with LinkWrite::Through written through (see writtenPath).
    enum class LinkWrite { Replace, Through };
    AtomicFile(std::string path, mode_t mode, Disk& disk = systemDisk(),
               LinkWrite links = LinkWrite::Replace);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Each step fails with why, for the user; after a failure the temporary is gone.
    Result<void> open();
    Result<void> write(const void* data, std::size_t size);
    // Makes the written content durable; until commit() the old file is untouched.
    Result<void> flush();
    // Makes the written content the file's, flushing it first where flush() was not called.
    Result<void> commit();

    // Gives the write up: the temporary goes, the old file stays as it was.
    void discard();

    // What was written so far, so that a later reader can tell whether the file is still this one.
    FileIdentity written() const { return identityOf(content_); }

private:
    Failure<Message> fail(const char* problem, int errorNumber);
    Failure<Message> notOpen() const;

    std::string path_;
    std::string target_; // path_, or the file its symbolic link leads to
    std::string tempPath_;
    mode_t mode_;
    Disk& disk_;
    LinkWrite links_;
    int fd_ = -1;
    bool flushed_ = false;
    ContentChecksum content_;
};

// The whole content at once.
Result<void> writeFileAtomically(const std::string& path, std::string_view content, mode_t mode,
                                 Disk& disk = systemDisk());

// The file that a save of path replaces: where path is a symbolic link of this user's (or root's), the
// file it leads to, followed to the end, whether that is there or not; otherwise path itself. A link that
// someone else made is not followed, so that it cannot send a save over one of this user's files.
std::string writtenPath(const std::string& path);

// Removes the temporary files that saves of this path left when they were interrupted (a crash, a kill or
// a power cut); a temporary that a running save still holds is left alone, and so is every other file.
void removeLeftTemporaries(const std::string& path, Disk& disk = systemDisk());

// Deletes a file, durably: when it returns, a power cut cannot bring the file back. A file that is not
// there is no error.
Result<void> removeFileIfPresent(const std::string& path, Disk& disk = systemDisk());

} // namespace velloran
