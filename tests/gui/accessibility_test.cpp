// What screen readers are told about the windows: each control's role, name and action, read through
// Qt's accessibility interfaces as the AT-SPI bridge reads them.
#include "editor/button_page_control.h"
#include "editor_test_support.h"
#include "main_form_support.h"
#include "notify/alarm_clock_form.h"
#include "notify/memo_form.h"
#include "notify/notification_window_table.h"
#include "platform/ringing_sounds.h"
#include "prefs/about_form.h"
#include "prefs/link_label.h"
#include "shell/task_list_view.h"
#include "stand_ins.h"
#include "window_checks.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

using namespace velloran;

namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject* object) {
    return accessible(object)->text(QAccessible::Name);
}

void press(QObject* object) {
    QAccessibleActionInterface* actions = accessible(object)->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::quietWindowMaskWarnings(); }

    void editorBoxesAreNamedByTheirLabels() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls pages = test::controls(*form);
        QCOMPARE(nameOf(pages.AlarmDescription), QString("Display note:"));
        QCOMPARE(nameOf(pages.MemoDescription), QString("Type memo to be displayed."));
        QCOMPARE(nameOf(pages.ExePath), QString("Type full path or browse for program to execute."));
        QCOMPARE(nameOf(pages.ExeArg), QString("Parameters:"));
        QCOMPARE(nameOf(pages.ExeDescription), QString("Description:"));
        QCOMPARE(nameOf(pages.GeneralPath), QString("Type full path or browse for file to open."));
        QCOMPARE(nameOf(pages.DatePicker), QString("Start date"));
        QCOMPARE(nameOf(pages.TimePicker), QString("Start time"));
        // Every text box of every page has a name.
        const auto boxes = form->findChildren<QLineEdit*>();
        const auto notes = form->findChildren<QPlainTextEdit*>();
        int named = 0;
        for (QWidget* box : boxes) {
            // The pickers' own inner boxes belong to the pickers, which are named.
            if (qobject_cast<QAbstractSpinBox*>(box->parentWidget()))
                continue;
            QVERIFY2(!nameOf(box).isEmpty(), qPrintable(box->objectName()));
            ++named;
        }
        for (QWidget* note : notes) {
            QVERIFY2(!nameOf(note).isEmpty(), qPrintable(note->objectName()));
            ++named;
        }
        QCOMPARE(named, 15);
    }

    void pageButtonsAreAPageTabListOfPageTabs() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        ButtonPageControl& pages = *test::controls(*form).PageControl;
        QAbstractButton* memo = pages.pageButton(1);
        QAccessibleInterface* tab = accessible(memo);
        QCOMPARE(tab->role(), QAccessible::PageTab);
        QCOMPARE(tab->text(QAccessible::Name), QString("Memo"));
        QAccessibleInterface* list = tab->parent();
        QCOMPARE(list->role(), QAccessible::PageTabList);
        QCOMPARE(list->text(QAccessible::Name), QString("Select type of task:"));
        QCOMPARE(list->childCount(), 8);
        QVERIFY(tab->state().selectable);
        QVERIFY(!tab->state().selected);
        // The action chooses the page, as a click does.
        press(memo);
        QTRY_COMPARE(pages.activePageIndex(), 1);
        QVERIFY(tab->state().selected);
        QVERIFY(!accessible(pages.pageButton(0))->state().selected);
    }

    void memoClosePictureIsAButtonForKeysAndScreenReaders() {
        test::RecordingSoundPlayer sound;
        test::RecordingNotifications notices;
        test::FixedClock clock;
        NotificationWindowTable table; // destroys its windows before what they use goes
        for (const bool byKey : {true, false}) {
            auto* memo = new MemoForm(table, sound, notices, clock);
            memo->showMemo("Call back", FontBlock{});
            QAccessibleInterface* window = accessible(memo);
            QCOMPARE(window->role(), QAccessible::Window);
            QCOMPARE(window->text(QAccessible::Name), QString("Memo"));
            auto* close = memo->findChild<QWidget*>("Image1");
            QCOMPARE(accessible(close)->role(), QAccessible::Button);
            QCOMPARE(nameOf(close), QString("Close"));
            QVERIFY(close->focusPolicy() & Qt::TabFocus);
            if (byKey)
                QTest::keyClick(close, Qt::Key_Space);
            else
                press(close);
            QTRY_VERIFY(memo->closed());
            QVERIFY(!memo->isVisible());
        }
    }

    // The alarm appears without the focus: as an alert, a screen reader announces it all the same.
    void alarmIsAnAlertWithANamedNote() {
        test::RecordingSoundPlayer sound;
        test::RecordingNotifications notices;
        test::FixedClock clock;
        const SettingsRecord settings = defaultSettings();
        RingingSounds ringing(sound);
        NotificationWindowTable table; // destroys its windows before what they use goes
        auto* alarm = new AlarmClockForm(table, ringing, notices, settings, clock, "/opt/velloran/");
        alarm->showAlarm("Wake up", "bell.wav");
        QCOMPARE(accessible(alarm)->role(), QAccessible::AlertMessage);
        QCOMPARE(accessible(alarm)->text(QAccessible::Name), QString("Alarm Clock"));
        QCOMPARE(nameOf(alarm->findChild<QPlainTextEdit*>("Note")), QString("Note:"));
    }

    void aboutLinksAreLinksThatOpen() {
        test::RecordingOpener opener;
        AboutForm about(nullptr, opener);
        auto* webPage = test::part<LinkLabel>(about, "Label5");
        auto* supportMail = test::part<LinkLabel>(about, "Label6");
        QAccessibleInterface* web = accessible(webPage);
        QCOMPARE(web->role(), QAccessible::Link);
        QCOMPARE(web->text(QAccessible::Name), webPage->text());
        QCOMPARE(accessible(supportMail)->role(), QAccessible::Link);
        press(supportMail);
        QTRY_COMPARE(opener.opened.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(opener.opened[0]), "mailto:" + supportMail->text());
        QCOMPARE(nameOf(test::part<QLabel>(about, "Image1")), QString("Velloran logo"));
    }

    void mainWindowPicturesAndListAreNamed() {
        test::MainFormBench bench;
        auto form = bench.makeForm();
        for (QToolButton* button : test::kindButtons(*form)) {
            QVERIFY(!button->toolTip().isEmpty());
            QCOMPARE(nameOf(button), button->toolTip());
        }
        QCOMPARE(nameOf(test::taskView(*form)), QString("Task list"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
