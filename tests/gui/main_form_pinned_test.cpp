// The main window's menus item by item, the confirmed Exit that skips the countdown, and its two timers.
#include "platform/message_box.h"
#include "shell/exit_form.h"
#include "shell/scheduler_main_form.h"
#include "store/task_file.h"
#include "test_doubles.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velloran;
using test::FixedClock;
using test::RecordingOpener;

namespace {

struct NoWindows : NotificationWindows {
    void showAlarm(const std::string&, const std::string&) override {}
    void showMemo(const std::string&, const FontBlock&) override {}
};

// Each item as "name caption", a separator as "name -".
QStringList items(const QMenu* menu) {
    QStringList list;
    for (const QAction* action : menu->actions())
        list << action->objectName() + ' ' + (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

} // namespace

class MainFormPinnedTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    FixedClock clock_;
    RecordingOpener opener_;
    NoWindows windows_;
    SettingsRecord settings_ = defaultSettings();
    QList<MessageBoxRequest> boxes_;
    std::vector<std::unique_ptr<TaskStore>> stores_;

    std::unique_ptr<TSchedulerMainForm> makeForm() {
        MainFormServices services;
        services.programDirectory = dir_.path().toStdString() + "/";
        stores_.push_back(std::make_unique<TaskStore>(dir_.filePath("tasks.tsk").toStdString(),
                                                      dir_.filePath("state/tasks.journal").toStdString()));
        services.tasks = stores_.back().get();
        services.clock = &clock_;
        services.opener = &opener_;
        services.notifications = &windows_;
        services.settings = &settings_;
        // Every window is there, so that no command is disabled for want of one.
        services.showNewTask = [](QWidget*, int) {};
        services.showEditTask = [](QWidget*, std::uint32_t) {};
        services.showPreferences = [](QWidget*) {};
        services.showAbout = [](QWidget*) {};
        return std::make_unique<TSchedulerMainForm>(std::move(services));
    }

    void writeOneTask() {
        TaskList list;
        Task record;
        record.TaskType = kGeneral;
        record.NextRun = clock_.value + 30;
        record.Flags = kEnabled;
        list.appendLoaded(record).TaskId = 1;
        QCOMPARE(QString::fromStdString(saveTaskFile(dir_.filePath("tasks.tsk").toStdString(), list)),
                 QString());
    }

private slots:
    void initTestCase() {
        clock_.value = test::localTime(2010, 6, 1, 12, 0);
        MessageBoxes::setHandler([this](const MessageBoxRequest& request) {
            boxes_ << request;
            return QMessageBox::Yes;
        });
    }

    void init() {
        boxes_.clear();
        QFile::remove(dir_.filePath("tasks.tsk"));
        QDir(dir_.filePath("state")).removeRecursively();
    }

    void mainMenuItemsInOrder() {
        auto form = makeForm();
        QStringList titles;
        for (const QAction* menu : form->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&Tasks", "&Help"}));
        const auto menu = [&](int index) { return form->menuBar()->actions().at(index)->menu(); };
        QCOMPARE(items(menu(0)), (QStringList{"NewTask1 &New Task", "N2 -", "Preferences1 &Preferences",
                                              "N5 -", "Runinbackground1 &Run in background", "Exit2 E&xit"}));
        QCOMPARE(items(menu(1)), (QStringList{"Alarmclock1 &Alarm clock", "Memo1 &Memo",
                                              "Executable1 &Executable", "Webpage1 &Web page",
                                              "Audio1 A&udio", "Video1 &Video", "Document1 &Document"}));
        QCOMPARE(items(menu(2)), (QStringList{"Help2 &Help", "N3 -", "CheckforUpdate1 &Check for Update",
                                              "N7 -", "About1 &About"}));
    }

    void contextAndTrayMenuItemsInOrder() {
        auto form = makeForm();
        QCOMPARE(items(form->TaskPopup),
                 (QStringList{"TaskPopupEdit &Edit", "TaskPopupEnableDisable Enable/Disable", "N4 -",
                              "TaskPopupDelete &Delete"}));
        QCOMPARE(items(form->TrayPopupMenu),
                 (QStringList{"Restore1 &Open Task Scheduler", "CreatenewTaskTray Create &New Task", "N8 -",
                              "Preferences2 &Preferences", "N1 -", "TtrayAbout &About", "N6 -",
                              "Exit1 &Exit Task Scheduler"}));
        QCOMPARE(form->TrayIcon1->Hint(), QString("Velloran - right click for options"));
    }

    void exitAnsweredYesEndsWithoutTheCountdown() {
        writeOneTask();
        auto form = makeForm();
        form->show();
        // A countdown, were one to come, is recorded and cancelled so that the test cannot hang.
        bool countdownShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (auto* countdown = qobject_cast<TExitForm*>(QApplication::activeModalWidget())) {
                countdownShown = true;
                countdown->Button1->click();
            }
        });
        watch.start(10);
        QFile::remove(dir_.filePath("tasks.tsk"));
        form->ExitClick();
        QVERIFY(!countdownShown);
        QVERIFY(!form->isVisible());
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].caption, QString("Exit"));
        QCOMPARE(boxes_[0].text,
                 QString("This will completely close the application. No scheduled tasks will be "
                         "able to run.\n Are you sure you want to exit?"));
        QCOMPARE(boxes_[0].icon, QMessageBox::Question);
        QCOMPARE(boxes_[0].buttons, QMessageBox::Yes | QMessageBox::No);
        // The close saved the list all the same.
        QVERIFY(QFile::exists(dir_.filePath("tasks.tsk")));
    }

    void splashIsOwnedByTheMainWindow() {
        QWidget* owner = nullptr;
        int shown = 0;
        MainFormServices services;
        services.programDirectory = dir_.path().toStdString() + "/";
        TaskStore tasks;
        services.tasks = &tasks;
        services.clock = &clock_;
        services.opener = &opener_;
        services.notifications = &windows_;
        services.settings = &settings_;
        services.showSplash = [&](QWidget* splashOwner) {
            owner = splashOwner;
            ++shown;
        };
        TSchedulerMainForm form(std::move(services));
        QCOMPARE(shown, 1);
        QCOMPARE(owner, &form);
    }

    void countdownBlocksOnlyItsOwnerAndPlacesItsLabelAt8() {
        QWidget owner;
        TExitForm countdown(&owner);
        // Modal to the main window only: the tray icon, a window of its own, keeps its input.
        QCOMPARE(countdown.windowModality(), Qt::WindowModal);
        QCOMPARE(countdown.Label1->geometry(), QRect(8, 16, 145, 16));
        QCOMPARE(countdown.Label1->text(), QString("Exiting Task Scheduler in:"));
        QCOMPARE(countdown.windowTitle(), QString("Exit"));
    }

    void formPtrTimerTicksAt300msThenEvery30s() {
        auto form = makeForm();
        QCOMPARE(form->FormPtrTimer->Interval(), 300);
        QVERIFY(!form->FormPtrTimer->Enabled());
        form->show();
        QVERIFY(form->FormPtrTimer->Enabled());
        QCOMPARE(form->FormPtrTimer->Interval(), 300);
        // The real first tick, not one called by hand, sets the long interval.
        QTRY_COMPARE_WITH_TIMEOUT(form->FormPtrTimer->Interval(), 30000, 3000);
        QVERIFY(form->FormPtrTimer->Enabled());
        QVERIFY(form->FormPtrTimer->remainingTime() > 25000);
        form->FormPtrTimerTimer();
        QCOMPARE(form->FormPtrTimer->Interval(), 30000);
    }

    void mainTimerRunsEvery5sAndAnEmptyListLeavesItAlone() {
        auto form = makeForm();
        QCOMPARE(form->MainTimer->Interval(), 5000);
        QVERIFY(form->MainTimer->Enabled());
        // Some way into the countdown, so that a restart would show.
        QTRY_VERIFY(form->MainTimer->remainingTime() < 4500);
        const int before = form->MainTimer->remainingTime();
        QVERIFY(before > 0);
        // With nothing to scan the tick returns at once: the countdown to the next one goes on.
        form->MainTimerTimer();
        QVERIFY(form->MainTimer->Enabled());
        QCOMPARE(form->MainTimer->Interval(), 5000);
        QVERIFY(form->MainTimer->remainingTime() <= before);
    }

    void mainTimerStopsForAScanAndStartsAfresh() {
        writeOneTask();
        auto form = makeForm();
        QTRY_VERIFY(form->MainTimer->remainingTime() < 4500);
        const int before = form->MainTimer->remainingTime();
        QVERIFY(before > 0);
        form->MainTimerTimer();
        QVERIFY(form->MainTimer->Enabled());
        QVERIFY(form->MainTimer->remainingTime() > before);
    }
};

QTEST_MAIN(MainFormPinnedTest)
#include "main_form_pinned_test.moc"
