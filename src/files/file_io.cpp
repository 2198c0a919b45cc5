#include "file_io.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
Result<std::optional<std::string>> readWholeFile(const std::string& path, std::size_t maxSize) {
    // Non-blocking, so that a pipe put in place of the file cannot stall the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::optional<std::string>();
        return failure(describeFileError(kFileCannotRead, path, errno));
    }
    int problem = 0;
    struct stat info {};
    if (fstat(fd, &info) != 0)
        problem = errno;
    else if (!S_ISREG(info.st_mode))
        problem = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    std::string content;
    char buffer[16384];
    while (problem == 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno != EINTR)
                problem = errno;
        } else if (content.size() + static_cast<std::size_t>(got) > maxSize) {
            problem = EFBIG;
        } else {
            content.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    if (problem != 0)
        return failure(describeFileError(kFileCannotRead, path, problem));
    return std::optional<std::string>(std::move(content));
}

Result<void> makeFolders(const std::string& path, mode_t mode, Disk& disk) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return {};
        return failure(describeFileError(kFileCannotCreateFolder, path, ENOTDIR));
    }
    const std::string parent = parentFolder(path);
    if (parent != path && parent != "." && parent != "/") {
        if (Result<void> above = makeFolders(parent, mode, disk); !above)
            return above;
    }
    if (disk.mkdir(path, mode) != 0) {
        if (errno == EEXIST)
            return {};
        return failure(describeFileError(kFileCannotCreateFolder, path, errno));
    }
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

Message describeFileError(const char* problem, const std::string& path, int errorNumber) {
    return Message("Files", problem, {path, std::string(std::strerror(errorNumber))});
}

} // namespace velloran
