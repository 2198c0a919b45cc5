// The main window's tests: a host that records what the window asked of it, a bench holding everything
// the window needs, and the window's private controls found by their names.
#pragma once

#include "platform/timer.h"
#include "shell/scheduler_main_form.h"
#include "shell/task_list_view.h"
#include "shell/tray_icon.h"
#include "stand_ins.h"
#include "window_checks.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <functional>
#include <memory>
#include <vector>

namespace velloran::test {

class RecordingHost final : public MainWindowHost {
public:
    std::string settingsError; // what loadSettings reports
    int splashes = 0;
    QWidget* splashOwner = nullptr;
    std::vector<int> newTasks;
    std::vector<std::uint32_t> editedTasks;
    int preferences = 0;
    int abouts = 0;
    int sweeps = 0;
    int memoWindowsDestroyed = 0;
    std::vector<bool> closingChanges;
    // Run while the window is open, as a user's clicks elsewhere would.
    std::function<void()> whileNewTaskOpen;
    std::function<void()> whilePreferencesOpen;
    std::function<void()> whileAboutOpen;

    Result<void> loadSettings() override {
        if (settingsError.empty())
            return {};
        return failure(Message(settingsError));
    }
    void showSplash(QWidget* owner) override {
        ++splashes;
        splashOwner = owner;
    }
    void showNewTask(QWidget*, int kind) override {
        newTasks.push_back(kind);
        if (whileNewTaskOpen)
            whileNewTaskOpen();
    }
    void showEditTask(QWidget*, std::uint32_t taskId) override { editedTasks.push_back(taskId); }
    void showPreferences(QWidget*) override {
        ++preferences;
        if (whilePreferencesOpen)
            whilePreferencesOpen();
    }
    void showAbout(QWidget*) override {
        ++abouts;
        if (whileAboutOpen)
            whileAboutOpen();
    }
    void sweepClosedNotifications() override { ++sweeps; }
    void destroyMemoWindows() override { ++memoWindowsDestroyed; }
    void closingChanged(bool closing) override { closingChanges.push_back(closing); }
};

struct CountingWindows final : NotificationWindows {
    int alarms = 0;
    int memos = 0;
    void showAlarm(const std::string&, const std::string&, const Occurrence&) override { ++alarms; }
    void showMemo(const std::string&, const FontBlock&, const Occurrence&) override { ++memos; }
};

// Everything a main window needs, with its task file in a temporary folder.
struct MainFormBench {
    QTemporaryDir dir;
    FixedClock clock;
    RecordingOpener opener;
    CountingWindows windows;
    SettingsRecord settings = defaultSettings();
    RecordingHost host;
    bool hiddenStart = false;
    // Each window keeps its store; a later window reads the file again.
    std::vector<std::unique_ptr<TaskStore>> stores;

    std::string programDirectory() const { return dir.path().toStdString() + "/"; }
    QString taskFile() const { return dir.filePath(QStringLiteral("tasks.tsk")); }

    std::unique_ptr<SchedulerMainForm> makeForm() {
        stores.push_back(std::make_unique<TaskStore>(
            taskFile().toStdString(), dir.filePath(QStringLiteral("state/tasks.journal")).toStdString()));
        return std::make_unique<SchedulerMainForm>(MainFormServices{.tasks = *stores.back(),
                                                                    .clock = clock,
                                                                    .opener = opener,
                                                                    .notifications = windows,
                                                                    .settings = settings,
                                                                    .host = host,
                                                                    .programDirectory = programDirectory(),
                                                                    .hiddenStart = hiddenStart,
                                                                    .appIcon = QIcon(),
                                                                    .kindIcon = nullptr,
                                                                    .newTaskIcon = QIcon()});
    }
};

inline TaskListView* taskView(const SchedulerMainForm& form) {
    return part<TaskListView>(form, "TaskView1");
}
inline TrayIcon* trayIcon(const SchedulerMainForm& form) {
    return part<TrayIcon>(form, "TrayIcon1");
}
inline Timer* mainTimer(const SchedulerMainForm& form) {
    return part<Timer>(form, "MainTimer");
}
inline Timer* formPtrTimer(const SchedulerMainForm& form) {
    return part<Timer>(form, "FormPtrTimer");
}

// The picture buttons along the top: "New Task", then one for each kind but General.
inline std::vector<QToolButton*> kindButtons(const SchedulerMainForm& form) {
    std::vector<QToolButton*> buttons;
    for (const char* name : {"CreateNewTask", "CreateAlarm", "CreateMemo", "CreateExe", "CreateWeb",
                             "CreateAudio", "CreateVideo", "CreateDoc"})
        buttons.push_back(part<QToolButton>(form, name));
    return buttons;
}

// A click on the window's button of that name, as the user's.
inline void click(const QObject& window, const char* button) {
    part<QAbstractButton>(window, button)->click();
}

// The menu item of that name chosen, as the user does.
inline void choose(const QObject& window, const char* item) {
    part<QAction>(window, item)->trigger();
}

} // namespace velloran::test
