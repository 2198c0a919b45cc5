// The main window on the offscreen platform: the list, the commands on the selection, and the close rule.
#include "common/text.h"
#include "look/fonts.h"
#include "main_form_support.h"
#include "notify/alarm_rules.h"
#include "platform/locale_dates.h"
#include "platform/message_box.h"
#include "prefs/preferences_form.h"
#include "registry/registry_memory.h"
#include "shell/exit_form.h"
#include "shell/scheduler_main_form.h"
#include "shell/task_list_view.h"
#include "store/task_file.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velloran;
using test::at;

namespace {

Task task(TaskKind kind, const char* target, DateTime when, const char* description = "") {
    Task record = test::makeTask(kind, when);
    record.Target = target;
    record.Description = description;
    return record;
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private:
    test::MainFormBench bench_;
    test::MessageBoxRecorder boxes_{QMessageBox::Yes};

    std::unique_ptr<SchedulerMainForm> makeForm() { return bench_.makeForm(); }

    void writeTasks(const std::vector<Task>& records) {
        TaskList list;
        std::uint32_t id = 100;
        for (const Task& record : records)
            list.appendLoaded(record).TaskId = id++;
        QCOMPARE(
            QString::fromStdString(told(saveTaskFile(bench_.dir.filePath("tasks.tsk").toStdString(), list))),
            QString());
    }

    QString cell(SchedulerMainForm& form, int row, int column) {
        return test::taskView(form)->model()->index(row, column).data().toString();
    }

    void selectRow(SchedulerMainForm& form, int row) { test::taskView(form)->selectRow(row); }

private slots:
    void initTestCase() {
        installFontSubstitutes();
        QApplication::setFont(designFont());
        bench_.clock.value = 40150.5;
    }

    void init() {
        boxes_.shown.clear();
        bench_.opener.opened.clear();
        bench_.settings = defaultSettings();
        bench_.host = test::RecordingHost();
        QFile::remove(bench_.dir.filePath("tasks.tsk"));
        // Each test starts as after a clean exit: no changes waiting to be recovered, and no copies that
        // an earlier test's failed saves left beside tasks.tsk (a start would tell of them).
        QDir(bench_.dir.filePath("state")).removeRecursively();
        for (const QString& left : QDir(bench_.dir.path()).entryList({"tasks.tsk.*"}, QDir::Files))
            QFile::remove(bench_.dir.filePath(left));
    }

    void listShowsEveryTaskAsTheRowsSay() {
        writeTasks({task(kAudio, "C:\\Music\\wake.mp3", at(2009, 12, 3, 14, 5)),
                    task(kDocument, "C:/Docs/a.txt", at(2009, 12, 3, 9, 0)),
                    task(kWebAddress, "http://example.org/a/b", at(2009, 12, 4, 9, 0)),
                    task(kGeneral, "/home/user/folder/", at(2009, 12, 5, 9, 0)),
                    task(kAlarmClock, "Alarm Clock", at(2009, 12, 6, 9, 0), "Wake\r\nup")});
        bench_.settings.SortByDate = 0;
        auto form = makeForm();
        form->show();
        QCOMPARE(test::taskView(*form)->model()->rowCount(), 5);
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
        QCOMPARE(test::taskView(*form)->columnWidth(TaskListView::DateColumn), 115);
        QVERIFY(test::taskView(*form)->selectionModel()->selectedRows().isEmpty());
    }

    void sortingAndLongDisplayFollowTheSettings() {
        writeTasks(
            {task(kGeneral, "late", at(2009, 12, 3, 15, 0)), task(kGeneral, "early", at(2009, 12, 3, 9, 0))});
        auto form = makeForm();
        form->show();
        QCOMPARE(cell(*form, 0, 1), QString("early"));
        bench_.settings.SortByDate = 0;
        bench_.settings.LongDateDisplay = 1;
        form->refreshTaskView();
        QCOMPARE(cell(*form, 0, 1), QString("late"));
        QCOMPARE(cell(*form, 0, 2), QString("Thu, Dec 03, 2009 - 03:00 pm"));
        QCOMPARE(test::taskView(*form)->columnWidth(TaskListView::DateColumn), 160);
    }

    // 14:05 on 3 December 2009 as the list, the Preferences samples (25 May 2007, 09:30) and the alarm's
    // clock face show it: US English and C keep the designed formats byte for byte, other locales read
    // in their own order of day, month and year and on their own clock.
    void datesFollowTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("texts"); // normal, long, clock face, normal sample, long sample
        const QStringList designed = {"12/03/09 - 02:05pm", "Thu, Dec 03, 2009 - 02:05 pm", "02:05 pm",
                                      "05/25/07 - 09:30am", "Fri, May 25, 2007 - 09:30am"};
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << designed;
        QTest::newRow("C") << QLocale::c() << designed;
        QTest::newRow("en_GB") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                               << QStringList{"03/12/09 - 14:05", "Thu, 03 Dec 2009 - 14:05", "14:05",
                                              "25/05/07 - 09:30", "Fri, 25 May 2007 - 09:30"};
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany)
                               << QStringList{"03.12.09 - 14:05", "Do., 03. Dez. 2009 - 14:05", "14:05",
                                              "25.05.07 - 09:30", "Fr., 25. Mai 2007 - 09:30"};
    }
    void datesFollowTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, texts);
        const QLocale before;
        QLocale::setDefault(locale);
        const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 14, 5))});
        auto form = makeForm();
        form->show();
        TaskListView* view = test::taskView(*form);
        const bool designed = texts[0].endsWith("pm");
        for (const bool longDisplay : {false, true}) {
            bench_.settings.LongDateDisplay = longDisplay ? 1 : 0;
            form->refreshTaskView();
            QCOMPARE(cell(*form, 0, 2), texts[longDisplay ? 1 : 0]);
            // The designed width, widened only where the text needs it.
            const int width = view->columnWidth(TaskListView::DateColumn);
            const int designedWidth = longDisplay ? 160 : 115;
            QVERIFY(designed ? width == designedWidth : width >= designedWidth);
            QVERIFY(view->fontMetrics().horizontalAdvance(texts[longDisplay ? 1 : 0]) + 8 <= width);
        }
        QCOMPARE(QString::fromStdString(alarmTimeText(at(2009, 12, 3, 14, 5), dateStyleOf(locale))),
                 texts[2]);
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        PreferencesForm preferences(nullptr, settings, registry, "/usr/bin/velloran");
        QCOMPARE(preferences.findChild<QRadioButton*>("DateTimeDisplayNormal")->text(), texts[3]);
        QCOMPARE(preferences.findChild<QRadioButton*>("DateTimeDisplayLong")->text(), texts[4]);
    }

    // The headers are measured in the list's own font, and stand exactly as tall as standard ones.
    void headersKeepTheStandardHeight() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 9, 0))});
        auto form = makeForm();
        form->show();
        TaskListView* view = test::taskView(*form);
        QHeaderView standard(Qt::Horizontal);
        standard.setModel(view->model());
        QCOMPARE(view->horizontalHeader()->sizeHint().height(), standard.sizeHint().height());
        QCOMPARE(view->horizontalHeader()->height(), standard.sizeHint().height());
        // Room for each caption in the list's font.
        const QFontMetrics metrics = view->horizontalHeader()->fontMetrics();
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            const QString caption = view->model()->headerData(column, Qt::Horizontal).toString();
            QVERIFY2(view->horizontalHeader()->sectionSizeHint(column) > metrics.horizontalAdvance(caption),
                     qPrintable(caption));
        }
    }

    void commandsWithoutSelectionDoNothing() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        test::click(*form, "EnableDisableBT");
        test::click(*form, "DeleteBT");
        test::click(*form, "EditBT");
        QCOMPARE(form->tasks().size(), std::size_t(1));
        QVERIFY(form->tasks()[0].enabled());
        QVERIFY(boxes_.shown.isEmpty());
    }

    void enableDisableAndDeleteChangeOnlyTheList() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0)),
                    task(kGeneral, "two", at(2009, 12, 4, 15, 0)),
                    task(kGeneral, "three", at(2009, 12, 5, 15, 0))});
        const QByteArray before = [&] {
            QFile f(bench_.dir.filePath("tasks.tsk"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        auto form = makeForm();
        form->show();
        selectRow(*form, 0);
        test::click(*form, "EnableDisableBT");
        QCOMPARE(cell(*form, 0, 4), QString("Disabled"));
        QVERIFY(test::taskView(*form)->selectionModel()->selectedRows().isEmpty());
        selectRow(*form, 1);
        test::click(*form, "DeleteBT");
        QCOMPARE(test::taskView(*form)->model()->rowCount(), 2);
        QCOMPARE(cell(*form, 0, 1), QString("one"));
        QCOMPARE(cell(*form, 1, 1), QString("three"));
        QCOMPARE(form->tasks().size(), std::size_t(2));
        // Nothing is picked after Delete: the next command acts on no task the user did not choose.
        QVERIFY(test::taskView(*form)->selectionModel()->selectedRows().isEmpty());
        test::click(*form, "EnableDisableBT");
        test::click(*form, "DeleteBT");
        QCOMPARE(cell(*form, 0, 4) + cell(*form, 1, 4), QString("DisabledEnabled"));
        QCOMPARE(form->tasks().size(), std::size_t(2));
        QFile file(bench_.dir.filePath("tasks.tsk"));
        file.open(QIODevice::ReadOnly);
        QCOMPARE(file.readAll(), before);
    }

    void rowsOfTasksGoneBeforeTheRefreshShowNothing() {
        writeTasks({task(kGeneral, "late", at(2009, 12, 5, 15, 0), "third"),
                    task(kGeneral, "early", at(2009, 12, 3, 9, 0), "first"),
                    task(kGeneral, "middle", at(2009, 12, 4, 9, 0), "second")});
        bench_.settings.SortByDate = 1;
        auto form = makeForm();
        form->show();
        QCOMPARE(cell(*form, 0, 1), QString("early"));
        // Gone from the store, as a scan or another window may do, with the list not yet rebuilt: the row
        // of "early" now finds "middle" at its place, the row of "middle" points past the end.
        QVERIFY(bench_.stores.back()->remove(101));
        TaskListView* view = test::taskView(*form);
        QCOMPARE(view->model()->rowCount(), 3);
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 6; ++column) {
                const QModelIndex index = view->model()->index(row, column);
                QCOMPARE(index.data(Qt::DisplayRole), QVariant());
                QCOMPARE(index.data(Qt::ToolTipRole), QVariant());
            }
        QCOMPARE(cell(*form, 2, 1), QString("late"));
        QCOMPARE(view->model()->index(2, 5).data(Qt::ToolTipRole).toString(), QString("third"));
        view->grab(); // paints every row
        // A command on a row whose task is gone does nothing.
        selectRow(*form, 0);
        test::click(*form, "DeleteBT");
        QCOMPARE(view->model()->rowCount(), 3);
        QCOMPARE(form->tasks().size(), std::size_t(2));
        form->refreshTaskView();
        QCOMPARE(view->model()->rowCount(), 2);
        QCOMPARE(cell(*form, 0, 1), QString("middle"));
        QCOMPARE(cell(*form, 0, 5), QString("second"));
        QCOMPARE(cell(*form, 1, 1), QString("late"));
    }

    void scanRunsDueTasksAndRefreshesOnlyThen() {
        writeTasks({task(kWebAddress, "https://example.org/?q=a b", at(2009, 12, 3, 12, 0)),
                    task(kMemo, "Memo", at(2009, 12, 3, 12, 0)),
                    task(kGeneral, "later", at(2009, 12, 9, 12, 0))});
        auto form = makeForm();
        form->show();
        // A tick that finds nothing due leaves the list, and so its selection, alone.
        bench_.clock.value = at(2009, 12, 3, 11, 59);
        test::taskView(*form)->selectRow(2);
        test::mainTimer(*form)->onTimeout();
        QCOMPARE(test::taskView(*form)->selectionModel()->selectedRows().size(), 1);
        bench_.clock.value = at(2009, 12, 3, 12, 0);
        test::mainTimer(*form)->onTimeout();
        QVERIFY(test::taskView(*form)->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(bench_.opener.opened, std::vector<std::string>{"https://example.org/?q=a b"});
        QCOMPARE(bench_.windows.memos, 1);
        QVERIFY(test::mainTimer(*form)->isEnabled());
        QCOMPARE(cell(*form, 0, 4), QString("Disabled"));
    }

    // A run killed after it recorded that these fell due and before it carried them out: the next window
    // shows the alarm and the memo, opens nothing, names the program with its time, and only once.
    void occurrencesAKilledRunLeftAreShownOrToldAtTheNextStart() {
        writeTasks({task(kAlarmClock, "Alarm Clock", at(2009, 12, 3, 12, 0), "Wake up"),
                    task(kMemo, "Memo", at(2009, 12, 3, 12, 0), "Call"),
                    task(kExecutable, "/usr/bin/backup-tool", at(2009, 12, 3, 12, 0), "Nightly backup"),
                    task(kWebAddress, "https://example.org/", at(2009, 12, 3, 12, 5))});
        {
            TaskStore killed(bench_.taskFile().toStdString(),
                             bench_.dir.filePath("state/tasks.journal").toStdString());
            killed.open();
            for (std::size_t index = 0; index < 4; ++index) {
                killed.recordDue(index);
                killed.reschedule(index, killed[index].NextRun, 0);
            }
            killed.recordDone(103, at(2009, 12, 3, 12, 5)); // opened before the kill
            killed.flushChanges();
        }
        bench_.windows = {};
        for (const bool again : {false, true}) {
            boxes_.shown.clear();
            auto form = makeForm();
            QCOMPARE(bench_.windows.alarms, 1);
            QCOMPARE(bench_.windows.memos, 1);
            QVERIFY(bench_.opener.opened.empty());
            QStringList texts;
            for (const MessageBoxRequest& box : boxes_.shown)
                texts << box.text;
            if (again) {
                // That run ended without saving too: its changes are recovered, nothing else is told.
                QCOMPARE(texts.size(), 1);
                QVERIFY2(texts[0].startsWith("Velloran did not end normally last time. The changes"),
                         qPrintable(texts[0]));
                break;
            }
            QCOMPARE(texts.size(), 2);
            QCOMPARE(texts[1],
                     QString("Velloran did not end normally last time, while it was starting the tasks "
                             "below. They may not have run, and Velloran does not start them again:\n\n"
                             "\u2022 \"backup-tool\" (Nightly backup), due 12/03/09 - 12:00pm"));
            QCOMPARE(boxes_.shown[1].icon, QMessageBox::Information);
        }
    }

    void closeSavesThenCountsDown() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        selectRow(*form, 0);
        test::click(*form, "DeleteBT");
        // Cancel the countdown as soon as it shows: the file is written all the same.
        QTimer::singleShot(0, [] {
            auto* countdown = qobject_cast<ExitForm*>(QApplication::activeModalWidget());
            QVERIFY(countdown);
            QCOMPARE(test::part<QPushButton>(*countdown, "AutoOK")->text(), QString("&OK ( 4 )"));
            test::click(*countdown, "Button1");
        });
        QVERIFY(!form->close());
        QVERIFY(!QFile::exists(bench_.dir.filePath("tasks.tsk")));
    }

    // From the close's last save on no task runs: a tick during the countdown runs nothing, a cancelled
    // countdown lets the scan go on, and a close that goes through leaves nothing for the next start to
    // recover. The host hears when closing begins and ends, so that a later start waits for it.
    void noTaskRunsFromTheLastSaveOn() {
        writeTasks({task(kWebAddress, "https://example.org/due", at(2009, 12, 3, 12, 0)),
                    task(kWebAddress, "https://example.org/later", at(2009, 12, 3, 12, 1))});
        auto form = makeForm();
        form->show();
        bench_.clock.value = at(2009, 12, 3, 12, 0);
        const auto tickDuringCountdown = [&](bool goThrough) {
            QTimer::singleShot(0, [&, goThrough] {
                auto* countdown = qobject_cast<ExitForm*>(QApplication::activeModalWidget());
                QVERIFY(countdown);
                QVERIFY(!test::mainTimer(*form)->isEnabled());
                test::mainTimer(*form)->onTimeout(); // a tick that was already due
                test::click(*countdown, goThrough ? "AutoOK" : "Button1");
            });
            return form->close();
        };
        QVERIFY(!tickDuringCountdown(false));
        QVERIFY(bench_.opener.opened.empty());
        QCOMPARE(bench_.host.closingChanges, (std::vector<bool>{true, false}));
        QVERIFY(test::mainTimer(*form)->isEnabled());
        test::mainTimer(*form)->onTimeout();
        QCOMPARE(bench_.opener.opened, std::vector<std::string>{"https://example.org/due"});

        bench_.clock.value = at(2009, 12, 3, 12, 1);
        QVERIFY(tickDuringCountdown(true));
        QCOMPARE(bench_.opener.opened.size(), std::size_t(1));
        QCOMPARE(bench_.host.closingChanges, (std::vector<bool>{true, false, true}));
        boxes_.shown.clear();
        auto next = makeForm();
        QVERIFY(boxes_.shown.isEmpty());
        QVERIFY(next->tasks()[1].enabled());
    }

    void countdownEndsWithOkOnTheFourthTick() {
        ExitForm countdown;
        countdown.show();
        QStringList captions;
        for (int tick = 0; tick < 4 && countdown.isVisible(); ++tick) {
            test::part<Timer>(countdown, "ExitTimer")->onTimeout();
            captions << test::part<QPushButton>(countdown, "AutoOK")->text();
        }
        QCOMPARE(captions, (QStringList{"&OK ( 3 )", "&OK ( 2 )", "&OK ( 1 )", "&OK ( 0 )"}));
        QCOMPARE(countdown.result(), int(QDialog::Accepted));
    }

    void exitAnsweredNoKeepsRunning() {
        auto form = makeForm();
        form->show();
        boxes_.answer = QMessageBox::No;
        test::choose(*form, "Exit2");
        QVERIFY(form->isVisible());
        QCOMPARE(boxes_.shown.size(), 1);
        QCOMPARE(boxes_.shown[0].caption, QString("Exit"));
        QVERIFY(boxes_.shown[0].text.contains("\n Are you sure you want to exit?"));
        boxes_.answer = QMessageBox::Yes;
    }

    void failedSaveIsShown() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        // A folder where the file should be makes every write fail, even for root.
        QFile::remove(bench_.dir.filePath("tasks.tsk"));
        QDir(bench_.dir.path()).mkdir("tasks.tsk");
        QDir(bench_.dir.filePath("tasks.tsk")).mkdir("inside");
        boxes_.answer = QMessageBox::Ok;
        QTimer::singleShot(0, [] {
            if (auto* countdown = qobject_cast<ExitForm*>(QApplication::activeModalWidget()))
                test::click(*countdown, "Button1");
        });
        form->close();
        QCOMPARE(boxes_.shown.size(), 1);
        QVERIFY(boxes_.shown[0].text.contains("tasks.tsk"));
        QDir(bench_.dir.filePath("tasks.tsk")).removeRecursively();
        boxes_.answer = QMessageBox::Yes;
    }

    // At log-off nobody may be there to answer: a failed save is not asked about, and the close goes on.
    void systemCloseWithAFailedSaveAsksNothing() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        QFile::remove(bench_.dir.filePath("tasks.tsk"));
        QDir(bench_.dir.path()).mkpath("tasks.tsk/inside");
        bool countdownShown = false;
        QTimer::singleShot(0, [&] {
            auto* countdown = qobject_cast<ExitForm*>(QApplication::activeModalWidget());
            countdownShown = countdown != nullptr;
            // Cancelled here only so that the test's application goes on.
            if (countdown)
                test::click(*countdown, "Button1");
        });
        QVERIFY(!form->closeOnSystemRequest());
        QVERIFY(countdownShown);
        QCOMPARE(boxes_.shown.size(), 0);
        // The next close, the user's, tells about the failure again.
        QTimer::singleShot(0, [] {
            if (auto* countdown = qobject_cast<ExitForm*>(QApplication::activeModalWidget()))
                test::click(*countdown, "Button1");
        });
        QVERIFY(!form->close());
        QCOMPARE(boxes_.shown.size(), 1);
        QCOMPARE(boxes_.shown[0].text.section('\n', 0, 0), QString("Your tasks could not be saved."));
        QDir(bench_.dir.filePath("tasks.tsk")).removeRecursively();
    }

    // What the store has to tell at a system close goes to the log only: nobody may be there to answer.
    void systemCloseTellsTheStoresNewsWithoutAWindow() {
        writeTasks({task(kGeneral, "one", at(2009, 12, 3, 15, 0))});
        auto form = makeForm();
        form->show();
        writeTasks({task(kGeneral, "another program's", at(2009, 12, 3, 15, 0))});
        QTimer::singleShot(0, [] {
            if (auto* countdown = qobject_cast<ExitForm*>(QApplication::activeModalWidget()))
                test::click(*countdown, "Button1");
        });
        form->closeOnSystemRequest();
        QCOMPARE(boxes_.shown.size(), 0);
        QVERIFY(QFile::exists(bench_.dir.filePath("tasks.tsk.replaced")));
        QFile::remove(bench_.dir.filePath("tasks.tsk.replaced"));
    }

    // The user closed the window, the save failed, and its warning waits; then the session ends.
    void systemCloseEndsTheWarningAUserCloseIsWaitingOn() {
        auto form = makeForm();
        form->show();
        QDir(bench_.dir.path()).mkpath("tasks.tsk/inside");
        MessageBoxes::setHandler({});
        QString warning;
        bool countdownShown = false;
        QTimer timer;
        timer.setInterval(50);
        connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal); box && warning.isEmpty()) {
                warning = box->text();
                QVERIFY(form->closeOnSystemRequest());
            } else if (auto* countdown = qobject_cast<ExitForm*>(modal)) {
                countdownShown = true;
                test::click(*countdown, "Button1");
            }
        });
        timer.start();
        QVERIFY(!form->close());
        timer.stop();
        boxes_.install();
        QVERIFY(warning.startsWith("Your tasks could not be saved.\n"));
        QVERIFY(countdownShown);
        QDir(bench_.dir.filePath("tasks.tsk")).removeRecursively();
    }

    // The countdown may end a close that the system asked for: only its Cancel button keeps the program.
    void escapeDoesNotCancelTheCountdown() {
        ExitForm countdown;
        countdown.show();
        QTest::keyClick(&countdown, Qt::Key_Escape);
        QVERIFY(countdown.isVisible());
        QVERIFY(test::part<Timer>(countdown, "ExitTimer")->isEnabled());
        test::click(countdown, "Button1");
        QCOMPARE(countdown.result(), ExitForm::kCancelled);
    }

    void trayCommandsDoNotOpenASecondCopyOfTheirOwnWindow() {
        // Each window that opens tries, while it is open, to open itself again from the tray.
        test::RecordingHost& host = bench_.host;
        auto made = makeForm();
        SchedulerMainForm* form = made.get();
        host.whilePreferencesOpen = [&] {
            if (host.preferences < 3)
                test::choose(*form, "Preferences2");
        };
        host.whileAboutOpen = [&] {
            if (host.abouts < 3)
                test::choose(*form, "TtrayAbout");
        };
        host.whileNewTaskOpen = [&] {
            if (host.newTasks.size() < 3)
                test::choose(*form, "CreatenewTaskTray");
        };
        test::choose(*form, "Preferences2");
        QCOMPARE(host.preferences, 1);
        test::choose(*form, "TtrayAbout");
        QCOMPARE(host.abouts, 1);
        test::choose(*form, "CreatenewTaskTray");
        QCOMPARE(host.newTasks, std::vector<int>{-1});
        // Opened from the File menu, the tray item may open a second one; that one guards itself.
        host.preferences = 0;
        test::choose(*form, "Preferences1");
        QCOMPARE(host.preferences, 2);
        // The guard is released when the window closes.
        host.preferences = 2;
        test::choose(*form, "Preferences2");
        QCOMPARE(host.preferences, 3);
    }

    void editOpensTheSelectedTaskById() {
        writeTasks(
            {task(kGeneral, "one", at(2009, 12, 3, 15, 0)), task(kGeneral, "two", at(2009, 12, 4, 15, 0))});
        auto form = makeForm();
        form->show();
        test::click(*form, "EditBT");
        QVERIFY(bench_.host.editedTasks.empty());
        test::taskView(*form)->selectRow(1);
        test::click(*form, "EditBT");
        QCOMPARE(bench_.host.editedTasks, std::vector<std::uint32_t>{101});
        QVERIFY2(test::taskView(*form)->selectionModel()->selectedRows().isEmpty(), "the list is rebuilt");
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
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // The list is one pixel wider than the client area: its right border lies under the window's edge.
        const QStringList clipped = test::clippedCaptions(*form, {"TaskView1"});
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        const QString folder = qEnvironmentVariable("VELLORAN_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("VELLORAN_SCREENSHOTS not set");
        QDir().mkpath(folder);
        QVERIFY(form->grab().save(folder + "/main-window-offscreen.png"));
        bench_.settings.LongDateDisplay = 1;
        form->refreshTaskView();
        QVERIFY(form->grab().save(folder + "/main-window-long-dates-offscreen.png"));
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
