// Which version of a file a path held: its size and a checksum of its bytes, taken while it was read or
// written. A record of changes made to one version is never applied to another, and the device number,
// which may change across a reboot, plays no part.
#pragma once

#include "common/result.h"

#include "content_checksum.h"

#include <cstdint>
#include <string>

struct stat;

namespace velloran {

class Disk;

struct FileIdentity {
    bool present = false; // false: there was no file
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

inline FileIdentity identityOf(const ContentChecksum& content) {
    return {true, content.size(), content.value()};
}
// Reads the whole file; not present when there is nothing there or it cannot be read.
FileIdentity identityOfPath(const std::string& path);

// What a running program sees of a file between its own reads and writes: cheap to take at each save, and
// changed by any write or replacement (the change time cannot be set back).
struct FileStamp {
    bool present = false;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds
    std::int64_t changed = 0;  // nanoseconds

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp stampOf(const struct stat& info);
FileStamp stampOfPath(const std::string& path);

// Keeps the file at path under the name wanted, or wanted-2, wanted-3 ... when that is taken, without
// touching the original: a hard link where the folder allows it, a copy otherwise; made durable before it
// returns. Gives the name given, or the system's reason why no copy could be made.
Result<std::string> keepCopyOf(const std::string& path, const std::string& wanted, Disk& disk);

} // namespace velloran
