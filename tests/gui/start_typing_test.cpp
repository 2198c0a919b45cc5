// The editor's start date and time, typed with the keyboard into the real pickers and saved through Save:
// what is stored is what was typed, or the user is told.
#include "editor_test_support.h"
#include "look/fonts.h"
#include "platform/message_box.h"
#include "window_checks.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace velloran;
using test::at;

class StartTypingTest : public QObject {
    Q_OBJECT
private:
    test::MessageBoxRecorder recorder;
    QList<MessageBoxRequest>& boxes = recorder.shown;
    std::unique_ptr<test::EditorBench> bench;
    std::unique_ptr<SetTaskForm> form;

    // A new Alarm Clock task opened on Monday 7 December 2026 at 19:14:00.
    void openEditor() {
        bench = std::make_unique<test::EditorBench>();
        bench->clock.value = at(2026, 12, 7, 19, 14, 0);
        form = bench->makeForm();
        form->prepareNewTask(kAlarmClock);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    test::EditorControls ui() const { return test::controls(*form); }

    static QLineEdit* lineOf(QWidget* picker) { return picker->findChild<QLineEdit*>(); }

    // Clicks into the picker, selects all and types, as a user does.
    static void typeOver(QWidget* picker, const QString& text) {
        QTest::mouseClick(lineOf(picker), Qt::LeftButton, {}, QPoint(4, lineOf(picker)->height() / 2));
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(picker, text);
    }

    // Presses Save; the stored NextRun of the one task, or nothing when none was saved.
    std::optional<DateTime> save() {
        QTest::mouseClick(ui().SaveBT, Qt::LeftButton);
        if (bench->tasks.empty())
            return std::nullopt;
        return bench->tasks[0].NextRun;
    }

    static bool shownInError(QWidget* picker) {
        const QColor text = lineOf(picker)->palette().color(QPalette::Text);
        return text.red() > 150 && text.green() < 60 && text.blue() < 60;
    }

private slots:
    void initTestCase() {
        installFontSubstitutes();
        // The formats the texts below are typed in; a case that needs another locale sets its own.
        QLocale::setDefault(QLocale::c());
    }

    void init() {
        boxes.clear();
        recorder.install();
    }

    void cleanup() {
        form.reset();
        bench.reset();
        QLocale::setDefault(QLocale::c());
    }

    void typedTimeReplacesTheWholeTime_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QTime>("stored");
        QTest::newRow("morning over evening") << "07:30:00" << QTime(7, 30);
        QTest::newRow("late evening") << "23:45:00" << QTime(23, 45);
        QTest::newRow("midnight") << "00:00:00" << QTime(0, 0);
        QTest::newRow("without seconds") << "6:05" << QTime(6, 5);
    }
    void typedTimeReplacesTheWholeTime() {
        QFETCH(QString, typed);
        QFETCH(QTime, stored);
        openEditor();
        typeOver(ui().DatePicker, QStringLiteral("8 Dec 2026"));
        typeOver(ui().TimePicker, typed);
        QVERIFY(!shownInError(ui().TimePicker));
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 8, stored.hour(), stored.minute(), 0)));
        QCOMPARE(boxes.size(), 0);
        QCOMPARE(ui().TimePicker->text(), stored.toString(QStringLiteral("HH:mm:ss")));
    }

    void twelveHourFormatTakesAmAndPm_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("hour");
        QTest::newRow("AM") << "7:30 AM" << 7;
        QTest::newRow("PM") << "7:30 PM" << 19;
        QTest::newRow("noon") << "12:30 pm" << 12;
        QTest::newRow("midnight") << "12:30 AM" << 0;
    }
    void twelveHourFormatTakesAmAndPm() {
        QFETCH(QString, typed);
        QFETCH(int, hour);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        openEditor();
        QVERIFY(ui().TimePicker->displayFormat().contains(QLatin1String("AP"), Qt::CaseInsensitive));
        typeOver(ui().DatePicker, QStringLiteral("12/8/2026"));
        typeOver(ui().TimePicker, typed);
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 8, hour, 30, 0)));
        QCOMPARE(boxes.size(), 0);
    }

    void twelveHourFormatRefusesAnHourWithoutItsHalfOfTheDay() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        openEditor();
        typeOver(ui().DatePicker, QStringLiteral("12/8/2026"));
        typeOver(ui().TimePicker, QStringLiteral("7:30"));
        QVERIFY(shownInError(ui().TimePicker));
        QCOMPARE(save(), std::nullopt);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("\"7:30\" is not a valid time.\nThe start time is still %1.")
                                    .arg(QTime(19, 14).toString(ui().TimePicker->displayFormat())));
    }

    // A real keyboard sends Shift on its own before the ':' it makes: the typing goes on.
    void shiftPressedAloneIsPartOfTyping() {
        openEditor();
        typeOver(ui().DatePicker, QStringLiteral("8 Dec 2026"));
        typeOver(ui().TimePicker, QStringLiteral("07"));
        QTest::keyPress(ui().TimePicker, Qt::Key_Shift);
        QTest::keyClick(ui().TimePicker, Qt::Key_Colon, Qt::ShiftModifier);
        QTest::keyRelease(ui().TimePicker, Qt::Key_Shift);
        QTest::keyClicks(ui().TimePicker, QStringLiteral("30"));
        QCOMPARE(lineOf(ui().TimePicker)->text(), QStringLiteral("07:30"));
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 8, 7, 30, 0)));
    }

    void typingOverOnePartKeepsTheOthers() {
        openEditor();
        // The cursor at the start of "7 Dec 2026": the day is typed over, not grown to 117 or 17.
        QTest::mouseClick(lineOf(ui().DatePicker), Qt::LeftButton, {}, QPoint(2, 10));
        QTest::keyClick(ui().DatePicker, Qt::Key_Home);
        QTest::keyClicks(ui().DatePicker, QStringLiteral("11"));
        QCOMPARE(lineOf(ui().DatePicker)->text(), QStringLiteral("11 Dec 2026"));
        // The hour only.
        QTest::mouseClick(lineOf(ui().TimePicker), Qt::LeftButton, {}, QPoint(2, 10));
        QTest::keyClick(ui().TimePicker, Qt::Key_Home);
        QTest::keyClicks(ui().TimePicker, QStringLiteral("07"));
        QCOMPARE(lineOf(ui().TimePicker)->text(), QStringLiteral("07:14:00"));
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 11, 7, 14, 0)));
    }

    // Backspace takes one character, as in any text box.
    void backspaceTakesOneCharacter() {
        openEditor();
        typeOver(ui().DatePicker, QStringLiteral("8 Dec 2026"));
        QTest::mouseClick(lineOf(ui().TimePicker), Qt::LeftButton, {}, QPoint(2, 10));
        QTest::keyClick(ui().TimePicker, Qt::Key_End);
        QTest::keyClick(ui().TimePicker, Qt::Key_Backspace);
        QCOMPARE(lineOf(ui().TimePicker)->text(), QStringLiteral("19:14:0"));
        QVERIFY(shownInError(ui().TimePicker));
        QTest::keyClicks(ui().TimePicker, QStringLiteral("5"));
        QVERIFY(!shownInError(ui().TimePicker));
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 8, 19, 14, 5)));
    }

    void pastedTextIsTakenWhole() {
        openEditor();
        QGuiApplication::clipboard()->setText(QStringLiteral("2026-12-24"));
        QTest::mouseClick(lineOf(ui().DatePicker), Qt::LeftButton, {}, QPoint(2, 10));
        QTest::keyClick(ui().DatePicker, Qt::Key_V, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(QStringLiteral("07:30:00"));
        QTest::mouseClick(lineOf(ui().TimePicker), Qt::LeftButton, {}, QPoint(2, 10));
        QTest::keyClick(ui().TimePicker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ui().TimePicker, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 24, 7, 30, 0)));
        QCOMPARE(ui().DatePicker->text(), QStringLiteral("24 Dec 2026"));
    }

    void impossibleTimeLeavesTheOldValueAndSaysSo() {
        openEditor();
        typeOver(ui().DatePicker, QStringLiteral("8 Dec 2026"));
        typeOver(ui().TimePicker, QStringLiteral("25:61:00"));
        QCOMPARE(lineOf(ui().TimePicker)->text(), QStringLiteral("25:61:00"));
        QVERIFY(shownInError(ui().TimePicker));
        QVERIFY(test::picture(*form, QStringLiteral("task-setup-time-in-error.png")));

        QCOMPARE(save(), std::nullopt);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Warning"));
        QCOMPARE(boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("\"25:61:00\" is not a valid time.\nThe start time is still 19:14:00."));
        QCOMPARE(ui().TimePicker->text(), QStringLiteral("19:14:00"));
        QVERIFY(!shownInError(ui().TimePicker));
        QVERIFY(ui().TimePicker->hasFocus());
        QVERIFY(form->isVisible());

        // Told once: the old value, now seen, is what the next Save stores.
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 8, 19, 14, 0)));
        QCOMPARE(boxes.size(), 1);
    }

    void leavingTheFieldBringsTheOldValueBack() {
        openEditor();
        typeOver(ui().TimePicker, QStringLiteral("19:6"));
        QVERIFY(shownInError(ui().TimePicker));
        QTest::keyClick(form.get(), Qt::Key_Tab); // out of the field, or to its next part
        ui().RepeatTypeCB->setFocus();
        QCOMPARE(ui().TimePicker->text(), QStringLiteral("19:14:00"));
        QCOMPARE(ui().TimePicker->time(), QTime(19, 14));
        QVERIFY(!shownInError(ui().TimePicker));
    }

    void impossibleDatesAreRefusedAndLeapDaysTaken() {
        openEditor();
        typeOver(ui().TimePicker, QStringLiteral("08:00:00"));
        typeOver(ui().DatePicker, QStringLiteral("29 Feb 2027"));
        QVERIFY(shownInError(ui().DatePicker));
        QCOMPARE(save(), std::nullopt);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("\"29 Feb 2027\" is not a valid date.\nThe start date is still 7 Dec 2026."));
        QCOMPARE(ui().DatePicker->text(), QStringLiteral("7 Dec 2026"));

        typeOver(ui().DatePicker, QStringLiteral("29 Feb 2028"));
        QVERIFY(!shownInError(ui().DatePicker));
        QCOMPARE(save(), std::optional<DateTime>(at(2028, 2, 29, 8, 0, 0)));
        QCOMPARE(boxes.size(), 1);
    }

    // The list shows two-digit years; typed in the German field they are read as the list means them.
    void germanTwoDigitYearsAsTheListShowsThem() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        openEditor();
        typeOver(ui().TimePicker, QStringLiteral("08:00:00"));
        typeOver(ui().DatePicker, QStringLiteral("31.02.27"));
        QVERIFY(shownInError(ui().DatePicker));
        QCOMPARE(save(), std::nullopt);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("\"31.02.27\" is not a valid date.\nThe start date is still 07.12.2026."));
        typeOver(ui().DatePicker, QStringLiteral("24.12.27"));
        QVERIFY(!shownInError(ui().DatePicker));
        QCOMPARE(save(), std::optional<DateTime>(at(2027, 12, 24, 8, 0, 0)));
        QCOMPARE(boxes.size(), 1);
    }

    void escapeGivesUpTheTypingAndEnterTakesIt() {
        openEditor();
        typeOver(ui().TimePicker, QStringLiteral("07:30"));
        QTest::keyClick(ui().TimePicker, Qt::Key_Escape);
        QCOMPARE(ui().TimePicker->text(), QStringLiteral("19:14:00"));
        QVERIFY(form->isVisible());
        typeOver(ui().TimePicker, QStringLiteral("07:30"));
        QTest::keyClick(ui().TimePicker, Qt::Key_Return);
        QCOMPARE(ui().TimePicker->time(), QTime(7, 30));
        QCOMPARE(ui().TimePicker->text(), QStringLiteral("07:30:00"));
        QVERIFY(form->isVisible());
        QCOMPARE(boxes.size(), 0);
    }

    void arrowsWheelAndCalendarStillWork() {
        openEditor();
        // The up arrow steps the part it is in, from the typed value.
        typeOver(ui().TimePicker, QStringLiteral("07:30:00"));
        QTest::keyClick(ui().TimePicker, Qt::Key_Home);
        QTest::keyClick(ui().TimePicker, Qt::Key_Up);
        QCOMPARE(ui().TimePicker->time(), QTime(8, 30));
        QTest::keyClick(ui().TimePicker, Qt::Key_Down);
        QCOMPARE(ui().TimePicker->time(), QTime(7, 30));

        // The wheel over the date steps its day.
        QTest::mouseClick(lineOf(ui().DatePicker), Qt::LeftButton, {}, QPoint(2, 10));
        const QPoint inside(10, ui().DatePicker->height() / 2);
        QWheelEvent wheel(inside, ui().DatePicker->mapToGlobal(inside), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ui().DatePicker, &wheel);
        QCOMPARE(ui().DatePicker->date(), QDate(2026, 12, 8));

        // The calendar sets the date over what was being typed.
        typeOver(ui().DatePicker, QStringLiteral("1 Jan"));
        ui().DatePicker->calendarWidget()->setSelectedDate(QDate(2026, 12, 20));
        emit ui().DatePicker->calendarWidget()->clicked(QDate(2026, 12, 20));
        QCOMPARE(ui().DatePicker->date(), QDate(2026, 12, 20));
        QCOMPARE(ui().DatePicker->text(), QStringLiteral("20 Dec 2026"));
        QVERIFY(!shownInError(ui().DatePicker));
        QCOMPARE(save(), std::optional<DateTime>(at(2026, 12, 20, 7, 30, 0)));
        QCOMPARE(boxes.size(), 0);
    }
};

QTEST_MAIN(StartTypingTest)
#include "start_typing_test.moc"
