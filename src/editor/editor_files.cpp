#include "editor_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sys/stat.h>

namespace velloran {
namespace {

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool hasWavExtension(const std::string& name) {
    return name.size() > 4 && lowered(name.substr(name.size() - 4)) == ".wav";
}

} // namespace

std::vector<std::string> listAlarmSounds(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return names;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error)
            break;
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        // is_regular_file follows links, so a link to a sound counts and a link to a folder does not.
        if (name.empty() || name.front() == '.' || !hasWavExtension(name) || !it->is_regular_file(typeError))
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lowered(a);
        const std::string lb = lowered(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

bool pathExists(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace velloran
