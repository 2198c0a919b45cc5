#include "scheduler_main_form.h"

#include "common/product.h"
#include "exit_form.h"
#include "look/window_placement.h"
#include "platform/help_target.h"
#include "platform/locale_dates.h"
#include "platform/logging.h"
#include "platform/message_box.h"
#include "platform/translated_message.h"
#include "platform/translations.h"
#include "store/task_kinds.h"
#include "task_list_view.h"
#include "task_rows.h"
#include "ui_scheduler_main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>

namespace velloran {

SchedulerMainForm::SchedulerMainForm(const MainFormServices& services, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::SchedulerMainForm>()), services_(services),
      tasks_(services_.tasks),
      actions_(services_.opener, services_.notifications, programSearchOf(services_.programDirectory)),
      dateStyle_(dateStyleOf(QLocale())) {
    ui->setupUi(this);
    setWindowIcon(services_.appIcon);
    // The scan runs from the moment the window exists; until the tasks are loaded it finds none.
    scanTimer_ = new Timer(this);
    scanTimer_->setObjectName("MainTimer");
    scanTimer_->setInterval(5000);
    scanTimer_->onTimeout = [this] { runScan(); };
    help_ = new HelpTarget(services_.programDirectory, this, 2000, QStringLiteral("xdg-mime"),
                           installedLanguage().toStdString());
    housekeepingTimer_ = new Timer(this);
    housekeepingTimer_->setObjectName("FormPtrTimer");
    housekeepingTimer_->setEnabled(false);
    housekeepingTimer_->setInterval(300);
    housekeepingTimer_->onTimeout = [this] { housekeep(); };
    connectControls();
    connectMenus();
    setUpTray();
    startUp();
    centreOnScreen(*this, sizeHint());
}

SchedulerMainForm::~SchedulerMainForm() {
    services_.host.destroyMemoWindows();
}

void SchedulerMainForm::startUp() {
    if (!services_.hiddenStart)
        services_.host.showSplash(this);
    tasks_.open();
    const Result<void> loaded = services_.host.loadSettings();
    // What an earlier run left undone rings before any message waits for an answer.
    const std::vector<Task> notRun = finishInterruptedWindows();
    showStoreNotices();
    if (!loaded)
        MessageBoxes::error(nullptr, translated(loaded.error()));
    tellNotRun(notRun);
}

std::vector<Task> SchedulerMainForm::finishInterruptedWindows() {
    std::vector<Task> notRun;
    for (Task& occurrence : tasks_.takeInterrupted()) {
        const TaskKindInfo* kind = taskKind(occurrence.TaskType);
        if (kind == nullptr ||
            (kind->action != KindAction::ShowAlarm && kind->action != KindAction::ShowMemo)) {
            notRun.push_back(std::move(occurrence));
            continue;
        }
        // Late rather than never: the window that the end of the last run took before it was shown.
        actions_.carryOut(occurrence, occurrence.NextRun);
        tasks_.recordDone(occurrence.TaskId, occurrence.NextRun);
    }
    tasks_.flushChanges();
    return notRun;
}

void SchedulerMainForm::tellNotRun(const std::vector<Task>& notRun) {
    if (notRun.empty())
        return;
    QStringList lines;
    for (const Task& occurrence : notRun) {
        const std::string description = descriptionText(occurrence);
        lines << tr("\u2022 \"%1\"%2, due %3")
                     .arg(shownTargetText(occurrence),
                          description.empty()
                              ? QString()
                              : QStringLiteral(" (%1)").arg(QString::fromStdString(description)),
                          QString::fromStdString(
                              nextRunText(occurrence, services_.settings.LongDateDisplay != 0, dateStyle_)));
    }
    const QString text =
        tr("Velloran did not end normally last time, while it was starting the tasks below. They "
           "may not have run, and Velloran does not start them again:\n\n%1")
            .arg(lines.join(QLatin1Char('\n')));
    qCWarning(logTasks, "%s", qPrintable(text));
    MessageBoxes::ask(isVisible() ? this : nullptr,
                      {QString::fromLatin1(kProgramName), text, QMessageBox::Information, QMessageBox::Ok});
    // Told once: the next start does not tell it again.
    for (const Task& occurrence : notRun)
        tasks_.recordDone(occurrence.TaskId, occurrence.NextRun);
    tasks_.flushChanges();
    showStoreNotices();
}

void SchedulerMainForm::connectControls() {
    // Each picture button says in the form which kind it opens the editor on; -1 lets the editor ask.
    for (QToolButton* button : ui->centralwidget->findChildren<QToolButton*>()) {
        const QVariant kind = button->property("kind");
        if (!kind.isValid())
            continue;
        button->setIcon(kind.toInt() < 0     ? services_.newTaskIcon
                        : services_.kindIcon ? services_.kindIcon(kind.toInt())
                                             : QIcon());
        connect(button, &QToolButton::clicked, this, [this, kind = kind.toInt()] { createTask(kind); });
    }
    ui->TaskView1->setIconForKind(services_.kindIcon);
    connect(ui->TaskView1, &QAbstractItemView::doubleClicked, this, &SchedulerMainForm::editSelectedTask);
    connect(ui->EditBT, &QPushButton::clicked, this, &SchedulerMainForm::editSelectedTask);
    connect(ui->EnableDisableBT, &QPushButton::clicked, this, &SchedulerMainForm::toggleSelectedTask);
    connect(ui->DeleteBT, &QPushButton::clicked, this, &SchedulerMainForm::deleteSelectedTask);
    connect(ui->HideBT, &QPushButton::clicked, this, &SchedulerMainForm::runInBackground);
    // The list follows the window's size; the command buttons keep their distance to the lower edges. The
    // form draws the client area at its smallest size.
    anchors_ = EdgeAnchors(ui->centralwidget->minimumSize());
    anchors_.anchor(ui->TaskView1,
                    EdgeAnchors::Left | EdgeAnchors::Top | EdgeAnchors::Right | EdgeAnchors::Bottom);
    for (QWidget* button : {ui->EditBT, ui->EnableDisableBT, ui->DeleteBT})
        anchors_.anchor(button, EdgeAnchors::Left | EdgeAnchors::Bottom);
    anchors_.anchor(ui->HideBT, EdgeAnchors::Right | EdgeAnchors::Bottom);
}

bool SchedulerMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        setWindowTitle(QString::fromLatin1(kProgramName));
    return QMainWindow::event(event);
}

void SchedulerMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    anchors_.follow(ui->centralwidget->size());
    refreshTaskView();
    housekeepingTimer_->setEnabled(true);
}

void SchedulerMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        // The minimise box sends the window to the tray, leaving no taskbar entry; without a tray it stays
        // minimised until one comes. So does the state change that answers the program's own minimise.
        QMetaObject::invokeMethod(
            this, [this] { tray_->windowMinimised(); }, Qt::QueuedConnection);
}

void SchedulerMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    anchors_.follow(ui->centralwidget->size());
}

void SchedulerMainForm::refreshTaskView() {
    ui->TaskView1->refresh(tasks_.tasks(), services_.settings.SortByDate != 0,
                           services_.settings.LongDateDisplay != 0, dateStyle_);
}

namespace {

// For the log: the same text in every language.
std::string logTime(DateTime value) {
    const std::string text = isoText(value);
    return text.empty() ? "(none)" : text;
}

// Tells the log which task a scan runs and why, for QT_LOGGING_RULES="velloran.tasks.debug=true".
class LoggedActions final : public TaskActionSink {
public:
    LoggedActions(TaskActionSink& inner, DateTime now) : inner_(inner), now_(now) {}
    void carryOut(const Task& task, DateTime due) override {
        qCDebug(logTasks, "scan at %s runs task %u, \"%s\" (%s), due %s, %s; next due %s",
                logTime(now_).c_str(), task.TaskId, targetText(task).c_str(), descriptionText(task).c_str(),
                logTime(due).c_str(), task.enabled() ? "stays enabled" : "now disabled",
                logTime(task.NextRun).c_str());
        inner_.carryOut(task, due);
    }

private:
    TaskActionSink& inner_;
    DateTime now_;
};

} // namespace

void SchedulerMainForm::runScan() {
    // From the last save on, no task runs: it would be recorded after that save and run again.
    if (tasks_.empty() || closing_ || closed_)
        return;
    scanTimer_->setEnabled(false);
    const DateTime now = services_.clock.now();
    LoggedActions logged(actions_, now);
    if (scanDueTasks(tasks_, now, logged))
        refreshTaskView();
    scanTimer_->setEnabled(!closing_);
    showStoreNotices();
}

void SchedulerMainForm::housekeep() {
    if (firstTick_) {
        firstTick_ = false;
        housekeepingTimer_->setInterval(30000);
        // Unless the user has asked for the window meanwhile (the tray's Restore, a second start).
        if (services_.hiddenStart && !tray_->restoredOnce())
            tray_->sendToTray();
    }
    services_.host.sweepClosedNotifications();
}

const Task* SchedulerMainForm::selectedTask() const {
    const auto id = ui->TaskView1->selectedTaskId();
    if (!id || tasks_.empty())
        return nullptr;
    return tasks_.find(*id);
}

