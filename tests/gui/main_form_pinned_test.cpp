// The main window's menus item by item, the confirmed Exit that skips the countdown, and its two timers.
#include "main_form_support.h"
#include "marking_translator.h"
#include "platform/message_box.h"
#include "shell/exit_form.h"
#include "shell/scheduler_main_form.h"
#include "shell/second_start.h"
#include "shell/task_list_view.h"
#include "store/task_file.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

using namespace velloran;

namespace {

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
    test::MainFormBench bench_;
    test::MessageBoxRecorder boxes_{QMessageBox::Yes};

    std::unique_ptr<SchedulerMainForm> makeForm() { return bench_.makeForm(); }

    void writeOneTask() {
        TaskList list;
        list.appendLoaded(test::makeTask(kGeneral, bench_.clock.value + 30)).TaskId = 1;
        QCOMPARE(QString::fromStdString(told(saveTaskFile(bench_.taskFile().toStdString(), list))),
                 QString());
    }

private slots:
    void initTestCase() { bench_.clock.value = test::at(2010, 6, 1, 12, 0); }

    void init() {
        boxes_.shown.clear();
        bench_.host = test::RecordingHost();
        bench_.hiddenStart = false;
        QFile::remove(bench_.taskFile());
        QDir(bench_.dir.filePath("state")).removeRecursively();
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
        QCOMPARE(items(test::part<QMenu>(*form, "TaskPopup")),
                 (QStringList{"TaskPopupEdit &Edit", "TaskPopupEnableDisable Enable/Disable", "N4 -",
                              "TaskPopupDelete &Delete"}));
        QCOMPARE(items(test::part<QMenu>(*form, "TrayPopupMenu")),
                 (QStringList{"Restore1 &Open Task Scheduler", "CreatenewTaskTray Create &New Task", "N8 -",
                              "Preferences2 &Preferences", "N1 -", "TtrayAbout &About", "N6 -",
                              "Exit1 &Exit Task Scheduler"}));
        QCOMPARE(test::trayIcon(*form)->hint(), QString("Velloran - right click for options"));
    }

    // The places of the form at the designed size; a larger window stretches the list and moves the
    // buttons with the lower edges, "Run in background" with the right one too.
    void controlsStandAsDrawnAndFollowTheWindowsSize() {
        auto form = makeForm();
        form->show();
        QWidget* client = form->centralWidget();
        const auto place = [&](const char* name) { return test::part<QWidget>(*form, name)->geometry(); };
        QCOMPARE(client->size(), QSize(649, 407));
        QCOMPARE(place("CreateNewTask"), QRect(8, 3, 56, 56));
        QCOMPARE(place("CreateDoc"), QRect(400, 3, 56, 56));
        QCOMPARE(place("TaskView1"), QRect(0, 64, 650, 295));
        QCOMPARE(place("EditBT"), QRect(8, 372, 97, 25));
        QCOMPARE(place("EnableDisableBT"), QRect(112, 372, 97, 25));
        QCOMPARE(place("DeleteBT"), QRect(216, 372, 97, 25));
        QCOMPARE(place("HideBT"), QRect(520, 370, 115, 25));
        form->resize(form->width() + 100, form->height() + 50);
        QTRY_COMPARE(client->size(), QSize(749, 457));
        QCOMPARE(place("CreateDoc"), QRect(400, 3, 56, 56));
        QCOMPARE(place("TaskView1"), QRect(0, 64, 750, 345));
        QCOMPARE(place("EditBT"), QRect(8, 422, 97, 25));
        QCOMPARE(place("DeleteBT"), QRect(216, 422, 97, 25));
        QCOMPARE(place("HideBT"), QRect(620, 420, 115, 25));
    }

