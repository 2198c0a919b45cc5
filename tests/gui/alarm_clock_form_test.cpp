// The alarm clock window: ringing, snooze, re-ring, switch-off, closing, the time display and dragging.
// Timers are advanced by running their handlers; nothing waits for a real snooze.
#include "stand_ins.h"
#include "window_checks.h"

#include "look/fonts.h"
#include "notify/alarm_clock_form.h"
#include "notify/notification_window_table.h"
#include "notify/notify_texts.h"
#include "platform/ringing_sounds.h"
#include "platform/timer.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace velloran;
using velloran::test::at;
using velloran::test::FixedClock;
using velloran::test::RecordingSoundPlayer;

class AlarmClockFormTest : public QObject {
    Q_OBJECT

    FixedClock clock;
    RecordingSoundPlayer sound;
    RingingSounds alarmSounds{sound};
    test::RecordingNotifications notices;
    SettingsRecord settings{};
    std::unique_ptr<NotificationWindowTable> table;
    AlarmClockForm* form = nullptr; // owned by the table once shown

    AlarmClockForm* ring(const std::string& note = "Wake up", const std::string& soundFile = "bell.wav") {
        form = new AlarmClockForm(*table, alarmSounds, notices, settings, clock, "/opt/velloran/");
        form->showAlarm(note, soundFile);
        return form;
    }
    template <typename T> T* control(const char* name) { return form->findChild<T*>(name); }
    QComboBox* snoozeTime() { return control<QComboBox>("SnoozeTimeCB"); }
    QLabel* zz() { return control<QLabel>("ZzImage"); }
    void snooze() { QTest::mouseClick(control<QPushButton>("SnoozeBT"), Qt::LeftButton); }
    // The machine sleeps: Qt's countdowns stand still while the clock goes on.
    void sleep(int minutes) { clock.value += minutes / (24.0 * 60); }
    // The window's timers, found by their names as the controls are.
    Timer* clockTimer() { return test::part<Timer>(*form, "ClockTimer"); }
    Timer* snoozeTimer() { return test::part<Timer>(*form, "SnoozeTimer"); }
    Timer* offTimer() { return test::part<Timer>(*form, "OffTimer"); }
    void clockTick() { clockTimer()->onTimeout(); }

private slots:
    void initTestCase() {
        velloran::test::quietWindowMaskWarnings();
        installFontSubstitutes();
    }
    void init() {
        sound = RecordingSoundPlayer();
        notices = test::RecordingNotifications();
        settings = defaultSettings();
        clock.value = at(2024, 3, 9, 7, 15);
        table = std::make_unique<NotificationWindowTable>();
    }
    void cleanup() {
        table.reset(); // destroys the registered windows
        form = nullptr;
    }

    // While it rings the alarm is on the desktop's notification service too, drawn above full-screen
    // windows, with the window's own buttons.
    void ringingAlarmPostsACriticalNotice() {
        ring("\n  Leave for the <b>station</b> & the train\nticket in the coat");
        QCOMPARE(notices.shown().size(), 1);
        const DesktopNotice notice = notices.shown().first();
        QCOMPARE(notice.summary, QString("Alarm Clock \u2013 Leave for the <b>station</b> & the train"));
        QCOMPARE(notice.body, QString("\n  Leave for the <b>station</b> & the train\nticket in the coat"));
        QVERIFY(notice.critical);
        QStringList labels;
        for (const auto& action : notice.actions)
            labels << action.second;
        QCOMPARE(labels, (QStringList{"Show", "Snooze", "Turn off alarm"}));
        QCOMPARE(notice.actions.first().first, QString("default"));
    }

