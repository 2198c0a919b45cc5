// The memo note window: what it shows, its font taken field by field from the font block, the alert,
// closing, dragging, and the date-time text.
#include "stand_ins.h"
#include "window_checks.h"

#include "common/text.h"
#include "look/fonts.h"
#include "notify/memo_form.h"
#include "notify/notification_window_table.h"
#include "notify/notify_texts.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <memory>

using namespace velloran;
using velloran::test::at;
using velloran::test::FixedClock;
using velloran::test::RecordingSoundPlayer;

namespace {

FontBlock block(const char* face, int size, std::uint32_t style, std::int32_t color = 0) {
    FontBlock font{};
    font.FontCharset = 1;
    font.FontColor = color;
    setFieldText(font.FontName, face);
    font.FontSize = size;
    font.FontStyle = style;
    return font;
}

} // namespace

class MemoFormTest : public QObject {
    Q_OBJECT

    FixedClock clock;
    RecordingSoundPlayer sound;
    test::RecordingNotifications notices;
    std::unique_ptr<NotificationWindowTable> table;
    MemoForm* form = nullptr; // owned by the table once shown

    MemoForm* show(const std::string& text, const FontBlock& font = block("Liberation Serif", 12, 0)) {
        form = new MemoForm(*table, sound, notices, clock);
        form->showMemo(text, font);
        return form;
    }
    QLabel* label(const char* name) { return form->findChild<QLabel*>(name); }
    QFont memoFont() { return label("Memo1")->font(); }

private slots:
    void initTestCase() {
        velloran::test::quietWindowMaskWarnings();
        installFontSubstitutes();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void init() {
        sound = RecordingSoundPlayer();
        notices = test::RecordingNotifications();
        clock.value = at(2024, 7, 4, 14, 5, 9);
        table = std::make_unique<NotificationWindowTable>();
    }
    void cleanup() {
        table.reset();
        form = nullptr;
    }

    // The desktop's notice carries the memo's first line that holds anything, and goes with the window.
    void noticeShowsTheFirstLineUntilClosed() {
        show(" \r\n\t\r\n  Dentist at 4 pm. \r\nBring the insurance card.");
        QCOMPARE(notices.posted.size(), 1);
        const DesktopNotice& notice = notices.posted.first();
        QCOMPARE(notice.summary, QString("Memo"));
        QCOMPARE(notice.body, QString("Dentist at 4 pm."));
        QVERIFY(!notice.critical);
        QCOMPARE(notice.actions.size(), 1);
        QCOMPARE(notice.actions.first().first, QString("default"));
        QCOMPARE(notices.shown().size(), 1);
        label("Image1")->setFocus();
        QTest::keyClick(label("Image1"), Qt::Key_Space);
        QVERIFY(form->closed());
        QVERIFY(notices.shown().isEmpty());
    }

    void emptyMemoPostsAnEmptyBody() {
        show("");
        QCOMPARE(notices.posted.size(), 1);
        QCOMPARE(notices.posted.first().body, QString());
    }

    void clickOnTheNoticeBringsTheNoteForward() {
        show("Call mum");
        form->hide(); // behind or away, as the user left it
        QVERIFY(notices.choose(notices.newest(), "default", "token-from-the-service"));
        QVERIFY(form->isVisible());
        QVERIFY(!form->closed());
        QVERIFY(QTest::qWaitForWindowActive(form));
        // Handed to the window only: a program started later must not inherit it.
        QVERIFY(qEnvironmentVariableIsEmpty("XDG_ACTIVATION_TOKEN"));
    }

    // The note came up without the focus; a click on it takes the focus, and on the close picture closes.
    // Where the desktop gives it the keyboard all the same, a Space typed on meant for another window
    // does not close it.
    void clickOnTheNoteTakesTheFocus() {
        show("Call mum");
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        test::clickThroughItsWindow(*label("Memo1"));
        QTRY_VERIFY(form->isActiveWindow());
        QVERIFY(!form->closed());

        show("Call dad");
        QVERIFY(QTest::qWaitForWindowActive(form));
        label("Image1")->setFocus();
        QTest::keyClick(form->windowHandle(), Qt::Key_Space);
        QVERIFY(!form->closed());
        test::clickThroughItsWindow(*label("Image1"));
        QVERIFY(form->closed());
    }

    void destroyedNoteTakesItsNoticeAlong() {
        show("one");
        show("two");
        QCOMPARE(notices.shown().size(), 2);
        table->destroyAll();
        QVERIFY(notices.shown().isEmpty());
        QCOMPARE(notices.withdrawn.size(), 2);
    }

    void captionsFit() {
        show("Dentist at 4 pm.\r\nBring the insurance card.", block("Liberation Serif", 14, kFontBold));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QStringList clipped = test::clippedCaptions(*form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        QVERIFY(test::picture(*form, QStringLiteral("memo-offscreen.png")));
    }

    void showMemoRegistersFillsShowsAndAlertsOnce() {
        show("Call the dentist");
        QCOMPARE(table->count(), 1);
        QVERIFY(table->contains(form));
        QCOMPARE(form->windowTitle(), QString("Memo"));
        QCOMPARE(form->size(), QSize(393, 521));
        QVERIFY(form->isVisible());
        QVERIFY(!form->closed());
        QCOMPARE(label("Memo1")->text(), QString("Call the dentist"));
        QCOMPARE(label("Label1")->text(), memoShownText(clock.value, QLocale()));
        QVERIFY(label("Label1")->font().bold());
        QCOMPARE(sound.beeps, 1);
        QCOMPARE(sound.purposes, QStringList{"Memo"});
        QVERIFY(sound.played.isEmpty());
        QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // Where each control stands, as designed; the moment shown takes the size of its text.
    void controlsStandWhereTheyWereDesigned() {
        show("placed");
        QCOMPARE(label("paperimage")->geometry(), QRect(0, 0, 393, 513));
        QCOMPARE(label("Image1")->geometry(), QRect(360, 24, 22, 22));
        QCOMPARE(label("Memo1")->geometry(), QRect(16, 80, 369, 409));
        QCOMPARE(label("Label1")->pos(), QPoint(56, 496));
        QCOMPARE(label("Label1")->size(), label("Label1")->sizeHint());
    }

    void textKeepsItsLinesAndShowsMarkupAsText() {
        show("one\r\ntwo <i>three</i>");
        QCOMPARE(label("Memo1")->text(), QString("one\ntwo <i>three</i>"));
        QCOMPARE(label("Memo1")->textFormat(), Qt::PlainText);
    }

    void longTextWrapsAndIsCutWithoutGrowing() {
        std::string words;
        while (words.size() < 1000)
            words += "lorem ipsum dolor ";
        show(words.substr(0, 1023), block("", 14, 0));
        QVERIFY(label("Memo1")->wordWrap());
        QCOMPARE(label("Memo1")->geometry(), QRect(16, 80, 369, 409));
        QCOMPARE(form->size(), QSize(393, 521));
    }

    void fontStyleBits_data() {
        QTest::addColumn<uint>("style");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strikeOut");
        QTest::newRow("0x5 bold underlined") << 0x5u << true << false << true << false;
        QTest::newRow("0x30 regular") << 0x30u << false << false << false << false;
        QTest::newRow("0x0 regular") << 0x0u << false << false << false << false;
        QTest::newRow("0xA italic struck") << 0xAu << false << true << false << true;
        QTest::newRow("0xFFFFFFFF all four") << 0xFFFFFFFFu << true << true << true << true;
    }
    void fontStyleBits() {
        QFETCH(uint, style);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(bool, strikeOut);
        show("styled", block("Liberation Sans", 10, style));
        QCOMPARE(memoFont().bold(), bold);
        QCOMPARE(memoFont().italic(), italic);
        QCOMPARE(memoFont().underline(), underline);
        QCOMPARE(memoFont().strikeOut(), strikeOut);
    }

    void colourFaceAndSize() {
        show("red", block("Liberation Serif", 16, 0, 0x000000FF));
        QCOMPARE(form->memoColor(), QColor(255, 0, 0));
        QCOMPARE(memoFont().family(), QString("Liberation Serif"));
        QCOMPARE(memoFont().pointSize(), 16);
        show("blue", block("Liberation Serif", 16, 0, 0x00FF0000));
        QCOMPARE(form->memoColor(), QColor(0, 0, 255));
    }

    void systemColourTakesTheDesktopsTextColour() {
        show("system", block("", 10, 0, static_cast<std::int32_t>(0x80000008u)));
        QCOMPARE(form->memoColor(), QApplication::palette().color(QPalette::WindowText));
    }

    void emptyFaceKeepsTheWindowsFace() {
        show("plain", block("", 12, 0));
        QCOMPARE(memoFont().family(), designFont().family());
        QCOMPARE(memoFont().pointSize(), 12);
    }

    void onlyTheFirst31CharactersOfAFaceCount() {
        const std::string longFace = "Liberation Serif Extra Long Face Name Beyond";
        show("long", block(longFace.c_str(), 12, 0));
        QCOMPARE(memoFont().family(), QString::fromStdString(longFace.substr(0, 31)));
    }

    void twoMemosKeepTheirOwnText() {
        show("first", block("Liberation Serif", 20, kFontBold, 0x0000FF00));
        MemoForm* first = form;
        show("second", block("Liberation Mono", 9, kFontItalic));
        QCOMPARE(table->count(), 2);
        QCOMPARE(first->findChild<QLabel*>("Memo1")->text(), QString("first"));
        QCOMPARE(first->findChild<QLabel*>("Memo1")->font().family(), QString("Liberation Serif"));
        QVERIFY(first->findChild<QLabel*>("Memo1")->font().bold());
        QCOMPARE(first->memoColor(), QColor(0, 255, 0));
        QCOMPARE(memoFont().family(), QString("Liberation Mono"));
        QVERIFY(memoFont().italic());
        QVERIFY(!memoFont().bold());
        QCOMPARE(sound.beeps, 2);
    }

    void closePictureClosesAndMarks() {
        show("bye");
        QTest::mouseClick(label("Image1"), Qt::LeftButton, {}, QPoint(11, 11));
        QVERIFY(form->closed());
        QVERIFY(!form->isVisible());
        QCOMPARE(table->count(), 1);
        QCOMPARE(table->sweep(), 1);
        QCOMPARE(table->count(), 0);
    }

    void anyCloseMarksTheWindow() {
        show("bye");
        form->close();
        QVERIFY(form->closed());
        QCOMPARE(sound.beeps, 1);
    }

    void dragsByPaperAndText() {
        show("drag me");
        form->move(200, 150);
        const QPoint start = form->pos();
        for (const char* name : {"paperimage", "Memo1"}) {
            QTest::mousePress(label(name), Qt::RightButton, {}, QPoint(30, 30));
            QTest::mouseMove(label(name), QPoint(40, 50));
            QTest::mouseRelease(label(name), Qt::RightButton, {}, QPoint(40, 50));
        }
        QCOMPARE(form->pos(), start + QPoint(20, 40));
    }

    void clickingTheDateDoesNothing() {
        show("still");
        form->move(200, 150);
        QTest::mousePress(label("Label1"), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseMove(label("Label1"), QPoint(30, 30));
        QTest::mouseRelease(label("Label1"), Qt::LeftButton, {}, QPoint(30, 30));
        QCOMPARE(form->pos(), QPoint(200, 150));
        QVERIFY(!form->closed());
    }

    void shapeFollowsThePaper() {
        show("shape");
        const QRegion shape = form->mask();
        QVERIFY(shape.contains(QPoint(196, 260)));
        QVERIFY(shape.contains(label("Image1")->geometry().center()));
        QVERIFY(!shape.contains(QPoint(392, 520)));
    }

    void shownText_data() {
        QTest::addColumn<double>("moment");
        QTest::addColumn<QString>("text");
        QTest::newRow("afternoon") << at(2024, 7, 4, 14, 5, 9) << "7/4/24 2:05:09 PM";
        QTest::newRow("midnight") << at(2024, 12, 31, 0, 0, 0) << "12/31/24";
        QTest::newRow("a second past midnight") << at(2024, 12, 31, 0, 0, 1) << "12/31/24 12:00:01 AM";
        QTest::newRow("a moment past midnight") << at(2024, 12, 31, 0, 0, 0, 5) << "12/31/24 12:00:00 AM";
    }
    void shownText() {
        QFETCH(double, moment);
        QFETCH(QString, text);
        QCOMPARE(memoShownText(moment, QLocale(QLocale::English, QLocale::UnitedStates)), text);
    }

    void shownTextFollowsTheLocale() {
        const DateTime moment = at(2024, 7, 4, 14, 5, 9);
        QCOMPARE(memoShownText(moment, QLocale(QLocale::German, QLocale::Germany)),
                 QString("04.07.24 14:05:09"));
    }
};

QTEST_MAIN(MemoFormTest)
#include "memo_form_test.moc"
