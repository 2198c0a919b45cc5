// Whole-file reads, folders and the words for what went wrong with a file.
#pragma once

#include "common/result.h"

#include "disk.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velloran {

// Reads a regular file of at most maxSize bytes: its bytes, nothing when there is no file, or why it could
// not be read.
Result<std::optional<std::string>> readWholeFile(const std::string& path, std::size_t maxSize);

// Creates a folder and any missing folder above it with the given mode, each made durable in the folder
// above it.
Result<void> makeFolders(const std::string& path, mode_t mode, Disk& disk = systemDisk());

// The folder part of a path ("." when there is none).
std::string parentFolder(const std::string& path);

bool isFolder(const std::string& path);
bool isRegularFile(const std::string& path);

// $HOME, else the user's home from the password database, else a folder of this user's in /tmp.
std::string homeFolder();

// A path typed as "~/..." is in the user's home, as in a shell; every other path, "~user/..." and a '~'
// further on included, is returned as it is.
std::string expandHomePrefix(std::string_view path, std::string_view home);

// What the user is told when a file step fails: problem is a text of the "Files" context, marked for
// translation, with the path for %1 and the system's reason for %2 (kFileCannotRead ...).
Message describeFileError(const char* problem, const std::string& path, int errorNumber);

inline constexpr const char* kFileCannotRead = QT_TRANSLATE_NOOP("Files", "Cannot read \"%1\": %2");
inline constexpr const char* kFileCannotWrite = QT_TRANSLATE_NOOP("Files", "Cannot write \"%1\": %2");
inline constexpr const char* kFileCannotReplace = QT_TRANSLATE_NOOP("Files", "Cannot replace \"%1\": %2");
inline constexpr const char* kFileCannotDelete = QT_TRANSLATE_NOOP("Files", "Cannot delete \"%1\": %2");
inline constexpr const char* kFileCannotCreateFolder =
    QT_TRANSLATE_NOOP("Files", "Cannot create folder \"%1\": %2");
inline constexpr const char* kFileCannotOpen = QT_TRANSLATE_NOOP("Files", "Cannot open \"%1\": %2");
inline constexpr const char* kFileCannotLock = QT_TRANSLATE_NOOP("Files", "Cannot lock \"%1\": %2");

} // namespace velloran