    void snoozeFromTheNoticeWithdrawsItUntilTheAlarmRingsAgain() {
        ring();
        snoozeTime()->setCurrentIndex(2);
        const DesktopNotice notice = notices.shown().first();
        QVERIFY(notices.choose(notices.newest(), notice.actions.at(1).first));
        QVERIFY(snoozeTimer()->isEnabled());
        QCOMPARE(snoozeTimer()->interval(), 15 * 60000);
        QVERIFY(!zz()->isHidden());
        QVERIFY(!sound.looping);
        QVERIFY(notices.shown().isEmpty());
        // A snoozed clock steps back, and is on top again as it rings.
        QVERIFY(!form->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form->isVisible());
        snoozeTimer()->onTimeout();
        QVERIFY(form->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(notices.posted.size(), 2);
        QCOMPARE(notices.shown().size(), 1);
        QVERIFY(notices.shown().first().critical);
        QVERIFY(sound.looping);
    }

    void turnOffFromTheNoticeClosesTheWindow() {
        ring();
        const QString turnOff = notices.shown().first().actions.at(2).first;
        QVERIFY(notices.choose(notices.newest(), turnOff));
        QVERIFY(form->closed());
        QVERIFY(!form->isVisible());
        QVERIFY(!sound.looping);
        QVERIFY(notices.shown().isEmpty());
    }

    void everyWayOfFallingSilentWithdrawsTheNotice() {
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = 0;
        ring();
        snooze();
        QVERIFY(notices.shown().isEmpty());
        snooze(); // again while snoozing: nothing posted, nothing withdrawn twice
        QCOMPARE(notices.withdrawn.size(), 1);
        snoozeTimer()->onTimeout();
        QCOMPARE(notices.shown().size(), 1);
        offTimer()->onTimeout(); // switched off by itself
        QVERIFY(notices.shown().isEmpty());

        ring();
        form->close(); // the window manager's close
        QVERIFY(notices.shown().isEmpty());
        QCOMPARE(notices.withdrawn.size(), 3);
    }

    void clickOnTheNoticeBringsTheAlarmForward() {
        ring();
        form->hide();
        QVERIFY(notices.choose(notices.newest(), "default", "token"));
        QVERIFY(form->isVisible());
        QVERIFY(sound.looping); // still ringing
        QCOMPARE(notices.shown().size(), 1);
        QVERIFY(qEnvironmentVariableIsEmpty("XDG_ACTIVATION_TOKEN"));
    }

    // The alarm came up without the focus (it stays with the window the user types in); a click takes
    // it, wherever on the window it lands, and does what it does there.
    void clickOnTheWindowTakesTheFocus() {
        ring();
        QWidget elsewhere;
        for (const char* place : {"TimeDisplay", "SnoozeBT"}) {
            elsewhere.show();
            elsewhere.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
            test::clickThroughItsWindow(*control<QWidget>(place));
            QTRY_VERIFY(form->isActiveWindow());
        }
        QVERIFY(!sound.looping); // the click on Snooze snoozed, the one on the clock's face did not
        QVERIFY(!zz()->isHidden());
    }

    // Where the desktop gives the new window the keyboard all the same (offscreen does, as GNOME does on
    // Wayland), what the user goes on typing was meant elsewhere: its Enter does not snooze. After a
    // click on the alarm, or the notice's Show, Enter snoozes.
    void keysTypedOnAsItAppearsDoNotSnooze() {
        for (const bool byNotice : {false, true}) {
            ring();
            QVERIFY(QTest::qWaitForWindowActive(form));
            for (const Qt::Key key : {Qt::Key_L, Qt::Key_S, Qt::Key_Return})
                QTest::keyClick(form->windowHandle(), key);
            QVERIFY(sound.looping);
            QVERIFY(zz()->isHidden());
            if (byNotice)
                QVERIFY(notices.choose(notices.newest(), "default"));
            else
                test::clickThroughItsWindow(*control<QWidget>("TimeDisplay"));
            QTest::keyClick(form->windowHandle(), Qt::Key_Return);
            QVERIFY(!sound.looping);
            QVERIFY(!zz()->isHidden());
        }
    }

    void captionsFitRingingAndSnoozing() {
        ring("Leave for the station: the 8:10 train");
        QVERIFY(QTest::qWaitForWindowExposed(form));
        // The picture's box is one pixel larger than the window; the picture itself fits.
        QStringList clipped = test::clippedCaptions(*form, {"BackGround"});
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        QVERIFY(test::picture(*form, QStringLiteral("alarm-clock-offscreen.png")));
        snooze();
        clipped = test::clippedCaptions(*form, {"BackGround"});
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
    }

    void showAlarmRegistersRingsAndShows() {
        bool shownWhenSoundStarted = true;
        sound.onPlay = [&] { shownWhenSoundStarted = form->isVisible(); };
        ring("Take the pills", "Chimes.wav");
        QCOMPARE(table->count(), 1);
        QVERIFY(table->contains(form));
        QCOMPARE(form->windowTitle(), QString("Alarm Clock"));
        QCOMPARE(form->size(), QSize(320, 385));
        QCOMPARE(control<QPlainTextEdit>("Note")->toPlainText(), QString("Take the pills"));
        QCOMPARE(form->soundPath(), QString("/opt/velloran/Sounds/Chimes.wav"));
        QCOMPARE(sound.played, QStringList{"/opt/velloran/Sounds/Chimes.wav"});
        // The mixer lists the sound by the window's purpose.
        QCOMPARE(sound.purposes, QStringList{"Alarm Clock"});
        QVERIFY2(!shownWhenSoundStarted, "the sound starts before the window shows");
        QCOMPARE(snoozeTime()->currentText(), QString("10 min"));
        QCOMPARE(control<QLabel>("TimeDisplay")->text(), QString("07:15 am"));
        QVERIFY(form->isVisible());
        QVERIFY(!form->closed());
        QVERIFY(zz()->isHidden());
        QVERIFY(!offTimer()->isEnabled());
        QVERIFY(!snoozeTimer()->isEnabled());
        QVERIFY(clockTimer()->isEnabled());
        QCOMPARE(clockTimer()->interval(), 5000);
        QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // Where each control stands, as designed: left, top, width, height; the captions' labels take the
    // size of their text.
    void controlsStandWhereTheyWereDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("BackGround") << "BackGround" << QRect(0, 0, 321, 321);
        QTest::newRow("Button1") << "Button1" << QRect(120, 96, 81, 25);
        QTest::newRow("ZzImage") << "ZzImage" << QRect(216, 88, 104, 111);
        QTest::newRow("TimeDisplay") << "TimeDisplay" << QRect(68, 130, 187, 55);
        QTest::newRow("SnoozeBT") << "SnoozeBT" << QRect(112, 192, 105, 41);
        QTest::newRow("Label1") << "Label1" << QRect(128, 240, 0, 0);
        QTest::newRow("SnoozeTimeCB") << "SnoozeTimeCB" << QRect(128, 256, 73, 22);
        QTest::newRow("Label2") << "Label2" << QRect(8, 312, 0, 0);
        // One pixel narrower than designed, so that its scroll bar's edge is not cut off by the window's.
        QTest::newRow("Note") << "Note" << QRect(8, 328, 312, 49);
    }
    void controlsStandWhereTheyWereDesigned() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        ring();
        const QWidget* widget = test::part<QWidget>(*form, qPrintable(name));
        if (place.isEmpty()) {
            QCOMPARE(widget->pos(), place.topLeft());
            QCOMPARE(widget->size(), widget->sizeHint());
        } else {
            QCOMPARE(widget->geometry(), place);
        }
    }

