// The main window on the offscreen platform: the list, the commands on the selection, and the close rule.
#include "common/text.h"
#include "look/fonts.h"
#include "platform/message_box.h"
#include "shell/exit_form.h"
#include "shell/scheduler_main_form.h"
#include "shell/task_list_view.h"
#include "store/task_file.h"
#include "test_doubles.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velloran;
using test::FixedClock;
using test::RecordingOpener;

namespace {

struct CountingWindows : NotificationWindows {
    int alarms = 0;
    int memos = 0;
    void showAlarm(const std::string&, const std::string&) override { ++alarms; }
    void showMemo(const std::string&, const FontBlock&) override { ++memos; }
};

DateTime at(int year, int month, int day, int hour, int minute) {
    return test::localTime(year, month, day, hour, minute);
}

Task task(TaskKind kind, const char* target, DateTime when, const char* description = "") {
    Task record;
    record.TaskType = kind;
    record.Target = target;
    record.Description = description;
    record.NextRun = when;
    record.Flags = kEnabled;
    record.DayMask = kEveryDay;
    return record;
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    FixedClock clock_ = [] {
        FixedClock clock;
        clock.value = 40150.5;
        return clock;
    }();
    RecordingOpener opener_;
    CountingWindows windows_;
    SettingsRecord settings_ = defaultSettings();
    QList<MessageBoxRequest> boxes_;
    std::vector<std::unique_ptr<TaskStore>> stores_;
    QMessageBox::StandardButton answer_ = QMessageBox::Yes;

    std::unique_ptr<TSchedulerMainForm> makeForm(const std::function<void(MainFormServices&)>& adjust = {}) {
        MainFormServices services;
        services.programDirectory = dir_.path().toStdString() + "/";
        stores_.push_back(std::make_unique<TaskStore>(dir_.filePath("tasks.tsk").toStdString(),
                                                      dir_.filePath("state/tasks.journal").toStdString()));
        services.tasks = stores_.back().get();
        services.clock = &clock_;
        services.opener = &opener_;
        services.notifications = &windows_;
        services.settings = &settings_;
        if (adjust)
            adjust(services);
        return std::make_unique<TSchedulerMainForm>(std::move(services));
    }

    void writeTasks(const std::vector<Task>& records) {
        TaskList list;
        std::uint32_t id = 100;
        for (const Task& record : records)
            list.appendLoaded(record).TaskId = id++;
        QCOMPARE(QString::fromStdString(saveTaskFile(dir_.filePath("tasks.tsk").toStdString(), list)),
                 QString());
    }

    QString cell(TSchedulerMainForm& form, int row, int column) {
        return form.TaskView1->model()->index(row, column).data().toString();
    }

    void selectRow(TSchedulerMainForm& form, int row) { form.TaskView1->selectRow(row); }

private slots:
    void initTestCase() {
        installFontSubstitutes();
        QApplication::setFont(designFont());
        MessageBoxes::setHandler([this](const MessageBoxRequest& request) {
            boxes_ << request;
            return answer_;
        });
    }

    void init() {
        boxes_.clear();
        opener_.opened.clear();
        settings_ = defaultSettings();
        QFile::remove(dir_.filePath("tasks.tsk"));
        // Each test starts as after a clean exit: no changes waiting to be recovered.
        QDir(dir_.filePath("state")).removeRecursively();
    }

    void listShowsEveryTaskAsTheRowsSay() {
        writeTasks({task(kAudio, "C:\\Music\\wake.mp3", at(2009, 12, 3, 14, 5)),
                    task(kDocument, "C:/Docs/a.txt", at(2009, 12, 3, 9, 0)),
                    task(kWebAddress, "http://example.org/a/b", at(2009, 12, 4, 9, 0)),
                    task(kGeneral, "/home/user/folder/", at(2009, 12, 5, 9, 0)),
                    task(kAlarmClock, "Alarm Clock", at(2009, 12, 6, 9, 0), "Wake\r\nup")});
        settings_.SortByDate = 0;
        auto form = makeForm();
        form->show();
        QCOMPARE(form->TaskView1->model()->rowCount(), 5);
        QCOMPARE(cell(*form, 0, 0), QString("Audio"));
        QCOMPARE(cell(*form, 0, 1), QString("wake.mp3"));
        QCOMPARE(cell(*form, 0, 2), QString("12/03/09 - 02:05pm"));
        QCOMPARE(cell(*form, 0, 3), QString("Once"));
        QCOMPARE(cell(*form, 0, 4), QString("Enabled"));
        QCOMPARE(cell(*form, 1, 1), QString("a.txt"));
        QCOMPARE(cell(*form, 2, 1), QString("http://example.org/a/b"));
        QCOMPARE(cell(*form, 3, 1), QString(""));
        QCOMPARE(cell(*form, 4, 1), QString("Alarm Clock"));
        QCOMPARE(cell(*form, 4, 5), QString("Wake up"));
        QCOMPARE(form->TaskView1->columnWidth(TaskListView::DateColumn), 115);
        QVERIFY(form->TaskView1->selectionModel()->selectedRows().isEmpty());
    }

    void sortingAndLongDisplayFollowTheSettings() {
        writeTasks(
            {task(kGeneral, "late", at(2009, 12, 3, 15, 0)), task(kGeneral, "early", at(2009, 12, 3, 9, 0))});
        auto form = makeForm();
        form->show();
        QCOMPARE(cell(*form, 0, 1), QString("early"));
        settings_.SortByDate = 0;
        settings_.LongDateDisplay = 1;
        form->RefreshTaskView();
        QCOMPARE(cell(*form, 0, 1), QString("late"));
        QCOMPARE(cell(*form, 0, 2), QString("Thu, Dec 03, 2009 - 03:00 pm"));
        QCOMPARE(form->TaskView1->columnWidth(TaskListView::DateColumn), 160);
    }

    void commandsWithoutSelectionDoNothing() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        form->EnableDisableBTClick();
        form->DeleteBTClick();
        form->EditBTClick();
        QCOMPARE(form->tasks().size(), std::size_t(1));
        QVERIFY(form->tasks()[0].enabled());
        QVERIFY(boxes_.isEmpty());
    }

