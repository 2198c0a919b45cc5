// Whole-file reads, folders and the words for what went wrong with a file.
#pragma once

#include "disk.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velloran {

enum class FileRead { Read, Missing, Failed };

// Reads a regular file of at most maxSize bytes. On Failed, error says why.
FileRead readWholeFile(const std::string& path, std::size_t maxSize, std::string& content,
                       std::string& error);

// Creates a folder and any missing folder above it with the given mode, each made durable in the folder
// above it. Returns why it failed, or "".
std::string makeFolders(const std::string& path, mode_t mode, Disk& disk = systemDisk());

// The folder part of a path ("." when there is none).
std::string parentFolder(const std::string& path);

bool isFolder(const std::string& path);
bool isRegularFile(const std::string& path);

// $HOME, else the user's home from the password database, else a folder of this user's in /tmp.
std::string homeFolder();

// A path typed as "~/..." is in the user's home, as in a shell; every other path, "~user/..." and a '~'
// further on included, is returned as it is.
std::string expandHomePrefix(std::string_view path, std::string_view home);

// What the user is told when a file step fails: what "path": the system's reason.
std::string describeFileError(std::string_view what, const std::string& path, int errorNumber);

} // namespace velloran
