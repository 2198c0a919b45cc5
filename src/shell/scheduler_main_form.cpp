#include "scheduler_main_form.h"

#include "common/product.h"
#include "exit_form.h"
#include "locale_names.h"
#include "look/window_placement.h"
#include "platform/help_target.h"
#include "platform/logging.h"
#include "platform/message_box.h"
#include "platform/translated_message.h"
#include "store/task_kinds.h"
#include "task_list_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace velloran {
namespace {

constexpr int kClientWidth = 649;
constexpr int kClientHeight = 407;

} // namespace

TSchedulerMainForm::TSchedulerMainForm(const MainFormServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services), tasks_(services_.tasks),
      actions_(services_.opener, services_.notifications, programSearchOf(services_.programDirectory)),
      dateNames_(dateNamesFrom(QLocale::system())) {
    setObjectName("TSchedulerMainForm");
    setWindowTitle("Velloran");
    setWindowIcon(services_.appIcon);
    // The scan runs from the moment the window exists; until the tasks are loaded it finds none.
    MainTimer = new Timer(this);
    MainTimer->setObjectName("MainTimer");
    MainTimer->setInterval(5000);
    MainTimer->onTimeout = [this] { MainTimerTimer(); };
    help_ = new HelpTarget(services_.programDirectory, this);
    FormPtrTimer = new Timer(this);
    FormPtrTimer->setObjectName("FormPtrTimer");
    FormPtrTimer->setEnabled(false);
    FormPtrTimer->setInterval(300);
    FormPtrTimer->onTimeout = [this] { FormPtrTimerTimer(); };
    buildControls();
    buildMenus();
    buildTray();
    FormCreate();
    centreOnScreen(*this, sizeHint());
}

TSchedulerMainForm::~TSchedulerMainForm() {
    services_.host.destroyMemoWindows();
}

void TSchedulerMainForm::FormCreate() {
    if (!services_.hiddenStart)
        services_.host.showSplash(this);
    tasks_.open();
    showStoreNotices();
    if (const Result<void> loaded = services_.host.loadSettings(); !loaded)
        MessageBoxes::error(nullptr, translated(loaded.error()));
}

