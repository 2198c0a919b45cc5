// Whole-file reads and folder creation for the registry file and the autostart entry.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace velloran {

enum class FileRead { Read, Missing, Failed };

// Reads a regular file of at most maxSize bytes. On Failed, error says why.
FileRead readWholeFile(const std::string& path, std::size_t maxSize, std::string& content,
                       std::string& error);

// Creates a folder and any missing folder above it with the given mode. Returns why it failed, or "".
std::string makeFolders(const std::string& path, mode_t mode);

// The folder part of a path ("." when there is none).
std::string parentFolder(const std::string& path);

} // namespace velloran
