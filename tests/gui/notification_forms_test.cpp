// The window tables and the notification windows that due tasks open: registration, the sweep, the full
// table, and freeing everything at the end.
#include "stand_ins.h"
#include "window_checks.h"

#include "common/text.h"
#include "notify/alarm_clock_form.h"
#include "notify/memo_form.h"
#include "notify/notification_forms.h"
#include "platform/timer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

using namespace velloran;
using velloran::test::at;
using velloran::test::FixedClock;
using velloran::test::RecordingSoundPlayer;

namespace {

FontBlock face(const char* name, std::uint32_t style) {
    FontBlock font{};
    setFieldText(font.FontName, name);
    font.FontSize = 11;
    font.FontStyle = style;
    return font;
}

} // namespace

class NotificationFormsTest : public QObject {
    Q_OBJECT

    FixedClock clock;
    RecordingSoundPlayer sound;
    test::RecordingNotifications notices;
    SettingsRecord settings = defaultSettings();
    std::unique_ptr<NotificationForms> forms;

    template <typename Form> QList<Form*> windows() {
        QList<Form*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<Form*>(widget))
                found << form;
        return found;
    }
    // An occurrence of a task of its own, due now.
    Occurrence another() { return {++lastTaskId, clock.value}; }
    std::uint32_t lastTaskId = 0;
    AlarmClockForm* alarmIn(int slot) { return static_cast<AlarmClockForm*>(forms->alarmWindows().at(slot)); }

