#include "editor_files.h"

#include "common/text.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace velloran {
namespace {

bool hasWavExtension(const std::string& name) {
    return name.size() > 4 && equalsIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".wav");
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
    // By name in any letter case, names that differ only in case in byte order.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto differs = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                           [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
        if (differs.first == a.end() || differs.second == b.end())
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        return static_cast<unsigned char>(lowerAscii(*differs.first)) <
               static_cast<unsigned char>(lowerAscii(*differs.second));
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
