// The main window's menus: the main menu, the list's context menu and the tray's menu.
#include "scheduler_main_form.h"

#include "store/task_kinds.h"
#include "task_list_view.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

namespace velloran {
namespace {

QAction* addItem(QMenu* menu, const char* name, const char* caption, QObject* receiver,
                 const std::function<void()>& handler, bool available = true) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setEnabled(available);
    QObject::connect(action, &QAction::triggered, receiver, handler);
    return action;
}

} // namespace

void TSchedulerMainForm::buildMenus() {
    const bool editor = static_cast<bool>(services_.showNewTask);
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    bar->setAccessibleName(QStringLiteral("Main menu"));

    QMenu* file = bar->addMenu("&File");
    addItem(
        file, "NewTask1", "&New Task", this, [this] { ShowNewTask(-1); }, editor);
    file->addSeparator()->setObjectName("N2");
    addItem(
        file, "Preferences1", "&Preferences", this, [this] { Preferences1Click(); },
        static_cast<bool>(services_.showPreferences));
    file->addSeparator()->setObjectName("N5");
    addItem(file, "Runinbackground1", "&Run in background", this, [this] { HideBTClick(); });
    addItem(file, "Exit2", "E&xit", this, [this] { ExitClick(); });

    QMenu* tasks = bar->addMenu("&Tasks");
    for (int kind = 0; kind < kTaskKindCount; ++kind) {
        const TaskKindInfo& info = *taskKind(kind);
        if (info.newMenuItem.empty())
            continue;
        QAction* action = addItem(
            tasks, std::string(info.newMenuItem).c_str(), std::string(info.newMenuCaption).c_str(), this,
            [this, kind] { ShowNewTask(kind); }, editor);
        if (services_.kindIcon)
            action->setIcon(services_.kindIcon(kind));
    }

    QMenu* help = bar->addMenu("&Help");
    addItem(help, "Help2", "&Help", this, [this] { Help2Click(); });
    help->addSeparator()->setObjectName("N3");
    addItem(help, "CheckforUpdate1", "&Check for Update", this, [this] { CheckforUpdate1Click(); });
    help->addSeparator()->setObjectName("N7");
    addItem(
        help, "About1", "&About", this, [this] { About1Click(); }, static_cast<bool>(services_.showAbout));

    TaskPopup = new QMenu(this);
    TaskPopup->setObjectName("TaskPopup");
    addItem(
        TaskPopup, "TaskPopupEdit", "&Edit", this, [this] { EditBTClick(); }, editor);
    addItem(TaskPopup, "TaskPopupEnableDisable", "Enable/Disable", this, [this] { EnableDisableBTClick(); });
    TaskPopup->addSeparator()->setObjectName("N4");
    addItem(TaskPopup, "TaskPopupDelete", "&Delete", this, [this] { DeleteBTClick(); });
    connect(TaskView1, &TaskListView::contextMenuWanted, this,
            [this](const QPoint& at) { TaskPopup->popup(at); });

    for (QToolButton* button : kindButtons)
        button->setEnabled(editor);
    EditBT->setEnabled(editor);
}

void TSchedulerMainForm::buildTray() {
    TrayPopupMenu = new QMenu(this);
    TrayPopupMenu->setObjectName("TrayPopupMenu");
    addItem(TrayPopupMenu, "Restore1", "&Open Task Scheduler", this, [this] { Restore1Click(); });
    addItem(
        TrayPopupMenu, "CreatenewTaskTray", "Create &New Task", this, [this] { CreatenewTaskTrayClick(); },
        static_cast<bool>(services_.showNewTask));
    TrayPopupMenu->addSeparator()->setObjectName("N8");
    addItem(
        TrayPopupMenu, "Preferences2", "&Preferences", this, [this] { Preferences2Click(); },
        static_cast<bool>(services_.showPreferences));
    TrayPopupMenu->addSeparator()->setObjectName("N1");
    addItem(
        TrayPopupMenu, "TtrayAbout", "&About", this, [this] { TtrayAboutClick(); },
        static_cast<bool>(services_.showAbout));
    TrayPopupMenu->addSeparator()->setObjectName("N6");
    addItem(TrayPopupMenu, "Exit1", "&Exit Task Scheduler", this, [this] { ExitClick(); });

    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setIcon(services_.appIcon);
    TrayIcon1->setVisible(true);
    TrayIcon1->setHint("Velloran - right click for options");
    TrayIcon1->setPopupMenu(TrayPopupMenu);
}

} // namespace velloran