void TSchedulerMainForm::buildControls() {
    client_ = new QWidget(this);
    client_->setMinimumSize(kClientWidth, kClientHeight);
    setCentralWidget(client_);
    // "New Task", then a button for each kind that has one, side by side.
    const auto addKindButton = [this](std::string_view name, std::string_view tooltip, const QIcon& icon,
                                      int kind) {
        auto* button = new QToolButton(client_);
        button->setObjectName(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        const QString hint = QString::fromLatin1(tooltip.data(), static_cast<qsizetype>(tooltip.size()));
        button->setToolTip(hint);
        // A picture alone says nothing to a screen reader; the tooltip does.
        button->setAccessibleName(hint);
        button->setAutoRaise(true);
        button->setIconSize({48, 48});
        button->setIcon(icon);
        button->setGeometry(8 + 56 * static_cast<int>(kindButtons.size()), 3, 56, 56);
        connect(button, &QToolButton::clicked, this, [this, kind] { ShowNewTask(kind); });
        kindButtons.push_back(button);
    };
    addKindButton("CreateNewTask", "New Task", services_.newTaskIcon, -1);
    for (int kind = 0; kind < kTaskKindCount; ++kind) {
        const TaskKindInfo& info = *taskKind(kind);
        if (!info.newTaskButton.empty())
            addKindButton(info.newTaskButton, info.newTaskTooltip,
                          services_.kindIcon ? services_.kindIcon(kind) : QIcon(), kind);
    }
    TaskView1 = new TaskListView(services_.kindIcon, client_);
    TaskView1->setAccessibleName(QStringLiteral("Task list"));
    connect(TaskView1, &QAbstractItemView::doubleClicked, this, [this] { EditBTClick(); });
    const auto commandButton = [this](const char* name, const char* caption, const char* tooltip) {
        auto* button = new QPushButton(caption, client_);
        button->setObjectName(name);
        button->setToolTip(tooltip);
        button->setAutoDefault(false);
        return button;
    };
    EditBT = commandButton("EditBT", "&Edit", "Edit current selection");
    EnableDisableBT =
        commandButton("EnableDisableBT", "E&nable/Disable", "Toggle status of current selection");
    DeleteBT = commandButton("DeleteBT", "&Delete", "Delete current selection");
    HideBT = commandButton("HideBT", "&Run in background",
                           "Run application in the background - access through icon notification tray");
    connect(EditBT, &QPushButton::clicked, this, &TSchedulerMainForm::EditBTClick);
    connect(EnableDisableBT, &QPushButton::clicked, this, &TSchedulerMainForm::EnableDisableBTClick);
    connect(DeleteBT, &QPushButton::clicked, this, &TSchedulerMainForm::DeleteBTClick);
    connect(HideBT, &QPushButton::clicked, this, &TSchedulerMainForm::HideBTClick);
    placeControls();
}

// The list follows the window's size; the command buttons keep their distance to the lower edges.
void TSchedulerMainForm::placeControls() {
    const int width = std::max(client_->width(), kClientWidth);
    const int height = std::max(client_->height(), kClientHeight);
    const int grow = width - kClientWidth;
    const int drop = height - kClientHeight;
    TaskView1->setGeometry(0, 64, 650 + grow, 295 + drop);
    EditBT->setGeometry(8, 372 + drop, 97, 25);
    EnableDisableBT->setGeometry(112, 372 + drop, 97, 25);
    DeleteBT->setGeometry(216, 372 + drop, 97, 25);
    HideBT->setGeometry(520 + grow, 370 + drop, 115, 25);
}

bool TSchedulerMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        setWindowTitle("Velloran");
    return QMainWindow::event(event);
}

void TSchedulerMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    placeControls();
    RefreshTaskView();
    FormPtrTimer->setEnabled(true);
}

void TSchedulerMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        // The minimise box sends the window to the tray, leaving no taskbar entry; without a tray it stays
        // minimised until one comes.
        QMetaObject::invokeMethod(
            this, [this] { TrayIcon1->Minimize(); }, Qt::QueuedConnection);
}

void TSchedulerMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeControls();
}

void TSchedulerMainForm::RefreshTaskView() {
    TaskView1->refresh(tasks_.tasks(), services_.settings.SortByDate != 0,
                       services_.settings.LongDateDisplay != 0, dateNames_);
}

void TSchedulerMainForm::MainTimerTimer() {
    if (tasks_.empty())
        return;
    MainTimer->setEnabled(false);
    if (scanDueTasks(tasks_, services_.clock.now(), actions_))
        RefreshTaskView();
    MainTimer->setEnabled(true);
    showStoreNotices();
}

void TSchedulerMainForm::FormPtrTimerTimer() {
    if (firstTick_) {
        firstTick_ = false;
        FormPtrTimer->setInterval(30000);
        if (services_.hiddenStart)
            TrayIcon1->Minimize();
    }
    services_.host.sweepClosedNotifications();
}

const Task* TSchedulerMainForm::selectedTask() const {
    const auto id = TaskView1->selectedTaskId();
    if (!id || tasks_.empty())
        return nullptr;
    return tasks_.find(*id);
}

void TSchedulerMainForm::showStoreNotices() {
    for (const Message& notice : tasks_.takeNotices()) {
        // Also in the session's log, where a start at logon with nobody looking still leaves a trace.
        qCWarning(logTasks, "%s", notice.english().c_str());
        // At log-off or shut-down nobody may be there to answer: the log has it.
        if (!systemClose_)
            MessageBoxes::error(isVisible() ? this : nullptr, translated(notice));
    }
}

void TSchedulerMainForm::ShowNewTask(int kind) {
    services_.host.showNewTask(this, kind);
    RefreshTaskView();
    showStoreNotices();
}