    void noteKeepsItsLinesAndShowsMarkupAsText() {
        ring("first\r\nsecond <b>bold</b>");
        QCOMPARE(control<QPlainTextEdit>("Note")->toPlainText(), QString("first\nsecond <b>bold</b>"));
    }

    void emptySoundNameStillRings() {
        ring("note", "");
        QCOMPARE(sound.played, QStringList{"/opt/velloran/Sounds/"});
    }

    void snoozeItemComesFromTheSettings_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first") << 0 << "5 min";
        QTest::newRow("last") << 5 << "30 min";
        // A damaged index would leave no item and a snooze that never rings again: 10 min stands in.
        QTest::newRow("past the list") << 6 << "10 min";
        QTest::newRow("none chosen") << -1 << "10 min";
    }
    void snoozeItemComesFromTheSettings() {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        settings.SnoozeTime = stored;
        ring();
        QCOMPARE(snoozeTime()->currentText(), shown);
    }

    void controlsInTabOrderWithSnoozeFocused() {
        ring();
        auto* snoozeButton = control<QPushButton>("SnoozeBT");
        QCOMPARE(snoozeTime()->count(), 6);
        QCOMPARE(snoozeTime()->itemText(0), QString("5 min"));
        QVERIFY(snoozeButton->isDefault());
        QCOMPARE(form->focusWidget(), snoozeButton);
        const auto next = [](QWidget* widget) {
            do
                widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus);
            return widget;
        };
        QCOMPARE(next(snoozeButton), snoozeTime());
        QCOMPARE(next(snoozeTime()), control<QPushButton>("Button1"));
        QCOMPARE(next(control<QPushButton>("Button1")), control<QPlainTextEdit>("Note"));
        QCOMPARE(control<QPushButton>("Button1")->text(), QString("Turn &off alarm"));
    }

    void snoozeLengthFollowsTheChosenItem_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 6; ++i)
            QTest::newRow(kSnoozeItems[i]) << i;
    }
    void snoozeLengthFollowsTheChosenItem() {
        QFETCH(int, index);
        ring();
        snoozeTime()->setCurrentIndex(index);
        snooze();
        QCOMPARE(snoozeTimer()->interval(), (index + 1) * 300000);
        QVERIFY(snoozeTimer()->isEnabled());
        QCOMPARE(sound.stops, 1);
        QVERIFY(!sound.looping);
        QVERIFY(!zz()->isHidden());
    }

    void enterPressesSnoozeFromTheList() {
        ring();
        snoozeTime()->setFocus();
        QTest::keyClick(snoozeTime(), Qt::Key_Return);
        QVERIFY(snoozeTimer()->isEnabled());
    }

    void sameSnoozeTimeDoesNotProlong() {
        ring();
        snooze();
        const int first = snoozeTimer()->remainingTime();
        QTRY_VERIFY(snoozeTimer()->remainingTime() < first - 200);
        snooze();
        QVERIFY2(snoozeTimer()->remainingTime() < first - 100, "the countdown went on");
        QCOMPARE(snoozeTimer()->interval(), 600000);
    }

    void differentSnoozeTimeRestarts() {
        ring();
        snooze();
        const int first = snoozeTimer()->remainingTime();
        QTRY_VERIFY(snoozeTimer()->remainingTime() < first - 200);
        snoozeTime()->setCurrentIndex(0);
        snooze();
        QCOMPARE(snoozeTimer()->interval(), 300000);
        QVERIFY(snoozeTimer()->remainingTime() > 300000 - 100);
    }

    void reRingPlaysTheSameSoundAgain() {
        ring("note", "Marimba.wav");
        snooze();
        snoozeTimer()->onTimeout();
        QCOMPARE(sound.played,
                 QStringList({"/opt/velloran/Sounds/Marimba.wav", "/opt/velloran/Sounds/Marimba.wav"}));
        QVERIFY(sound.looping);
        QVERIFY(!snoozeTimer()->isEnabled());
        QVERIFY(zz()->isHidden());
        QVERIFY(!offTimer()->isEnabled());
    }

    void switchOffAfterTheChosenTime_data() {
        QTest::addColumn<int>("offTime");
        for (int i = 0; i < 6; ++i)
            QTest::newRow(kSnoozeItems[i]) << i;
    }
    void switchOffAfterTheChosenTime() {
        QFETCH(int, offTime);
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = offTime;
        ring();
        QVERIFY(offTimer()->isEnabled());
        QCOMPARE(offTimer()->interval(), (offTime + 1) * 300000);
        offTimer()->onTimeout();
        QVERIFY(form->closed());
        QVERIFY(!form->isVisible());
        QVERIFY(!sound.looping);
        QVERIFY(!offTimer()->isEnabled());
        QVERIFY(!snoozeTimer()->isEnabled());
    }

    void noSwitchOffWithoutAChosenTime() {
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = -1;
        ring();
        QCOMPARE(offTimer()->interval(), 0);
        QCOMPARE(offTimer()->remainingTime(), -1);
    }

    void snoozeDropsTheSwitchOffAndReRingStartsItAfresh() {
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = 0;
        ring();
        snooze();
        QVERIFY(!offTimer()->isEnabled());
        // Read again at the re-ring: the preferences changed meanwhile.
        settings.AlarmOffTime = 2;
        snoozeTimer()->onTimeout();
        QVERIFY(offTimer()->isEnabled());
        QCOMPARE(offTimer()->interval(), 900000);
        QVERIFY(offTimer()->remainingTime() > 900000 - 1000);
    }

    void snoozedAlarmNeverSwitchesItselfOff() {
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = 0;
        ring();
        settings.AlarmOffEnabled = 0; // turned off in the preferences while ringing
        snooze();
        QVERIFY(!offTimer()->isEnabled());
        snoozeTimer()->onTimeout();
        QVERIFY(!offTimer()->isEnabled());
    }

    void turnOffStopsClosesAndMarks() {
        ring();
        QTest::mouseClick(control<QPushButton>("Button1"), Qt::LeftButton);
        QVERIFY(form->closed());
        QVERIFY(!form->isVisible());
        QVERIFY(!sound.looping);
        QCOMPARE(table->count(), 1); // only the sweep frees it
        QCOMPARE(table->sweep(), 1);
        QCOMPARE(table->count(), 0);
    }

    void closingWhileSnoozedNeverRingsAgain() {
        ring();
        snooze();
        form->close();
        QVERIFY(form->closed());
        QVERIFY(!snoozeTimer()->isEnabled());
        QCOMPARE(snoozeTimer()->remainingTime(), -1);
        QVERIFY(!sound.looping);
        QCOMPARE(sound.played.size(), 1);
    }

    void snoozeThatEndedInASleepRingsAtTheNextClockTickOnce() {
        ring("note", "Marimba.wav");
        snooze(); // 10 minutes
        sleep(9);
        clockTick();
        QCOMPARE(sound.played.size(), 1);
        QVERIFY(!sound.looping);
        sleep(60);
        clockTick();
        QCOMPARE(sound.played,
                 QStringList({"/opt/velloran/Sounds/Marimba.wav", "/opt/velloran/Sounds/Marimba.wav"}));
        QVERIFY(sound.looping);
        QVERIFY(zz()->isHidden());
        QVERIFY(!snoozeTimer()->isEnabled());
        QCOMPARE(snoozeTimer()->remainingTime(), -1); // Qt's countdown cannot ring it again
        sleep(60);
        clockTick();
        QCOMPARE(sound.played.size(), 2);
    }

    void snoozeThatRangByItsTimerIsNotCaughtUpLater() {
        ring();
        snooze();
        snoozeTimer()->onTimeout(); // the countdown ended while awake
        sleep(11);
        clockTick();
        QCOMPARE(sound.played.size(), 2);
        QVERIFY(sound.looping);
    }

    void switchOffThatEndedInASleepActsAtTheNextClockTick() {
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = 0; // 5 minutes
        ring();
        sleep(4);
        clockTick();
        QVERIFY(!form->closed());
        sleep(120);
        clockTick();
        QVERIFY(form->closed());
        QVERIFY(!sound.looping);
        const int stops = sound.stops;
        clockTick();
        QCOMPARE(sound.stops, stops);
    }

    void reRingAfterASleepStartsAWholeSwitchOffCountdown() {
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = 1; // 10 minutes
        ring();
        snooze();
        sleep(180);
        clockTick(); // rings again: the switch-off counts from now, not from before the sleep
        QVERIFY(sound.looping);
        QVERIFY(offTimer()->isEnabled());
        sleep(9);
        clockTick();
        QVERIFY(!form->closed());
        sleep(2);
        clockTick();
        QVERIFY(form->closed());
    }

    void closedAlarmStaysSilentAfterASleep() {
        ring();
        snooze();
        form->close();
        sleep(60);
        clockTick();
        QCOMPARE(sound.played.size(), 1);
        QVERIFY(!sound.looping);
    }

    void clockText_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QString>("text");
        QTest::newRow("half past midnight") << 0 << 30 << "12:30 am";
        QTest::newRow("five past midnight") << 0 << 5 << "12:05 am";
        QTest::newRow("before noon") << 11 << 59 << "11:59 am";
        QTest::newRow("half past noon") << 12 << 30 << "12:30 pm";
        QTest::newRow("evening") << 21 << 7 << "09:07 pm";
        QTest::newRow("last minute") << 23 << 59 << "11:59 pm";
    }
    void clockText() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(QString, text);
        clock.value = at(2024, 1, 31, hour, minute);
        ring();
        QCOMPARE(control<QLabel>("TimeDisplay")->text(), text);
    }

    void clockTickShowsTheNewTime() {
        ring();
        clock.value = at(2024, 3, 9, 13, 2);
        clockTimer()->onTimeout();
        QCOMPARE(control<QLabel>("TimeDisplay")->text(), QString("01:02 pm"));
    }

    void timeFitsItsDisplay() {
        ring();
        auto* display = control<QLabel>("TimeDisplay");
        const QFontMetrics metrics(display->font());
        QVERIFY(display->font().bold());
        QVERIFY(metrics.horizontalAdvance("00:00 pm") <= display->width());
        QVERIFY(metrics.height() <= display->height());
        QVERIFY(display->font().pixelSize() >= 30);
    }

    void anyButtonDragsByThePictureAndTheTime() {
        ring();
        form->move(100, 100);
        const QPoint start = form->pos();
        auto* background = control<QLabel>("BackGround");
        QTest::mousePress(background, Qt::RightButton, {}, QPoint(20, 20));
        QTest::mouseMove(background, QPoint(50, 35));
        QTest::mouseRelease(background, Qt::RightButton, {}, QPoint(50, 35));
        QCOMPARE(form->pos(), start + QPoint(30, 15));

        auto* time = control<QLabel>("TimeDisplay");
        QTest::mousePress(time, Qt::MiddleButton, {}, QPoint(10, 10));
        QTest::mouseMove(time, QPoint(5, 30));
        QTest::mouseRelease(time, Qt::MiddleButton, {}, QPoint(5, 30));
        QCOMPARE(form->pos(), start + QPoint(25, 35));

        // Moving without a press does nothing.
        QTest::mouseMove(background, QPoint(90, 90));
        QCOMPARE(form->pos(), start + QPoint(25, 35));
    }

    // A left click is no drag: the window stays put as the pointer goes on. A left drag moves it once the
    // pointer has gone a few pixels, by the window system's move where there is one (not offscreen).
    void leftClickIsNoDragAndLeftDragMoves() {
        ring();
        form->move(100, 100);
        const QPoint start = form->pos();
        auto* background = control<QLabel>("BackGround");
        QTest::mouseClick(background, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(background, QPoint(80, 60));
        QCOMPARE(form->pos(), start);
        QTest::mousePress(background, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(background, QPoint(21, 21));
        QCOMPARE(form->pos(), start);
        QTest::mouseMove(background, QPoint(50, 35));
        QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(50, 35));
        QCOMPARE(form->pos(), start + QPoint(30, 15));
    }

    void pressingOnControlsDoesNotDrag() {
        ring();
        form->move(100, 100);
        const QPoint start = form->pos();
        for (const char* name : {"Note", "SnoozeTimeCB", "Button1"}) {
            auto* widget = form->findChild<QWidget*>(name);
            QTest::mousePress(widget, Qt::RightButton, {}, QPoint(5, 5));
            QTest::mouseMove(widget, QPoint(40, 20));
            QTest::mouseRelease(widget, Qt::RightButton, {}, QPoint(40, 20));
            QCOMPARE(form->pos(), start);
        }
    }

    void shapeShowsThePictureAndControlsOnly() {
        ring();
        const QRegion shape = form->mask();
        QVERIFY(!shape.isEmpty());
        for (const char* name : {"Button1", "TimeDisplay", "SnoozeBT", "Label1", "SnoozeTimeCB", "Note"}) {
            const QRect area = form->findChild<QWidget*>(name)->geometry();
            QVERIFY2(shape.contains(area.center()), name);
        }
        QVERIFY(shape.contains(QPoint(160, 160)));  // the clock's face
        QVERIFY(!shape.contains(QPoint(2, 2)));     // beside the round clock
        QVERIFY(!shape.contains(QPoint(318, 383))); // beside the note
        const QRegion ringing = shape;
        snooze();
        QVERIFY(form->mask() != ringing); // the snooze picture joins the shape
        snoozeTimer()->onTimeout();
        QCOMPARE(form->mask(), ringing);
    }
};

QTEST_MAIN(AlarmClockFormTest)
#include "alarm_clock_form_test.moc"
