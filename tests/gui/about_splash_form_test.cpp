#include "look/artwork.h"
#include "look/fonts.h"
#include "look/picture_box.h"
#include "platform/timer.h"
#include "prefs/about_form.h"
#include "prefs/link_label.h"
#include "prefs/splash_form.h"
#include "prefs_test_support.h"
#include "window_checks.h"

#include <QAccessible>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace velloran;
using test::part;

namespace {

// One tick of the splash's timer, as the event loop would deliver it.
void tick(SplashForm& splash) {
    part<Timer>(splash, "Timer1")->onTimeout();
}

} // namespace

class AboutSplashFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    void aboutLayout() {
        test::RecordingOpener opener;
        AboutForm form(nullptr, opener);
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("About"));
        QCOMPARE(form.size(), QSize(362, 242));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        // No close box and no system menu: OK is the way out.
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(
            !(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint)));
        auto* image = part<QLabel>(form, "Image1");
        QCOMPARE(image->geometry(), QRect(8, 8, 49, 49));
        QVERIFY(!image->pixmap().isNull());
        QCOMPARE(image->accessibleName(), QStringLiteral("Velloran logo"));
        auto* name = part<QLabel>(form, "Label1");
        QCOMPARE(name->text(), QStringLiteral("Velloran (vesion 1.2)"));
        QVERIFY(name->font().bold());
        QCOMPARE(name->pos(), QPoint(88, 8));
        auto* notice = part<QLabel>(form, "Label2");
        QCOMPARE(notice->geometry(), QRect(88, 24, 193, 33));
        QCOMPARE(notice->text(), QStringLiteral("A personal task scheduler for alarms, memos and programs."));
        QVERIFY(notice->wordWrap());
        auto* webPage = part<LinkLabel>(form, "Label5");
        QCOMPARE(webPage->text(), QStringLiteral("https://velloran.org/"));
        QCOMPARE(webPage->pos(), QPoint(88, 56));
        auto* supportMail = part<LinkLabel>(form, "Label6");
        QCOMPARE(supportMail->text(), QStringLiteral("support@velloran.org"));
        QCOMPARE(supportMail->pos(), QPoint(88, 72));
        for (QLabel* link : {static_cast<QLabel*>(webPage), static_cast<QLabel*>(supportMail)}) {
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(link->font().underline());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            // A link answers only where it is written.
            QCOMPARE(link->size(), link->sizeHint());
        }
        auto* ok = part<QPushButton>(form, "OKBT");
        QCOMPARE(ok->text(), QStringLiteral("&OK"));
        QCOMPARE(ok->geometry(), QRect(312, 8, 43, 25));
        auto* frame = part<QGroupBox>(form, "GroupBox1");
        QCOMPARE(frame->geometry(), QRect(8, 168, 345, 65));
        QVERIFY(frame->title().isEmpty());
        auto* warning = part<QLabel>(form, "WarningLabel");
        QCOMPARE(warning->parentWidget(), frame);
        QCOMPARE(warning->text(),
                 QStringLiteral(
                     "Velloran is provided as is, without warranty of any kind. Tasks run only while the "
                     "computer is on and Velloran is running: do not rely on it alone for anything that "
                     "must not be missed."));
        QVERIFY(warning->wordWrap());
        QVERIFY(ok->isDefault());
    }

    // The links open through the desktop and leave the window up; only OK closes it.
    void linksOpenAndTheWindowStays() {
        test::RecordingOpener opener;
        AboutForm form(nullptr, opener);
        form.show();
        auto* webPage = part<LinkLabel>(form, "Label5");
        auto* supportMail = part<LinkLabel>(form, "Label6");
        QTest::mouseClick(webPage, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(supportMail, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(opener.opened,
                 (std::vector<std::string>{"https://velloran.org/", "mailto:support@velloran.org"}));
        QVERIFY(form.isVisible());
        // A right click, or a press dragged off the link, opens nothing.
        QTest::mouseClick(webPage, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mousePress(supportMail, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(supportMail, Qt::LeftButton, {}, QPoint(supportMail->width() + 20, 5));
        QCOMPARE(opener.opened.size(), std::size_t(2));
        part<QPushButton>(form, "OKBT")->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    void aboutClosesWithEnterOrEscape() {
        test::RecordingOpener opener;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            AboutForm form(nullptr, opener);
            form.show();
            QTest::keyClick(&form, key);
            QVERIFY(!form.isVisible());
        }
        QVERIFY(opener.opened.empty());
    }

    void aboutCentredOnItsOwner() {
        QWidget owner;
        owner.setGeometry(200, 100, 640, 480);
        owner.show();
        test::RecordingOpener opener;
        AboutForm form(&owner, opener);
        form.show();
        const QPoint offset = form.frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY(offset.manhattanLength() <= 4);
    }

    void splashAtCreation() {
        int ticks = 0;
        SplashForm splash(nullptr, ticks);
        QCOMPARE(splash.size(), QSize(416, 355));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.windowTitle(), QStringLiteral("SplashForm"));
        auto* picture = part<PictureBox>(splash, "Image1");
        QCOMPARE(picture->geometry(), QRect(0, 0, 416, 355));
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(picture->accessibleName(), QStringLiteral("Velloran is starting"));
        QCOMPARE(QAccessible::queryAccessibleInterface(picture)->role(), QAccessible::Graphic);
        auto* timer = part<Timer>(splash, "Timer1");
        QVERIFY(!timer->isEnabled());
        QCOMPARE(timer->interval(), 1000);
        splash.show();
        QVERIFY(timer->isEnabled());
        QVERIFY(timer->remainingTime() > 0);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY((splash.frameGeometry().center() - screen.center()).manhattanLength() <= 2);
    }

    void splashClosesOnTheFourthTick() {
        int ticks = 0;
        SplashForm splash(nullptr, ticks);
        splash.show();
        auto* timer = part<Timer>(splash, "Timer1");
        for (int count = 1; count <= 3; ++count) {
            tick(splash);
            QCOMPARE(ticks, count);
            QVERIFY(splash.isVisible());
            QVERIFY(timer->isEnabled());
        }
        tick(splash);
        QCOMPARE(ticks, 4);
        QVERIFY(!splash.isVisible());
        QVERIFY(!timer->isEnabled());
        // The counter belongs to the run: another splash closes on its first tick.
        SplashForm again(nullptr, ticks);
        again.show();
        tick(again);
        QVERIFY(!again.isVisible());
        QCOMPARE(ticks, 5);
    }

    // Start-up waits in the splash's modal loop and goes on once the ticks have closed it.
    void modalSplashReturnsAfterItsTicks() {
        int ticks = 0;
        SplashForm splash(nullptr, ticks);
        int ticksWhileOpen = 0;
        bool modal = false;
        QTimer::singleShot(0, &splash, [&] {
            modal = splash.isModal();
            for (int i = 0; i < 3; ++i)
                tick(splash);
            ticksWhileOpen = splash.isVisible() ? ticks : -1;
            tick(splash);
        });
        QCOMPARE(splash.exec(), 1);
        QVERIFY(modal);
        QCOMPARE(ticksWhileOpen, 3);
        QCOMPARE(ticks, 4);
        QVERIFY(!splash.isVisible());
    }

    // A close request from the system during start-up ends the splash's loop at once.
    void closedSplashEndsItsLoop() {
        int ticks = 0;
        SplashForm splash(nullptr, ticks);
        QTimer::singleShot(0, &splash, [&] { QVERIFY(splash.close()); });
        QCOMPARE(splash.exec(), 0);
        QCOMPARE(ticks, 0);
        QVERIFY(!splash.isVisible());
        QVERIFY(!part<Timer>(splash, "Timer1")->isEnabled());
    }

    void splashCountsWithTheProgramCounter() {
        const int before = SplashForm::programTickCounter();
        SplashForm splash;
        splash.show();
        tick(splash);
        QCOMPARE(SplashForm::programTickCounter(), before + 1);
    }

    void splashIgnoresEscape() {
        int ticks = 0;
        SplashForm splash(nullptr, ticks);
        splash.show();
        QTest::keyClick(&splash, Qt::Key_Escape);
        QVERIFY(splash.isVisible());
    }
};

QTEST_MAIN(AboutSplashFormTest)
#include "about_splash_form_test.moc"
