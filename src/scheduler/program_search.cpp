#include "program_search.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

// What a shell searches when PATH is not set at all (the C library's default).
constexpr const char* kDefaultSearchPath = "/bin:/usr/bin";

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string inFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path.append(name);
}

} // namespace

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

ProgramSearch programSearchOf(std::string programFolder) {
    const char* path = std::getenv("PATH");
    return {std::move(programFolder), path != nullptr ? path : kDefaultSearchPath};
}

std::optional<std::string> findProgram(std::string_view target, const ProgramSearch& where) {
    if (target.empty() || target.find('\0') != std::string_view::npos)
        return std::nullopt;
    if (target.front() == '/')
        return exists(std::string(target)) ? std::optional<std::string>(target) : std::nullopt;
    // The folder the system's open started from: the program folder, first for every relative name.
    if (where.programFolder.empty() || where.programFolder.front() != '/')
        return std::nullopt; // a relative result would depend on whatever the current folder is
    if (std::string here = inFolder(where.programFolder, target); exists(here))
        return here;
    if (target.find('/') != std::string_view::npos)
        return std::nullopt;
    std::string_view folders = where.searchPath;
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        // An empty entry is the current folder, searched above as the program folder; a relative one
        // would depend on the current folder.
        if (!folder.empty() && folder.front() == '/') {
            std::string candidate = inFolder(folder, target);
            if (isExecutableFile(candidate))
                return candidate;
        }
        if (colon == std::string_view::npos)
            return std::nullopt;
        folders.remove_prefix(colon + 1);
    }
}

} // namespace velloran
