// TSchedulerMainForm: the main window. It owns the task list, drives the scan, and holds the commands
// that create, edit, enable, disable and delete tasks.
#pragma once

#include "date_format.h"
#include "main_window_host.h"
#include "platform/timer.h"
#include "prefs/settings_record.h"
#include "scheduler/task_actions.h"
#include "store/task_store.h"
#include "tray_icon.h"

#include <QIcon>
#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

class QMenu;
class QAction;
class QToolButton;
class QPushButton;

namespace velloran {

class HelpTarget;
class TaskListView;

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

class TSchedulerMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TSchedulerMainForm(const MainFormServices& services, QWidget* parent = nullptr);
    ~TSchedulerMainForm() override;

    const TaskStore& tasks() const { return tasks_; }

    void RefreshTaskView();
    void MainTimerTimer();
    void FormPtrTimerTimer();

    // Commands, also reached from the menus.
    void ShowNewTask(int kind);
    void EditBTClick();
    void EnableDisableBTClick();
    void DeleteBTClick();
    void HideBTClick();
    void Restore1Click();
    void Preferences1Click();
    void About1Click();
    void Help2Click();
    void CheckforUpdate1Click();
    void ExitClick();
    // The tray's commands that open a window, each kept from opening a second copy of its own.
    void CreatenewTaskTrayClick();
    void Preferences2Click();
    void TtrayAboutClick();

    // Save, then the countdown unless the user confirmed an Exit; true when the window may close.
    bool FormCloseQuery();
    // A close the system asks for (a signal, the session's end): the same path, but nothing on it waits
    // for an answer that may never come. True when the window closed or a close is already under way.
    bool SystemClose();
    // True once a close went through and the application is ending.
    bool closed() const { return closed_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void buildControls();
    void buildMenus();
    void buildTray();
    void placeControls();
    const Task* selectedTask() const;
    // Shows, each once, what the task store has to tell the user.
    void showStoreNotices();
    void runGuarded(int& counter, const std::function<void()>& command);
    void reportFailedSave(const Message& error);

    TaskListView* TaskView1 = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    Timer* MainTimer = nullptr;
    Timer* FormPtrTimer = nullptr;
    QMenu* TaskPopup = nullptr;
    QMenu* TrayPopupMenu = nullptr;
    std::vector<QToolButton*> kindButtons; // "New Task", then one for each kind that has one
    QPushButton* EditBT = nullptr;
    QPushButton* EnableDisableBT = nullptr;
    QPushButton* DeleteBT = nullptr;
    QPushButton* HideBT = nullptr;

    HelpTarget* help_ = nullptr;
    MainFormServices services_;
    TaskStore& tasks_;
    TaskActions actions_;
    DateNames dateNames_;
    QWidget* client_ = nullptr;
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
