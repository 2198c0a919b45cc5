#include "private_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {

bool makePrivateFolder(const std::string& path) {
    // mkdir never follows a link in the last part of the path: a planted link makes it fail with EEXIST.
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    // Checked on the opened folder itself, so that nothing can be swapped in between check and use.
    const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return false;
    struct stat status {};
    bool mine = ::fstat(folder, &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid();
    if (mine && (status.st_mode & 077) != 0)
        mine = ::fchmod(folder, 0700) == 0;
    ::close(folder);
    return mine;
}

bool isPrivateFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
           (status.st_mode & 077) == 0;
}

} // namespace velloran
