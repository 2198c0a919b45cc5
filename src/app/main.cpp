// Velloran: one instance per user, a main window in the tray, and the tasks carried out when due.
#include "common/product.h"
#include "editor/set_task_form.h"
#include "editor/task_requests.h"
#include "files/program_directory.h"
#include "files/task_file_lock.h"
#include "look/artwork.h"
#include "look/design_style.h"
#include "look/fonts.h"
#include "notify/notification_forms.h"
#include "platform/bus_notifications.h"
#include "platform/close_signals.h"
#include "platform/deferred_sound_player.h"
#include "platform/desktop_opener.h"
#include "platform/logging.h"
#include "platform/translated_message.h"
#include "platform/translations.h"
#include "platform/wayland_activation.h"
#include "platform/x11_activation.h"
#include "prefs/about_form.h"
#include "prefs/preferences_form.h"
#include "prefs/settings_store.h"
#include "prefs/splash_form.h"
#include "registry/registry_file.h"
#include "shell/guarded_application.h"
#include "shell/kind_icons.h"
#include "shell/program_bus.h"
#include "shell/scheduler_main_form.h"
#include "shell/second_start.h"
#include "shell/single_instance.h"
#include "shell/system_close_requests.h"
#include "store/task_file_place.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace velloran;

namespace {

bool isHiddenStart(int argc, char* argv[]) {
    return argc > 1 && QString::fromLocal8Bit(argv[1]).compare("hide", Qt::CaseInsensitive) == 0;
}

// Read before Qt starts: its X11 platform takes DESKTOP_STARTUP_ID away as it connects, and the Wayland
// token is meant for the running window that a second start brings back, not for this start's question.
RestoreRequest launchTokens() {
    RestoreRequest tokens{qgetenv("XDG_ACTIVATION_TOKEN").toStdString(),
                          qgetenv("DESKTOP_STARTUP_ID").toStdString()};
    qunsetenv("XDG_ACTIVATION_TOKEN");
    return tokens;
}

// On Wayland the compositor is handed the token for the window. On X11 the window manager is asked with
// the time of the launcher's user action that the startup id carries.
void restoreWithToken(SchedulerMainForm& form, const QString& activationToken, const QString& startupId) {
    form.restoreFromTray();
    activateWaylandWindow(&form, activationToken);
    if (const auto time = startupIdTime(startupId.toStdString());
        time && QGuiApplication::platformName() == QLatin1String("xcb"))
        activateX11Window(&form, *time);
}

// What the main window asks of the rest of the program: the settings, the windows it opens (each a
// modal dialog that lives for its call) and the notification windows' tidying.
class ProgramWindows final : public MainWindowHost {
public:
    ProgramWindows(TaskStore& tasks, SettingsRecord& settings, Opener& opener, const Clock& clock,
                   Registry& registry, NotificationForms& notifications, std::string folder,
                   std::function<void(bool)> closing)
        : tasks_(tasks), settings_(settings), opener_(opener), clock_(clock), registry_(registry),
          notifications_(notifications), folder_(std::move(folder)), closing_(std::move(closing)) {}

    Result<void> loadSettings() override { return velloran::loadSettings(registry_, settings_); }
    void showSplash(QWidget* owner) override {
        SplashForm splash(owner);
        splash.exec();
    }
    void showNewTask(QWidget* owner, int kind) override {
        SetTaskForm editor(owner, tasks_, settings_, notifications_.ringing(), opener_, clock_, folder_);
        editor.showNewTask(kind);
    }
    void showEditTask(QWidget* owner, std::uint32_t taskId) override {
        SetTaskForm editor(owner, tasks_, settings_, notifications_.ringing(), opener_, clock_, folder_);
        editor.showEditTask(taskId);
    }
    void showPreferences(QWidget* owner) override {
        PreferencesForm preferences(owner, settings_, registry_,
                                    QCoreApplication::applicationFilePath().toStdString());
        preferences.exec();
    }
    void showAbout(QWidget* owner) override {
        AboutForm about(owner, opener_);
        about.exec();
    }
    void sweepClosedNotifications() override { notifications_.sweep(); }
    void destroyMemoWindows() override { notifications_.destroyMemoWindows(); }
    void closingChanged(bool closing) override { closing_(closing); }

private:
    TaskStore& tasks_;
    SettingsRecord& settings_;
    Opener& opener_;
    const Clock& clock_;
    Registry& registry_;
    NotificationForms& notifications_;
    std::string folder_;
    std::function<void(bool)> closing_;
};

} // namespace

