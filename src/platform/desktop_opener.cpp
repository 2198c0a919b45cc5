#include "desktop_opener.h"

#include "logging.h"

#include <QProcess>
#include <QStringList>

namespace velloran {
namespace {

void startDetached(const std::string& program, const QStringList& arguments) {
    // Each argument reaches the program exactly as given: no shell ever sees it.
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(arguments);
    if (!process.startDetached())
        qCWarning(logOpen, "cannot start %s", program.c_str());
}

} // namespace

std::string openerArgument(const std::string& target) {
    if (!target.empty() && target.front() == '-')
        return "./" + target;
    return target;
}

void DesktopOpener::open(const std::string& target) {
    if (target.empty())
        return;
    startDetached(openerProgram_, {QString::fromStdString(openerArgument(target))});
}

void DesktopOpener::runProgram(const std::string& path, const std::vector<std::string>& arguments) {
    // The program that was found and checked, never one of the same name on PATH: a bare name is the
    // current folder's.
    const std::string program = path.find('/') == std::string::npos ? "./" + path : path;
    // A script without the execute bit, a .desktop entry or a document is opened the desktop's way.
    if (!isExecutableFile(program)) {
        open(program);
        return;
    }
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    startDetached(program, list);
}

} // namespace velloran
