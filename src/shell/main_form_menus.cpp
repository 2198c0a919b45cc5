// The main window's menus: the main menu, the list's context menu and the tray's menu. Their items are
// the form's; the two pop-up menus are put together here, since a form holds only a menu bar's menus.
#include "scheduler_main_form.h"

#include "task_list_view.h"
#include "ui_scheduler_main_form.h"

#include <QMenu>

namespace velloran {
namespace {

QMenu* popupMenu(QWidget* owner, const char* name, const QList<QAction*>& items) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    menu->addActions(items);
    return menu;
}

} // namespace

void SchedulerMainForm::connectMenus() {
    connect(ui->NewTask1, &QAction::triggered, this, [this] { createTask(-1); });
    connect(ui->Preferences1, &QAction::triggered, this, &SchedulerMainForm::showPreferences);
    connect(ui->Runinbackground1, &QAction::triggered, this, &SchedulerMainForm::runInBackground);
    connect(ui->Exit2, &QAction::triggered, this, &SchedulerMainForm::confirmExit);
    // Each item of the Tasks menu says in the form which kind it opens the editor on.
    for (QAction* item : ui->Tasks1->actions()) {
        const int kind = item->property("kind").toInt();
        if (services_.kindIcon)
            item->setIcon(services_.kindIcon(kind));
        connect(item, &QAction::triggered, this, [this, kind] { createTask(kind); });
    }
    connect(ui->Help2, &QAction::triggered, this, &SchedulerMainForm::openHelp);
    connect(ui->CheckforUpdate1, &QAction::triggered, this, &SchedulerMainForm::openUpdatePage);
    connect(ui->About1, &QAction::triggered, this, &SchedulerMainForm::showAbout);

    taskPopup_ = popupMenu(this, "TaskPopup",
                           {ui->TaskPopupEdit, ui->TaskPopupEnableDisable, ui->N4, ui->TaskPopupDelete});
    connect(ui->TaskPopupEdit, &QAction::triggered, this, &SchedulerMainForm::editSelectedTask);
    connect(ui->TaskPopupEnableDisable, &QAction::triggered, this, &SchedulerMainForm::toggleSelectedTask);
    connect(ui->TaskPopupDelete, &QAction::triggered, this, &SchedulerMainForm::deleteSelectedTask);
    connect(ui->TaskView1, &TaskListView::contextMenuWanted, this,
            [this](const QPoint& at) { taskPopup_->popup(at); });
}

void SchedulerMainForm::setUpTray() {
    trayPopupMenu_ = popupMenu(this, "TrayPopupMenu",
                               {ui->Restore1, ui->CreatenewTaskTray, ui->N8, ui->Preferences2, ui->N1,
                                ui->TtrayAbout, ui->N6, ui->Exit1});
    connect(ui->Restore1, &QAction::triggered, this, &SchedulerMainForm::restoreFromTray);
    connect(ui->CreatenewTaskTray, &QAction::triggered, this, &SchedulerMainForm::createTaskFromTray);
    connect(ui->Preferences2, &QAction::triggered, this, &SchedulerMainForm::showPreferencesFromTray);
    connect(ui->TtrayAbout, &QAction::triggered, this, &SchedulerMainForm::showAboutFromTray);
    connect(ui->Exit1, &QAction::triggered, this, &SchedulerMainForm::confirmExit);

    tray_ = new TrayIcon(this);
    tray_->setObjectName("TrayIcon1");
    tray_->setIcon(services_.appIcon);
    tray_->setVisible(true);
    tray_->setHint(tr("Velloran - right click for options"));
    tray_->setPopupMenu(trayPopupMenu_);
}

} // namespace velloran
