#include "file_io.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
FileRead readWholeFile(const std::string& path, std::size_t maxSize, std::string& content,
                       std::string& error) {
    content.clear();
    error.clear();
    // Non-blocking, so that a pipe put in place of the file cannot stall the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return FileRead::Missing;
        error = describeFileError("Cannot read", path, errno);
        return FileRead::Failed;
    }
    FileRead result = FileRead::Read;
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        error = describeFileError("Cannot read", path, errno);
        result = FileRead::Failed;
    } else if (!S_ISREG(info.st_mode)) {
        error = describeFileError("Cannot read", path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        result = FileRead::Failed;
    }
    char buffer[16384];
    while (result == FileRead::Read) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = describeFileError("Cannot read", path, errno);
            result = FileRead::Failed;
        } else if (content.size() + static_cast<std::size_t>(got) > maxSize) {
            error = describeFileError("Cannot read", path, EFBIG);
            result = FileRead::Failed;
        } else {
            content.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    if (result != FileRead::Read)
        content.clear();
    return result;
}

std::string makeFolders(const std::string& path, mode_t mode, Disk& disk) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? std::string()
                                     : describeFileError("Cannot create folder", path, ENOTDIR);
    const std::string parent = parentFolder(path);
    if (parent != path && parent != "." && parent != "/") {
        std::string error = makeFolders(parent, mode, disk);
        if (!error.empty())
            return error;
    }
    if (disk.mkdir(path, mode) != 0)
        return errno == EEXIST ? std::string() : describeFileError("Cannot create folder", path, errno);
    // A file made in the new folder next must not outlive the folder in a power cut.
    disk.syncFolder(parent);
    return {};
}

std::string parentFolder(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const auto slash = trimmed.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : trimmed.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr)
        return user->pw_dir;
    return "/tmp/velloran-" + std::to_string(::getuid());
}

std::string expandHomePrefix(std::string_view path, std::string_view home) {
    if (path.size() < 2 || path[0] != '~' || path[1] != '/' || home.empty())
        return std::string(path);
    // "~/x" with home "/" is "/x", not "//x".
    if (home.back() == '/')
        home.remove_suffix(1);
    return std::string(home) + std::string(path.substr(1));
}

std::string describeFileError(std::string_view what, const std::string& path, int errorNumber) {
    return std::string(what) + " \"" + path + "\": " + std::strerror(errorNumber);
}

} // namespace velloran
