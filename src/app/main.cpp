// Velloran: loads the tasks of the program directory and carries them out when they fall due.
#include "console_notifications.h"
#include "platform/close_signals.h"
#include "platform/desktop_opener.h"
#include "platform/program_directory.h"
#include "platform/timer.h"
#include "scheduler/task_actions.h"
#include "store/task_file.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

using namespace velloran;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Velloran");

    const std::string folder = programDirectory();
    if (::chdir(folder.c_str()) != 0)
        std::fprintf(stderr, "velloran: cannot enter %s\n", folder.c_str());
    const std::string taskFile = folder + kTaskFileName;

    SystemClock clock;
    TaskList tasks;
    loadTaskFile(taskFile, tasks);
    std::fprintf(stderr, "velloran: %zu tasks from %s; scanning every 5 s\n", tasks.size(), taskFile.c_str());

    DesktopOpener opener;
    ConsoleNotifications windows;
    TaskActions actions(opener, windows);

    Timer mainTimer;
    mainTimer.setInterval(5000);
    mainTimer.OnTimer = [&] {
        if (tasks.empty())
            return;
        mainTimer.setEnabled(false);
        scanDueTasks(tasks, clock.now(), actions);
        mainTimer.setEnabled(true);
    };

    CloseSignals closeSignals;
    QObject::connect(&closeSignals, &CloseSignals::closeRequested, &app, [&] {
        const std::string error = saveTaskFile(taskFile, tasks);
        if (!error.empty())
            std::fprintf(stderr, "velloran: %s\n", error.c_str());
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}
