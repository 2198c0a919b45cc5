#include "program_directory.h"

#include "file_io.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder.push_back('/');
    return folder;
}

} // namespace

std::string programDirectory() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return "./";
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.find_last_of('/') + 1);
}

std::string userDataFolder() {
    // A relative XDG_DATA_HOME is invalid and ignored.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/')
        return withSlash(data) + "velloran/";
    return withSlash(homeFolder()) + ".local/share/velloran/";
}

std::string userStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return withSlash(state) + "velloran/";
    return withSlash(homeFolder()) + ".local/state/velloran/";
}

bool isWritableFolder(const std::string& folder) {
    // Replacing tasks.tsk means creating a file beside it and renaming it, so the folder decides.
    return isFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool helpViewerMatters(const std::string& programDirectory) {
    return isRegularFile(programDirectory + kCompiledHelpFile) &&
           isRegularFile(programDirectory + kHtmlManualPage);
}

std::string chooseHelpFile(const std::string& programDirectory, bool helpViewerRegistered) {
    const std::string compiled = programDirectory + kCompiledHelpFile;
    const std::string manual = programDirectory + kHtmlManualPage;
    if (!isRegularFile(manual))
        return compiled;
    if (!isRegularFile(compiled))
        return manual;
    return helpViewerRegistered ? compiled : manual;
}

} // namespace velloran
