// SchedulerMainForm: the main window. It owns the task list, drives the scan, and holds the commands
// that create, edit, enable, disable and delete tasks.
#pragma once

#include "date_format.h"
#include "edge_anchors.h"
#include "main_window_host.h"
#include "platform/timer.h"
#include "prefs/settings_record.h"
#include "scheduler/task_actions.h"
#include "store/task_store.h"
#include "tray_icon.h"

#include <QIcon>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;

namespace Ui {
class SchedulerMainForm;
}

namespace velloran {

class HelpTarget;

// The services the main window works with, handed in so that tests can replace each.
struct MainFormServices {
    TaskStore& tasks; // opened by the window when it is created
    const Clock& clock;
    Opener& opener;
    NotificationWindows& notifications;
    SettingsRecord& settings;
    MainWindowHost& host;
    std::string programDirectory; // with a trailing '/'
    bool hiddenStart = false;
    // Pictures: the application, the eight kinds and the "New Task" button.
    QIcon appIcon;
    std::function<QIcon(int kind)> kindIcon;
    QIcon newTaskIcon;
};

class SchedulerMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit SchedulerMainForm(const MainFormServices& services, QWidget* parent = nullptr);
    ~SchedulerMainForm() override;

    const TaskStore& tasks() const { return tasks_; }

    // Rebuilds the list from the tasks and the display settings.
    void refreshTaskView();
    // Task Setup for a new task of kind, as the kind's button opens it; from outside the window (the
    // command line, the bus), once at a time, as from the tray.
    void createTaskOfKind(int kind);
    // Brings the window back from the tray, in front of the others.
    void restoreFromTray();

    // A close the system asks for (a signal, the session's end): the same path, but nothing on it waits
    // for an answer that may never come. True when the window closed or a close is already under way.
    bool closeOnSystemRequest();
    // True once a close went through and the application is ending.
    bool closed() const { return closed_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The splash, the tasks and the settings, as the window is made.
    void startUp();
    void connectControls();
    void connectMenus();
    void setUpTray();
    // The due-task scan, every tick of the scan timer.
    void runScan();
    // The first tick sends a hidden start to the tray; every tick frees the notification windows closed.
    void housekeep();

    // Commands, from the buttons, the menus and the tray.
    void createTask(int kind);
    void editSelectedTask();
    void toggleSelectedTask();
    void deleteSelectedTask();
    void runInBackground();
    void showPreferences();
    void showAbout();
    void openHelp();
    void openUpdatePage();
    // Asks; on Yes the window closes without the countdown.
    void confirmExit();
    // The tray's commands that open a window, each kept from opening a second copy of its own.
    void createTaskFromTray();
    void showPreferencesFromTray();
    void showAboutFromTray();

    // Save, then the countdown unless the user confirmed an Exit; true when the window may close.
    bool saveAndConfirmClose();
    const Task* selectedTask() const;
    // Shows, each once, what the task store has to tell the user.
    void showStoreNotices();
    // What an earlier run left undone when it ended: its alarms and memos are shown now; the other tasks
    // are returned, to be told of and not started again.
    std::vector<Task> finishInterruptedWindows();
    void tellNotRun(const std::vector<Task>& notRun);
    void runGuarded(int& counter, const std::function<void()>& command);
    void reportFailedSave(const Message& error);

    std::unique_ptr<Ui::SchedulerMainForm> ui;
    EdgeAnchors anchors_;
    TrayIcon* tray_ = nullptr;
    Timer* scanTimer_ = nullptr;
    Timer* housekeepingTimer_ = nullptr;
    QMenu* taskPopup_ = nullptr;
    QMenu* trayPopupMenu_ = nullptr;

    HelpTarget* help_ = nullptr;
    MainFormServices services_;
    TaskStore& tasks_;
    TaskActions actions_;
    DateNames dateNames_;
    bool firstTick_ = true;
    bool exitCountdown_ = true;
    bool closing_ = false;
    bool systemClose_ = false;
    bool closed_ = false;
    int newTaskTrayGuard_ = 0;
    int preferencesTrayGuard_ = 0;
    int aboutTrayGuard_ = 0;
};

} // namespace velloran