int main(int argc, char* argv[]) {
    routeProgramLog();
    // A request from the command line is answered with no display: the windows' application is made only
    // for a start of the program and for Task Setup.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const Result<Command, CommandError> command = readCommandLine(arguments);
    if (!command || (command->action != CommandAction::Start && command->action != CommandAction::NewTask)) {
        QCoreApplication core(argc, argv);
        installTranslations(core);
        if (!command) {
            std::fprintf(stderr, "%s\n", refusalText(command.error()).toLocal8Bit().constData());
            return 2;
        }
        if (command->action == CommandAction::Help || command->action == CommandAction::Version)
            return runCommandLine(*command, arguments, {}, {});
        const std::string folder = programDirectory();
        // The same task file as a start of the program would use, found (and first copied) the same way.
        const TaskFilePlace place = placeTaskFile(folder, isWritableFolder(folder), userDataFolder());
        for (const Message& notice : place.notices)
            std::fprintf(stderr, "%s\n", translated(notice).toLocal8Bit().constData());
        return runCommandLine(*command, arguments, place.taskFile, folder);
    }
    // "--new KIND": Task Setup for that kind, here or in the Velloran that runs on the task file.
    const bool opensNewTask = command->action == CommandAction::NewTask;
    const int newTaskKind = command->kind;

    const RestoreRequest launch = launchTokens();
    GuardedApplication app(argc, argv);
    // Before any text is made: every window and message is in the user's language from the start.
    installTranslations(app);
    // No display name: Qt would append it to every title bar ("Exit — Velloran"), and each window's
    // title is exactly its caption.
    QApplication::setApplicationName("Velloran");
    QApplication::setDesktopFileName("velloran");
    // The main window may sit in the tray while notes come and go; only its close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    installDesignStyle();
    installFontSubstitutes();
    QApplication::setFont(designFont());
    QApplication::setWindowIcon(appIcon());

    // From here on a close that the system asks for is never lost: before the main window exists (a
    // second start's question, the splash, a start-up error) it ends the window on screen and waits.
    CloseSignals closeSignals;
    SystemCloseRequests systemClose;
    QObject::connect(&closeSignals, &CloseSignals::closeRequested, &systemClose,
                     [&systemClose] { systemClose.request(); });
    // The autostart entry starts the program at logon; a restored session must not start a second copy.
    // Committing data is no close: desktops ask for it at checkpoints too. A log-off then tells the
    // application to quit, which the close requests take to the main window's close path.
    const auto restartNever = [](QSessionManager& manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
    };
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &systemClose, restartNever);
    QObject::connect(&app, &QGuiApplication::saveStateRequest, &systemClose, restartNever);

    const std::string folder = programDirectory();
    // A read-only program directory (a system-wide install) keeps tasks.tsk in the user's data folder.
    TaskFilePlace place = placeTaskFile(folder, isWritableFolder(folder), userDataFolder());
    const std::string taskFile = place.taskFile;
    // One Velloran per user, and one per task file whoever runs it, held until the process ends.
    if (int status = 0; opensNewTask && handToRunningInstance(arguments, taskFile, status))
        return status;
    SingleInstance instance;
    TaskFileLock taskLock(taskFile);
    if (!claimStart(instance, taskLock, taskFile, launch, [&systemClose] { return systemClose.requested(); }))
        return -1;

    if (::chdir(folder.c_str()) != 0)
        qCWarning(logStart, "cannot enter %s", folder.c_str());
    // What changes between two saves of tasks.tsk is recorded here, so that a crash loses none of it;
    // each task file has a journal of its own.
    TaskStore tasks(taskFile, journalPathFor(taskFile, userStateFolder()));
    for (Message& notice : place.notices)
        tasks.addNotice(std::move(notice));

    SystemClock clock;
    DesktopOpener opener;
    DeferredSoundPlayer sound(folder);
    FileRegistry registry;
    SettingsRecord settings = zeroSettings();
    BusNotifications desktopNotices(QString::fromLatin1(kProgramIconName));
    NotificationForms notifications(sound, desktopNotices, settings, clock, folder);

    // A later start waits for a closing Velloran to end rather than offer it back.
    const auto tellClosing = [&instance, &taskLock](bool closing) {
        instance.setClosing(closing);
        taskLock.setClosing(closing);
    };
    ProgramWindows windows{tasks, settings, opener, clock, registry, notifications, folder, tellClosing};
    const MainFormServices services{.tasks = tasks,
                                    .clock = clock,
                                    .opener = opener,
                                    .notifications = notifications,
                                    .settings = settings,
                                    .host = windows,
                                    .programDirectory = folder,
                                    .hiddenStart = isHiddenStart(argc, argv),
                                    .appIcon = appIcon(),
                                    .kindIcon = kindIcon,
                                    .newTaskIcon = newTaskIcon()};
    SchedulerMainForm form(services);

    QObject::connect(&instance, &SingleInstance::restoreRequested, &form,
                     [&form](const QString& activationToken, const QString& startupId) {
                         restoreWithToken(form, activationToken, startupId);
                     });
    // Requests from the command line and the bus, applied through the store; the list follows them.
    std::unique_ptr<TaskRequests> requests;
    ProgramBus bus([&requests](const std::vector<std::string>& request) { return requests->answer(request); },
                   [&tasks] { return busListing(tasks); });
    requests = std::make_unique<TaskRequests>(
        tasks, [&folder, &settings] { return commandContextFor(folder, settings.DefaultFont); },
        [&form](int kind) { QTimer::singleShot(0, &form, [&form, kind] { form.createTaskOfKind(kind); }); },
        [&form, &bus] {
            form.refreshTaskView();
            emit bus.TasksChanged();
        });
    instance.setCommandHandler(
        [&requests](const std::vector<std::string>& request) { return requests->answer(request); });
    bus.publish();

    systemClose.attach([&form] { return form.closeOnSystemRequest(); }, [&form] { return form.closed(); });

    // A close asked for during start-up ends the program without showing its window.
    if (!systemClose.requested()) {
        form.show();
        if (opensNewTask)
            QTimer::singleShot(0, &form, [&form, newTaskKind] { form.createTaskOfKind(newTaskKind); });
    }
    return app.run();
}