    void enableDisableAndDeleteChangeOnlyTheList() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0)),
                    task(kGeneral, "two", at(2009, 12, 4, 15, 0)),
                    task(kGeneral, "three", at(2009, 12, 5, 15, 0))});
        const QByteArray before = [&] {
            QFile f(dir_.filePath("tasks.tsk"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        auto form = makeForm();
        form->show();
        selectRow(*form, 0);
        form->EnableDisableBTClick();
        QCOMPARE(cell(*form, 0, 4), QString("Disabled"));
        QVERIFY(form->TaskView1->selectionModel()->selectedRows().isEmpty());
        selectRow(*form, 1);
        form->DeleteBTClick();
        QCOMPARE(form->TaskView1->model()->rowCount(), 2);
        QCOMPARE(cell(*form, 0, 1), QString("one"));
        QCOMPARE(cell(*form, 1, 1), QString("three"));
        QCOMPARE(form->tasks().size(), std::size_t(2));
        QFile file(dir_.filePath("tasks.tsk"));
        file.open(QIODevice::ReadOnly);
        QCOMPARE(file.readAll(), before);
    }

    void scanRunsDueTasksAndRefreshesOnlyThen() {
        writeTasks({task(kWebAddress, "https://example.org/?q=a b", at(2009, 12, 3, 12, 0)),
                    task(kMemo, "Memo", at(2009, 12, 3, 12, 0)),
                    task(kGeneral, "later", at(2009, 12, 9, 12, 0))});
        auto form = makeForm();
        form->show();
        // A tick that finds nothing due leaves the list, and so its selection, alone.
        clock_.value = at(2009, 12, 3, 11, 59);
        form->TaskView1->selectRow(2);
        form->MainTimerTimer();
        QCOMPARE(form->TaskView1->selectionModel()->selectedRows().size(), 1);
        clock_.value = at(2009, 12, 3, 12, 0);
        form->MainTimerTimer();
        QVERIFY(form->TaskView1->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(opener_.opened, std::vector<std::string>{"https://example.org/?q=a b"});
        QCOMPARE(windows_.memos, 1);
        QVERIFY(form->MainTimer->Enabled());
        QCOMPARE(cell(*form, 0, 4), QString("Disabled"));
    }

    void closeSavesThenCountsDown() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        selectRow(*form, 0);
        form->DeleteBTClick();
        // Cancel the countdown as soon as it shows: the file is written all the same.
        QTimer::singleShot(0, [] {
            auto* countdown = qobject_cast<TExitForm*>(QApplication::activeModalWidget());
            QVERIFY(countdown);
            QCOMPARE(countdown->AutoOK->text(), QString("&OK ( 4 )"));
            countdown->Button1->click();
        });
        QVERIFY(!form->FormCloseQuery());
        QVERIFY(!QFile::exists(dir_.filePath("tasks.tsk")));
    }

    void countdownEndsWithOkOnTheFourthTick() {
        TExitForm countdown;
        countdown.show();
        QStringList captions;
        for (int tick = 0; tick < 4 && countdown.isVisible(); ++tick) {
            countdown.ExitTimerTimer();
            captions << countdown.AutoOK->text();
        }
        QCOMPARE(captions, (QStringList{"&OK ( 3 )", "&OK ( 2 )", "&OK ( 1 )", "&OK ( 0 )"}));
        QCOMPARE(countdown.result(), int(QDialog::Accepted));
    }

    void exitAnsweredNoKeepsRunning() {
        auto form = makeForm();
        form->show();
        answer_ = QMessageBox::No;
        form->ExitClick();
        QVERIFY(form->isVisible());
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].caption, QString("Exit"));
        QVERIFY(boxes_[0].text.contains("\n Are you sure you want to exit?"));
        answer_ = QMessageBox::Yes;
    }

    void failedSaveIsShown() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        // A folder where the file should be makes every write fail, even for root.
        QFile::remove(dir_.filePath("tasks.tsk"));
        QDir(dir_.path()).mkdir("tasks.tsk");
        QDir(dir_.filePath("tasks.tsk")).mkdir("inside");
        answer_ = QMessageBox::Ok;
        QTimer::singleShot(0, [] {
            if (auto* countdown = qobject_cast<TExitForm*>(QApplication::activeModalWidget()))
                countdown->Button1->click();
        });
        form->FormCloseQuery();
        QCOMPARE(boxes_.size(), 1);
        QVERIFY(boxes_[0].text.contains("tasks.tsk"));
        QDir(dir_.filePath("tasks.tsk")).removeRecursively();
        answer_ = QMessageBox::Yes;
    }

    // At log-off nobody may be there to answer: a failed save is not asked about, and the close goes on.
    void systemCloseWithAFailedSaveAsksNothing() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        QFile::remove(dir_.filePath("tasks.tsk"));
        QDir(dir_.path()).mkpath("tasks.tsk/inside");
        bool countdownShown = false;
        QTimer::singleShot(0, [&] {
            auto* countdown = qobject_cast<TExitForm*>(QApplication::activeModalWidget());
            countdownShown = countdown != nullptr;
            // Cancelled here only so that the test's application goes on.
            if (countdown)
                countdown->Button1->click();
        });
        QVERIFY(!form->SystemClose());
        QVERIFY(countdownShown);
        QCOMPARE(boxes_.size(), 0);
        // The next close, the user's, tells about the failure again.
        QTimer::singleShot(0, [] {
            if (auto* countdown = qobject_cast<TExitForm*>(QApplication::activeModalWidget()))
                countdown->Button1->click();
        });
        QVERIFY(!form->close());
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].text.section('\n', 0, 0), QString("Your tasks could not be saved."));
        QDir(dir_.filePath("tasks.tsk")).removeRecursively();
    }

    // What the store has to tell at a system close goes to the log only: nobody may be there to answer.
    void systemCloseTellsTheStoresNewsWithoutAWindow() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        writeTasks({task(kGeneral, "another program's", at(2009, 12, 3, 15, 0))});
        QTimer::singleShot(0, [] {
            if (auto* countdown = qobject_cast<TExitForm*>(QApplication::activeModalWidget()))
                countdown->Button1->click();
        });
        form->SystemClose();
        QCOMPARE(boxes_.size(), 0);
        QVERIFY(QFile::exists(dir_.filePath("tasks.tsk.replaced")));
        QFile::remove(dir_.filePath("tasks.tsk.replaced"));
    }

    // The user closed the window, the save failed, and its warning waits; then the session ends.
    void systemCloseEndsTheWarningAUserCloseIsWaitingOn() {
        auto form = makeForm();
        form->show();
        QDir(dir_.path()).mkpath("tasks.tsk/inside");
        MessageBoxes::setHandler({});
        QString warning;
        bool countdownShown = false;
        QTimer timer;
        timer.setInterval(50);
        connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal); box && warning.isEmpty()) {
                warning = box->text();
                QVERIFY(form->SystemClose());
            } else if (auto* countdown = qobject_cast<TExitForm*>(modal)) {
                countdownShown = true;
                countdown->Button1->click();
            }
        });
        timer.start();
        QVERIFY(!form->close());
        timer.stop();
        MessageBoxes::setHandler([this](const MessageBoxRequest& request) {
            boxes_ << request;
            return answer_;
        });
        QVERIFY(warning.startsWith("Your tasks could not be saved.\n"));
        QVERIFY(countdownShown);
        QDir(dir_.filePath("tasks.tsk")).removeRecursively();
    }

    // The countdown may end a close that the system asked for: only its Cancel button keeps the program.
    void escapeDoesNotCancelTheCountdown() {
        TExitForm countdown;
        countdown.show();
        QTest::keyClick(&countdown, Qt::Key_Escape);
        QVERIFY(countdown.isVisible());
        QVERIFY(countdown.ExitTimer->Enabled());
        countdown.Button1->click();
        QCOMPARE(countdown.result(), TExitForm::kCancelled);
    }

    void trayCommandsDoNotOpenASecondCopyOfTheirOwnWindow() {
        // Each window that opens tries, while it is open, to open itself again from the tray.
        TSchedulerMainForm* form = nullptr;
        int preferences = 0;
        int about = 0;
        int editors = 0;
        auto made = makeForm([&](MainFormServices& services) {
            services.showPreferences = [&](QWidget*) {
                ++preferences;
                if (preferences < 3)
                    form->Preferences2Click();
            };
            services.showAbout = [&](QWidget*) {
                ++about;
                if (about < 3)
                    form->TtrayAboutClick();
            };
            services.showNewTask = [&](QWidget*, int kind) {
                ++editors;
                QCOMPARE(kind, -1);
                if (editors < 3)
                    form->CreatenewTaskTrayClick();
            };
        });
        form = made.get();
        form->Preferences2Click();
        QCOMPARE(preferences, 1);
        form->TtrayAboutClick();
        QCOMPARE(about, 1);
        form->CreatenewTaskTrayClick();
        QCOMPARE(editors, 1);
        // Opened from the File menu, the tray item may open a second one; that one guards itself.
        preferences = 0;
        form->Preferences1Click();
        QCOMPARE(preferences, 2);
        // The guard is released when the window closes.
        preferences = 2;
        form->Preferences2Click();
        QCOMPARE(preferences, 3);
    }

    void editOpensTheSelectedTaskById() {
        writeTasks(
            {task(kGeneral, "one", at(2009, 12, 3, 15, 0)), task(kGeneral, "two", at(2009, 12, 4, 15, 0))});
        std::vector<std::uint32_t> edited;
        auto form = makeForm([&](MainFormServices& services) {
            services.showNewTask = [](QWidget*, int) {};
            services.showEditTask = [&](QWidget*, std::uint32_t id) { edited.push_back(id); };
        });
        form->show();
        form->EditBTClick();
        QVERIFY(edited.empty());
        form->TaskView1->selectRow(1);
        form->EditBTClick();
        QCOMPARE(edited, std::vector<std::uint32_t>{101});
        QVERIFY2(form->TaskView1->selectionModel()->selectedRows().isEmpty(), "the list is rebuilt");
    }

    void screenshot() {
        const std::vector<Task> all = {
            task(kAlarmClock, "Alarm Clock", at(2009, 12, 3, 7, 0), "Wake up"),
            task(kMemo, "Memo", at(2009, 12, 3, 9, 30), "Call the dentist"),
            task(kExecutable, "/usr/bin/backup-tool", at(2009, 12, 4, 22, 0), "Nightly backup"),
            task(kWebAddress, "https://example.org/news", at(2009, 12, 5, 8, 0), "Morning news"),
            task(kAudio, "/home/user/Music/wake.ogg", at(2009, 12, 6, 6, 45)),
            task(kVideo, "/home/user/Videos/lesson.mp4", at(2009, 12, 7, 18, 0), "Lesson"),
            task(kDocument, "/home/user/Documents/report.odt", at(2009, 12, 8, 10, 0), "Weekly report"),
            task(kGeneral, "/home/user/todo.txt", at(2009, 12, 9, 12, 0))};
        writeTasks(all);
        auto form = makeForm();
        form->show();
        const QString folder = qEnvironmentVariable("VELLORAN_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("VELLORAN_SCREENSHOTS not set");
        QDir().mkpath(folder);
        QVERIFY(form->grab().save(folder + "/main-window-offscreen.png"));
        settings_.LongDateDisplay = 1;
        form->RefreshTaskView();
        QVERIFY(form->grab().save(folder + "/main-window-long-dates-offscreen.png"));
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