    // The Tab key walks the picture buttons left to right, then the list, then the command buttons.
    void tabOrderFollowsTheRowsLeftToRight() {
        auto form = makeForm();
        QStringList order;
        QWidget* first = test::part<QWidget>(*form, "CreateNewTask");
        QWidget* widget = first;
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != first && order.size() < 20);
        QCOMPARE(order, (QStringList{"CreateNewTask", "CreateAlarm", "CreateMemo", "CreateExe", "CreateWeb",
                                     "CreateAudio", "CreateVideo", "CreateDoc", "TaskView1", "EditBT",
                                     "EnableDisableBT", "DeleteBT", "HideBT"}));
        ExitForm countdown(form.get());
        QCOMPARE(test::part<QWidget>(countdown, "AutoOK")->nextInFocusChain(),
                 test::part<QWidget>(countdown, "Button1"));
    }

    // Each picture button and each item of the Tasks menu opens the editor on its own kind.
    void kindButtonsAndTasksMenuOpenTheirKinds() {
        auto form = makeForm();
        for (QToolButton* button : test::kindButtons(*form))
            button->click();
        QCOMPARE(bench_.host.newTasks, (std::vector<int>{-1, 0, 1, 2, 3, 4, 5, 6}));
        bench_.host.newTasks.clear();
        for (const char* item :
             {"NewTask1", "Alarmclock1", "Memo1", "Executable1", "Webpage1", "Audio1", "Video1", "Document1"})
            test::choose(*form, item);
        QCOMPARE(bench_.host.newTasks, (std::vector<int>{-1, 0, 1, 2, 3, 4, 5, 6}));
        // The kind buttons' tooltips, whole, in order: what a screen reader reads for each picture.
        QStringList tips;
        for (QToolButton* button : test::kindButtons(*form))
            tips << button->toolTip();
        QCOMPARE(tips, (QStringList{"New Task", "Create Alarm Clock Task", "Create Memo Task",
                                    "Create Executable Task", "Create Web Task", "Create Audio Task",
                                    "Create Video Task", "Create Document Task"}));
    }

    // Every text the user reads in these windows comes through the translator, the program's name aside;
    // a text that skipped it would stay English in every language.
    void everyTextPassesThroughTheTranslator() {
        writeOneTask();
        test::MarkingTranslator marking;
        QCoreApplication::installTranslator(&marking);
        auto form = makeForm();
        form->show();
        QStringList untranslated;
        const auto check = [&](const QString& what, const QString& text) {
            if (!text.isEmpty() && !test::marked(text))
                untranslated << what + ": " + text;
        };
        for (const QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
            check(button->objectName(), button->text());
            check(button->objectName(), button->toolTip());
            check(button->objectName(), button->accessibleName());
        }
        for (const QAction* action : form->findChildren<QAction*>())
            if (!action->isSeparator())
                check(action->objectName(), action->text());
        check("MainMenu1", form->menuBar()->accessibleName());
        const TaskListView* view = test::taskView(*form);
        check("TaskView1", view->accessibleName());
        for (int column = 0; column < view->model()->columnCount(); ++column)
            check("header", view->model()->headerData(column, Qt::Horizontal).toString());
        check("TrayIcon1", test::trayIcon(*form)->hint());
        QCOMPARE(form->windowTitle(), QString("Velloran"));
        boxes_.answer = QMessageBox::No;
        test::choose(*form, "Exit2");
        QCOMPARE(boxes_.shown.size(), 1);
        check("Exit caption", boxes_.shown[0].caption);
        check("Exit question", boxes_.shown[0].text);
        askAboutRunningInstance(
            {}, [](const RestoreRequest&) {}, [](QWidget*) { return QString(); });
        QCOMPARE(boxes_.shown.size(), 2);
        check("second start caption", boxes_.shown[1].caption);
        check("second start question", boxes_.shown[1].text);
        boxes_.answer = QMessageBox::Yes;
        {
            ExitForm countdown(form.get());
            check("countdown", countdown.windowTitle());
            check("Label1", test::part<QLabel>(countdown, "Label1")->text());
            for (const QAbstractButton* button : countdown.findChildren<QAbstractButton*>())
                check(button->objectName(), button->text());
            test::part<Timer>(countdown, "ExitTimer")->onTimeout();
            QCOMPARE(test::part<QPushButton>(countdown, "AutoOK")->text(), QString("[&OK ( 3 )]"));
        }
        QCoreApplication::removeTranslator(&marking);
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral(" | "))));
    }

    void exitAnsweredYesEndsWithoutTheCountdown() {
        writeOneTask();
        auto form = makeForm();
        form->show();
        // A countdown, were one to come, is recorded and cancelled so that the test cannot hang.
        bool countdownShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (auto* countdown = qobject_cast<ExitForm*>(QApplication::activeModalWidget())) {
                countdownShown = true;
                test::click(*countdown, "Button1");
            }
        });
        watch.start(10);
        QFile::remove(bench_.dir.filePath("tasks.tsk"));
        test::choose(*form, "Exit2");
        QVERIFY(!countdownShown);
        QVERIFY(!form->isVisible());
        QCOMPARE(boxes_.shown.size(), 1);
        QCOMPARE(boxes_.shown[0].caption, QString("Exit"));
        QCOMPARE(boxes_.shown[0].text,
                 QString("This will completely close the application. No scheduled tasks will be "
                         "able to run.\n Are you sure you want to exit?"));
        QCOMPARE(boxes_.shown[0].icon, QMessageBox::Question);
        QCOMPARE(boxes_.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
        // The close saved the list all the same.
        QVERIFY(QFile::exists(bench_.dir.filePath("tasks.tsk")));
    }

    void splashIsOwnedByTheMainWindow() {
        {
            auto form = makeForm();
            QCOMPARE(bench_.host.splashes, 1);
            QCOMPARE(bench_.host.splashOwner, form.get());
        }
        // Started hidden, at logon: no splash.
        bench_.hiddenStart = true;
        auto hidden = makeForm();
        QCOMPARE(bench_.host.splashes, 1);
    }

    // A hidden start sends the window to the tray at the first tick, unless the user has already
    // brought it back: the window the user asked for does not vanish a moment later.
    void hiddenStartKeepsAWindowRestoredBeforeTheFirstTick() {
        bench_.hiddenStart = true;
        auto form = makeForm();
        form->show();
        test::formPtrTimer(*form)->onTimeout();
        QVERIFY(!form->isVisible() || form->isMinimized());
        auto restored = makeForm();
        restored->show();
        restored->restoreFromTray();
        test::formPtrTimer(*restored)->onTimeout();
        QVERIFY(restored->isVisible() && !restored->isMinimized());
    }

    // Recovered changes are news, with the information icon; changes lost to a damaged journal are not.
    void recoveryNoticesCarryTheirIcon() {
        TaskList one;
        one.appendLoaded(test::makeTask(kGeneral, test::at(2031, 1, 1, 9, 0))).TaskId = 5;
        QVERIFY(saveTaskFile(bench_.taskFile().toStdString(), one).ok());
        const std::string journal = bench_.dir.filePath(QStringLiteral("state/tasks.journal")).toStdString();
        for (const bool damaged : {false, true}) {
            {
                TaskStore killed(bench_.taskFile().toStdString(), journal);
                killed.open();
                killed.toggleEnabled(5);
            }
            if (damaged)
                test::writeFile(journal, "not a journal at all, only bytes that mean nothing");
            boxes_.shown.clear();
            auto form = makeForm();
            QCOMPARE(boxes_.shown.size(), 1);
            QCOMPARE(boxes_.shown[0].caption, QString("Velloran"));
            QCOMPARE(boxes_.shown[0].icon, damaged ? QMessageBox::Critical : QMessageBox::Information);
            form.reset();
            QVERIFY(saveTaskFile(bench_.taskFile().toStdString(), one).ok());
        }
    }

    void settingsErrorIsShownAndNotificationWindowsAreTidied() {
        bench_.host.settingsError = "Failed to read the settings";
        auto form = makeForm();
        QCOMPARE(boxes_.shown.size(), 1);
        QCOMPARE(boxes_.shown[0].text, QString("Failed to read the settings"));
        QCOMPARE(boxes_.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(bench_.host.sweeps, 0);
        test::formPtrTimer(*form)->onTimeout();
        test::formPtrTimer(*form)->onTimeout();
        QCOMPARE(bench_.host.sweeps, 2);
        QCOMPARE(bench_.host.memoWindowsDestroyed, 0);
        form.reset();
        QCOMPARE(bench_.host.memoWindowsDestroyed, 1);
    }

    void countdownBlocksOnlyItsOwnerAndPlacesItsLabelAt8() {
        QWidget owner;
        ExitForm countdown(&owner);
        // Modal to the main window only: the tray icon, a window of its own, keeps its input.
        QCOMPARE(countdown.windowModality(), Qt::WindowModal);
        QCOMPARE(test::part<QLabel>(countdown, "Label1")->geometry(), QRect(8, 16, 145, 16));
        QCOMPARE(test::part<QLabel>(countdown, "Label1")->text(), QString("Exiting Task Scheduler in:"));
        QCOMPARE(countdown.windowTitle(), QString("Exit"));
    }

    // Apart from the texts' checks, so that it runs in every language.
    void countdownCaptionsFitAndArePictured() {
        QWidget owner;
        ExitForm countdown(&owner);
        countdown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&countdown));
        const QStringList clipped = test::clippedCaptions(countdown);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        QVERIFY(test::picture(countdown, QStringLiteral("exit-countdown-offscreen.png")));
        test::click(countdown, "Button1");
    }

    void formPtrTimerTicksAt300msThenEvery30s() {
        auto form = makeForm();
        QCOMPARE(test::formPtrTimer(*form)->interval(), 300);
        QVERIFY(!test::formPtrTimer(*form)->isEnabled());
        form->show();
        QVERIFY(test::formPtrTimer(*form)->isEnabled());
        QCOMPARE(test::formPtrTimer(*form)->interval(), 300);
        // The real first tick, not one called by hand, sets the long interval.
        QTRY_COMPARE_WITH_TIMEOUT(test::formPtrTimer(*form)->interval(), 30000, 3000);
        QVERIFY(test::formPtrTimer(*form)->isEnabled());
        QVERIFY(test::formPtrTimer(*form)->remainingTime() > 25000);
        test::formPtrTimer(*form)->onTimeout();
        QCOMPARE(test::formPtrTimer(*form)->interval(), 30000);
    }

    void mainTimerRunsEvery5sAndAnEmptyListLeavesItAlone() {
        auto form = makeForm();
        QCOMPARE(test::mainTimer(*form)->interval(), 5000);
        QVERIFY(test::mainTimer(*form)->isEnabled());
        // Some way into the countdown, so that a restart would show.
        QTRY_VERIFY(test::mainTimer(*form)->remainingTime() < 4500);
        const int before = test::mainTimer(*form)->remainingTime();
        QVERIFY(before > 0);
        // With nothing to scan the tick returns at once: the countdown to the next one goes on.
        test::mainTimer(*form)->onTimeout();
        QVERIFY(test::mainTimer(*form)->isEnabled());
        QCOMPARE(test::mainTimer(*form)->interval(), 5000);
        QVERIFY(test::mainTimer(*form)->remainingTime() <= before);
    }

    void mainTimerStopsForAScanAndStartsAfresh() {
        writeOneTask();
        auto form = makeForm();
        QTRY_VERIFY(test::mainTimer(*form)->remainingTime() < 4500);
        const int before = test::mainTimer(*form)->remainingTime();
        QVERIFY(before > 0);
        test::mainTimer(*form)->onTimeout();
        QVERIFY(test::mainTimer(*form)->isEnabled());
        QVERIFY(test::mainTimer(*form)->remainingTime() > before);
    }
};

QTEST_MAIN(MainFormPinnedTest)
#include "main_form_pinned_test.moc"