void TSchedulerMainForm::EditBTClick() {
    const Task* task = selectedTask();
    if (task == nullptr)
        return;
    services_.host.showEditTask(this, task->TaskId);
    RefreshTaskView();
    showStoreNotices();
}

void TSchedulerMainForm::EnableDisableBTClick() {
    const Task* task = selectedTask();
    if (task == nullptr)
        return;
    tasks_.toggleEnabled(task->TaskId);
    RefreshTaskView();
    showStoreNotices();
}

void TSchedulerMainForm::DeleteBTClick() {
    const auto id = TaskView1->selectedTaskId();
    if (!id || tasks_.empty())
        return;
    if (!tasks_.remove(*id))
        return;
    TaskView1->removeSelectedRow();
    showStoreNotices();
}

void TSchedulerMainForm::HideBTClick() {
    TrayIcon1->Minimize();
}

void TSchedulerMainForm::Restore1Click() {
    TrayIcon1->Restore();
}

void TSchedulerMainForm::Preferences1Click() {
    services_.host.showPreferences(this);
    RefreshTaskView();
}

void TSchedulerMainForm::About1Click() {
    services_.host.showAbout(this);
}

void TSchedulerMainForm::Help2Click() {
    // The HTML manual stands in where the desktop has no program for the compiled help file.
    help_->find([this](const std::string& path) { services_.opener.open(path); });
}

void TSchedulerMainForm::CheckforUpdate1Click() {
    services_.opener.open(kProductWebPage);
}

void TSchedulerMainForm::ExitClick() {
    const auto answer = MessageBoxes::ask(
        this, {"Exit",
               "This will completely close the application. No scheduled tasks will be able to run.\n"
               " Are you sure you want to exit?",
               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No});
    if (answer != QMessageBox::Yes)
        return;
    exitCountdown_ = false;
    close();
}

void TSchedulerMainForm::runGuarded(int& counter, const std::function<void()>& command) {
    if (counter != 0)
        return;
    ++counter;
    command();
    --counter;
}

void TSchedulerMainForm::CreatenewTaskTrayClick() {
    runGuarded(newTaskTrayGuard_, [this] { ShowNewTask(-1); });
}

void TSchedulerMainForm::Preferences2Click() {
    runGuarded(preferencesTrayGuard_, [this] { Preferences1Click(); });
}

void TSchedulerMainForm::TtrayAboutClick() {
    runGuarded(aboutTrayGuard_, [this] { About1Click(); });
}

bool TSchedulerMainForm::FormCloseQuery() {
    if (const Result<void> saved = tasks_.save(); !saved)
        reportFailedSave(saved.error());
    showStoreNotices();
    if (!exitCountdown_)
        return true;
    TExitForm countdown(this);
    return countdown.exec() == QDialog::Accepted;
}

void TSchedulerMainForm::reportFailedSave(const Message& error) {
    // At log-off or shut-down nobody may be there to answer; the next start tells what was kept.
    if (systemClose_) {
        qCWarning(logTasks, "Your tasks could not be saved.\n%s", error.english().c_str());
        return;
    }
    MessageBoxes::warning(this, QStringLiteral("Your tasks could not be saved.\n") + translated(error));
}

bool TSchedulerMainForm::SystemClose() {
    systemClose_ = true;
    if (closing_) {
        // The close under way may be waiting on its failed-save warning; the countdown ends by itself.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->close();
        return true;
    }
    return close();
}

void TSchedulerMainForm::closeEvent(QCloseEvent* event) {
    // A close request that arrives while the countdown of an earlier one is open waits for that one.
    if (closing_) {
        event->ignore();
        return;
    }
    closing_ = true;
    const bool allowed = FormCloseQuery();
    closing_ = false;
    if (!allowed) {
        systemClose_ = false;
        event->ignore();
        return;
    }
    event->accept();
    closed_ = true;
    TrayIcon1->setVisible(false);
    QApplication::quit();
}

} // namespace velloran
