#include "desktop_opener.h"

#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

void startDetached(const std::string& program, const QStringList& arguments) {
    // Each argument reaches the program exactly as given: no shell ever sees it.
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(arguments);
    if (!process.startDetached())
        std::fprintf(stderr, "velloran: cannot start %s\n", program.c_str());
}

} // namespace

std::string openerArgument(const std::string& target) {
    if (!target.empty() && target.front() == '-')
        return "./" + target;
    return target;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void DesktopOpener::open(const std::string& target) {
    if (target.empty())
        return;
    startDetached(openerProgram_, {QString::fromStdString(openerArgument(target))});
}

void DesktopOpener::runProgram(const std::string& path, const std::vector<std::string>& arguments) {
    // A script without the execute bit, a .desktop entry or a document is opened the desktop's way.
    if (!isExecutableFile(path)) {
        open(path);
        return;
    }
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    startDetached(path, list);
}

} // namespace velloran
