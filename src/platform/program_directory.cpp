#include "program_directory.h"

#include <climits>
#include <unistd.h>

namespace velloran {

std::string programDirectory() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return "./";
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.find_last_of('/') + 1);
}

} // namespace velloran
