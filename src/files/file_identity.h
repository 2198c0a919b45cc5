// Which file a path named when it was read or written: a file replaced or rewritten since has another
// identity, so a record of changes made to one version is never applied to another.
#pragma once

#include <cstdint>
#include <string>

struct stat;

namespace velloran {

struct FileIdentity {
    bool present = false; // false: there was no file
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity identityOf(const struct stat& info);
// The identity of what the path names now; not present when there is nothing there.
FileIdentity identityOfPath(const std::string& path);

// Keeps the file at path under the name wanted, or wanted-2, wanted-3 ... when that is taken, without
// touching the original: a hard link where the folder allows it, a copy otherwise. Returns the name
// given, or an empty text when no copy could be made (the reason in error).
std::string keepCopyOf(const std::string& path, const std::string& wanted, std::string& error);

} // namespace velloran