private slots:
    void initTestCase() { velloran::test::quietWindowMaskWarnings(); }
    void init() {
        sound = RecordingSoundPlayer();
        clock.value = at(2024, 5, 1, 6, 30);
        forms = std::make_unique<NotificationForms>(sound, notices, settings, clock, "/usr/lib/velloran/");
    }
    void cleanup() {
        forms.reset();
        QCOMPARE(windows<NotificationForm>().size(), 0);
    }

    void alarmAndMemoOpenTheirWindows() {
        forms->showAlarm("Wake up", "Chimes.wav", another());
        forms->showMemo("Buy milk", face("Liberation Serif", 0), another());
        QCOMPARE(forms->alarmWindows().count(), 1);
        QCOMPARE(forms->memoWindows().count(), 1);
        QCOMPARE(windows<AlarmClockForm>().size(), 1);
        QCOMPARE(windows<MemoForm>().size(), 1);
        QVERIFY(windows<AlarmClockForm>().first()->isVisible());
        QCOMPARE(sound.played, QStringList{"/usr/lib/velloran/Sounds/Chimes.wav"});
        QCOMPARE(sound.beeps, 1);
    }

    // Due in the same scan: neither window hides the other; both lie on the screen.
    void alarmAndMemoDueTogetherBothShow() {
        forms->showAlarm("Wake up", "Chimes.wav", another());
        forms->showMemo("Buy milk", face("Liberation Serif", 0), another());
        const QRect alarm = windows<AlarmClockForm>().first()->frameGeometry();
        const QRect memo = windows<MemoForm>().first()->frameGeometry();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // The test's screen has no room beside the alarm in its middle: the note overlaps it, but the
        // clock's face stays in view.
        QVERIFY(!memo.contains(alarm.center()));
        QVERIFY((memo & alarm).width() * (memo & alarm).height() < alarm.width() * alarm.height() / 2);
        QVERIFY(screen.contains(alarm));
        QVERIFY(screen.contains(memo));
        // A closed window makes room: the next one takes the middle again.
        forms->alarmWindows().at(0)->close();
        forms->memoWindows().at(0)->close();
        forms->showAlarm("Again", "Chimes.wav", another());
        QCOMPARE(forms->alarmWindows().at(1)->frameGeometry().center(), screen.center());
    }

    // The occurrences of one task found late share one notice that counts them, another task's alarm has
    // its own, and each notice's Snooze and Turn off reach only the windows it stands for.
    void occurrencesOfOneTaskShareOneNotice() {
        const QString garden = QStringLiteral("Alarm Clock \u2013 Water the garden");
        const QString pills = QStringLiteral("Alarm Clock \u2013 Take the pills");
        forms->showAlarm("Water the garden", "a.wav", {41, at(2024, 4, 28, 12, 0)});
        QCOMPARE(notices.posted.last().body, QString("Due 04/28/24 - 12:00pm\nWater the garden"));
        forms->showAlarm("Water the garden", "a.wav", {41, at(2024, 4, 29, 12, 0)});
        forms->showAlarm("Water the garden", "a.wav", {41, at(2024, 4, 30, 12, 0)});
        forms->showAlarm("Take the pills", "b.wav", {42, clock.value});
        forms->showMemo("Dentist\nat four", face("", 0), {41, at(2024, 5, 1, 6, 0)});
        QCOMPARE(notices.shown().size(), 3);
        QCOMPARE(notices.shown().at(0).summary, garden);
        QCOMPARE(notices.shown().at(0).body,
                 QString("Due 3 times since 04/28/24 - 12:00pm\nWater the garden"));
        QCOMPARE(notices.shown().at(1).body, QString("Take the pills")); // on time: no due line
        QCOMPARE(notices.shown().at(2).body, QString("Due 05/01/24 - 06:00am\nDentist"));

        QVERIFY(notices.choose(notices.idOf(garden), "snooze"));
        for (int slot = 0; slot < 4; ++slot)
            QCOMPARE(test::part<Timer>(*alarmIn(slot), "SnoozeTimer")->isEnabled(), slot < 3);
        QCOMPARE(notices.idOf(garden), 0u);
        // One rings again: the notice is back, for it alone.
        test::part<Timer>(*alarmIn(1), "SnoozeTimer")->onTimeout();
        QCOMPARE(notices.shown().last().body, QString("Due 04/29/24 - 12:00pm\nWater the garden"));
        QVERIFY(notices.choose(notices.idOf(pills), "turn-off"));
        QVERIFY(alarmIn(3)->closed());
        QVERIFY(!alarmIn(1)->closed());
    }

    void twoMemosDueTogetherKeepTheirOwnFonts() {
        forms->showMemo("one", face("Liberation Serif", kFontBold), another());
        forms->showMemo("two", face("Liberation Mono", kFontItalic), another());
        QCOMPARE(forms->memoWindows().count(), 2);
        auto* first = forms->memoWindows().at(0)->findChild<QLabel*>("Memo1");
        auto* second = forms->memoWindows().at(1)->findChild<QLabel*>("Memo1");
        QCOMPARE(first->text(), QString("one"));
        QCOMPARE(second->text(), QString("two"));
        QCOMPARE(first->font().family(), QString("Liberation Serif"));
        QVERIFY(first->font().bold() && !first->font().italic());
        QCOMPARE(second->font().family(), QString("Liberation Mono"));
        QVERIFY(second->font().italic() && !second->font().bold());
    }

    // One sound at a time: the alarm that began ringing last among those still ringing is heard.
    void theNewestRingingAlarmIsHeard() {
        const QString a("/usr/lib/velloran/Sounds/a.wav"), b("/usr/lib/velloran/Sounds/b.wav");
        forms->showAlarm("first", "a.wav", another());
        forms->showAlarm("second", "b.wav", another());
        QCOMPARE(sound.played, (QStringList{a, b}));
        AlarmClockForm* older = alarmIn(0);
        AlarmClockForm* newer = alarmIn(1);

        // The newer one snoozed: the older one, still ringing, is heard again.
        QTest::mouseClick(newer->findChild<QPushButton*>("SnoozeBT"), Qt::LeftButton);
        QCOMPARE(sound.played.last(), a);
        QVERIFY(sound.looping);
        QVERIFY(!test::part<Timer>(*older, "SnoozeTimer")->isEnabled());

        // The older one turned off too: silence.
        QTest::mouseClick(older->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        QVERIFY(!sound.looping);
        QCOMPARE(sound.played.size(), 3);

        // The snoozed one rings again: its sound.
        test::part<Timer>(*newer, "SnoozeTimer")->onTimeout();
        QCOMPARE(sound.played.last(), b);
        QVERIFY(sound.looping);
        QCOMPARE(forms->ringing().heard(), newer);
    }

    void silencingAnAlarmNotHeardChangesNothing() {
        forms->showAlarm("first", "a.wav", another());
        forms->showAlarm("second", "b.wav", another());
        const int stops = sound.stops;
        const qsizetype plays = sound.played.size();
        QTest::mouseClick(alarmIn(0)->findChild<QPushButton*>("SnoozeBT"), Qt::LeftButton);
        alarmIn(0)->close();
        QCOMPARE(sound.stops, stops);
        QCOMPARE(sound.played.size(), plays);
        QVERIFY(sound.looping);
        QCOMPARE(forms->ringing().heard(), alarmIn(1));
    }

    // Three alarms: the one heard after the newest goes is the one that rang last before it, whatever
    // happened to those in between; a window closed by the window manager counts as turned off.
    void ringingOrderFollowsTheLastRing() {
        forms->showAlarm("a", "a.wav", another());
        forms->showAlarm("b", "b.wav", another());
        forms->showAlarm("c", "c.wav", another());
        QTest::mouseClick(alarmIn(1)->findChild<QPushButton*>("SnoozeBT"), Qt::LeftButton);
        test::part<Timer>(*alarmIn(1), "SnoozeTimer")->onTimeout(); // b rings again, after c
        QCOMPARE(sound.played.last(), QString("/usr/lib/velloran/Sounds/b.wav"));
        alarmIn(1)->close();
        QCOMPARE(sound.played.last(), QString("/usr/lib/velloran/Sounds/c.wav"));
        alarmIn(2)->close();
        QCOMPARE(sound.played.last(), QString("/usr/lib/velloran/Sounds/a.wav"));
        forms->sweep(); // destroying closed windows disturbs nothing
        QVERIFY(sound.looping);
        QCOMPARE(forms->ringing().heard(), alarmIn(0));
    }

    void sweepFreesOnlyClosedWindows() {
        forms->showAlarm("a", "a.wav", another());
        forms->showAlarm("b", "b.wav", another());
        forms->showMemo("m", face("", 0), another());
        forms->showMemo("n", face("", 0), another());
        QPointer<NotificationForm> closedAlarm = forms->alarmWindows().at(0);
        QPointer<NotificationForm> openAlarm = forms->alarmWindows().at(1);
        QPointer<NotificationForm> closedMemo = forms->memoWindows().at(1);
        closedAlarm->close();
        closedMemo->close();
        forms->sweep();
        QVERIFY(closedAlarm.isNull());
        QVERIFY(closedMemo.isNull());
        QVERIFY(!openAlarm.isNull());
        QCOMPARE(forms->alarmWindows().count(), 1);
        QCOMPARE(forms->memoWindows().count(), 1);
        // The freed slot is the first taken again.
        forms->showAlarm("c", "c.wav", another());
        QVERIFY(forms->alarmWindows().at(0) != nullptr);
        QVERIFY(forms->alarmWindows().at(0) != openAlarm.data());
        QCOMPARE(forms->alarmWindows().count(), 2);
        QVERIFY(forms->alarmWindows().at(1) == openAlarm.data());
    }

    void fullTableWindowStillWorksButIsNeverFreed() {
        for (int i = 0; i < NotificationWindowTable::kSlots; ++i)
            forms->showAlarm("many", "m.wav", another());
        QCOMPARE(forms->alarmWindows().count(), 500);
        forms->showAlarm("one too many", "last.wav", another());
        QCOMPARE(forms->alarmWindows().count(), 500);
        AlarmClockForm* extra = nullptr;
        for (AlarmClockForm* window : windows<AlarmClockForm>())
            if (!forms->alarmWindows().contains(window))
                extra = window;
        QVERIFY(extra != nullptr);
        QVERIFY(extra->isVisible());
        QCOMPARE(sound.played.last(), QString("/usr/lib/velloran/Sounds/last.wav"));

        QTest::mouseClick(extra->findChild<QPushButton*>("SnoozeBT"), Qt::LeftButton);
        extra->close();
        QPointer<AlarmClockForm> watched = extra;
        forms->sweep();
        QVERIFY(!watched.isNull()); // the sweep never frees it
        // ... and, closed, it never rings again by itself.
        QVERIFY(!test::part<Timer>(*extra, "SnoozeTimer")->isEnabled());
        QCOMPARE(test::part<Timer>(*extra, "SnoozeTimer")->remainingTime(), -1);
        const qsizetype plays = sound.played.size();
        QTest::qWait(20);
        QCOMPARE(sound.played.size(), plays);
    }

    void fullMemoTableStillShows() {
        for (int i = 0; i <= NotificationWindowTable::kSlots; ++i)
            forms->showMemo("note", face("", 0), another());
        QCOMPARE(forms->memoWindows().count(), 500);
        QCOMPARE(windows<MemoForm>().size(), 501);
        QCOMPARE(sound.beeps, 501);
    }

    void destroyMemoWindowsLeavesTheAlarms() {
        forms->showAlarm("a", "a.wav", another());
        forms->showMemo("m", face("", 0), another());
        forms->showMemo("n", face("", 0), another());
        forms->memoWindows().at(0)->close();
        forms->destroyMemoWindows();
        QCOMPARE(forms->memoWindows().count(), 0);
        QCOMPARE(windows<MemoForm>().size(), 0);
        QCOMPARE(windows<AlarmClockForm>().size(), 1);
    }

    void sweepOfEmptyTablesDoesNothing() {
        forms->sweep();
        QCOMPARE(forms->alarmWindows().count(), 0);
        QCOMPARE(forms->memoWindows().count(), 0);
    }
};

QTEST_MAIN(NotificationFormsTest)
#include "notification_forms_test.moc"