void SchedulerMainForm::showStoreNotices() {
    for (const Message& notice : tasks_.takeNotices()) {
        // Also in the session's log, where a start at logon with nobody looking still leaves a trace.
        qCWarning(logTasks, "%s", notice.english().c_str());
        // At log-off or shut-down nobody may be there to answer: the log has it.
        if (systemClose_)
            continue;
        if (notice.severity() == Message::Severity::Information)
            MessageBoxes::information(isVisible() ? this : nullptr, translated(notice));
        else
            MessageBoxes::error(isVisible() ? this : nullptr, translated(notice));
    }
}

void SchedulerMainForm::createTask(int kind) {
    services_.host.showNewTask(this, kind);
    refreshTaskView();
    showStoreNotices();
}

void SchedulerMainForm::editSelectedTask() {
    const Task* task = selectedTask();
    if (task == nullptr)
        return;
    services_.host.showEditTask(this, task->TaskId);
    refreshTaskView();
    showStoreNotices();
}

void SchedulerMainForm::toggleSelectedTask() {
    const Task* task = selectedTask();
    if (task == nullptr)
        return;
    tasks_.toggleEnabled(task->TaskId);
    refreshTaskView();
    showStoreNotices();
}

void SchedulerMainForm::deleteSelectedTask() {
    const auto id = ui->TaskView1->selectedTaskId();
    if (!id || tasks_.empty())
        return;
    if (!tasks_.remove(*id))
        return;
    ui->TaskView1->removeSelectedRow();
    showStoreNotices();
}

void SchedulerMainForm::runInBackground() {
    tray_->sendToTray();
}

void SchedulerMainForm::restoreFromTray() {
    tray_->restore();
}

void SchedulerMainForm::showPreferences() {
    services_.host.showPreferences(this);
    refreshTaskView();
}

void SchedulerMainForm::showAbout() {
    services_.host.showAbout(this);
}

void SchedulerMainForm::openHelp() {
    // The HTML manual stands in where the desktop has no program for the compiled help file.
    help_->find([this](const std::string& path) { services_.opener.open(path); });
}

void SchedulerMainForm::openUpdatePage() {
    services_.opener.open(kProductWebPage);
}

void SchedulerMainForm::confirmExit() {
    const auto answer = MessageBoxes::ask(
        this, {tr("Exit"),
               tr("This will completely close the application. No scheduled tasks will be able to run.\n"
                  " Are you sure you want to exit?"),
               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No});
    if (answer != QMessageBox::Yes)
        return;
    exitCountdown_ = false;
    close();
}

void SchedulerMainForm::runGuarded(int& counter, const std::function<void()>& command) {
    if (counter != 0)
        return;
    ++counter;
    command();
    --counter;
}

void SchedulerMainForm::createTaskFromTray() {
    createTaskOfKind(-1);
}

void SchedulerMainForm::createTaskOfKind(int kind) {
    runGuarded(newTaskTrayGuard_, [this, kind] { createTask(kind); });
}

void SchedulerMainForm::showPreferencesFromTray() {
    runGuarded(preferencesTrayGuard_, [this] { showPreferences(); });
}

void SchedulerMainForm::showAboutFromTray() {
    runGuarded(aboutTrayGuard_, [this] { showAbout(); });
}

bool SchedulerMainForm::saveAndConfirmClose() {
    if (const Result<void> saved = tasks_.save(); !saved)
        reportFailedSave(saved.error());
    showStoreNotices();
    if (!exitCountdown_)
        return true;
    ExitForm countdown(this);
    return countdown.exec() == QDialog::Accepted;
}

void SchedulerMainForm::reportFailedSave(const Message& error) {
    // At log-off or shut-down nobody may be there to answer; the next start tells what was kept.
    if (systemClose_) {
        qCWarning(logTasks, "Your tasks could not be saved.\n%s", error.english().c_str());
        return;
    }
    MessageBoxes::warning(this, tr("Your tasks could not be saved.\n") + translated(error));
}

bool SchedulerMainForm::closeOnSystemRequest() {
    systemClose_ = true;
    if (closing_) {
        // The close under way may be waiting on its failed-save warning; the countdown ends by itself.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->close();
        return true;
    }
    return close();
}

void SchedulerMainForm::closeEvent(QCloseEvent* event) {
    // A close request that arrives while the countdown of an earlier one is open waits for that one.
    if (closing_) {
        event->ignore();
        return;
    }
    closing_ = true;
    // The scan stops before the last save and goes on only if the close is cancelled, so that nothing
    // runs, and nothing is recorded, between that save and the end.
    scanTimer_->setEnabled(false);
    services_.host.closingChanged(true);
    const bool allowed = saveAndConfirmClose();
    closing_ = false;
    if (!allowed) {
        systemClose_ = false;
        services_.host.closingChanged(false);
        scanTimer_->setEnabled(true);
        event->ignore();
        return;
    }
    event->accept();
    closed_ = true;
    tray_->setVisible(false);
    QApplication::quit();
}

} // namespace velloran
