#include "look/artwork.h"
#include "look/fonts.h"
#include "look/picture_box.h"
#include "prefs/about_form.h"
#include "prefs/link_label.h"
#include "prefs/splash_form.h"
#include "prefs_test_support.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace velloran;

class AboutSplashFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    void aboutLayout() {
        test::RecordingOpener opener;
        TAboutForm form(nullptr, opener);
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("About"));
        QCOMPARE(form.size(), QSize(362, 242));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        // No close box and no system menu: OK is the way out.
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(
            !(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(form.Image1->geometry(), QRect(8, 8, 49, 49));
        QVERIFY(!form.Image1->pixmap().isNull());
        QCOMPARE(form.Label1->text(), QStringLiteral("Velloran (vesion 1.2)"));
        QVERIFY(form.Label1->font().bold());
        QCOMPARE(form.Label1->pos(), QPoint(88, 8));
        QCOMPARE(form.Label2->geometry(), QRect(88, 24, 193, 33));
        QVERIFY(!form.Label2->text().isEmpty());
        QCOMPARE(form.Label5->text(), QStringLiteral("https://velloran.org/"));
        QCOMPARE(form.Label5->pos(), QPoint(88, 56));
        QCOMPARE(form.Label6->text(), QStringLiteral("support@velloran.org"));
        QCOMPARE(form.Label6->pos(), QPoint(88, 72));
        for (QLabel* link : {static_cast<QLabel*>(form.Label5), static_cast<QLabel*>(form.Label6)}) {
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(link->font().underline());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(form.OKBT->text(), QStringLiteral("&OK"));
        QCOMPARE(form.OKBT->geometry(), QRect(312, 8, 43, 25));
        QCOMPARE(form.GroupBox1->geometry(), QRect(8, 168, 345, 65));
        QVERIFY(form.GroupBox1->title().isEmpty());
        QCOMPARE(form.WarningLabel->parentWidget(), form.GroupBox1);
    }

    // The links open through the desktop and leave the window up; only OK closes it.
    void linksOpenAndTheWindowStays() {
        test::RecordingOpener opener;
        TAboutForm form(nullptr, opener);
        form.show();
        QTest::mouseClick(form.Label5, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(form.Label6, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(opener.opened,
                 (std::vector<std::string>{"https://velloran.org/", "mailto:support@velloran.org"}));
        QVERIFY(form.isVisible());
        // A right click, or a press dragged off the link, opens nothing.
        QTest::mouseClick(form.Label5, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mousePress(form.Label6, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(form.Label6, Qt::LeftButton, {}, QPoint(form.Label6->width() + 20, 5));
        QCOMPARE(opener.opened.size(), std::size_t(2));
        form.OKBT->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    void aboutClosesWithEnterOrEscape() {
        test::RecordingOpener opener;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            TAboutForm form(nullptr, opener);
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
        TAboutForm form(&owner, opener);
        form.show();
        const QPoint offset = form.frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY(offset.manhattanLength() <= 4);
    }

    void splashAtCreation() {
        int ticks = 0;
        TSplashForm splash(nullptr, ticks);
        QCOMPARE(splash.size(), QSize(416, 355));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.windowTitle(), QStringLiteral("SplashForm"));
        QCOMPARE(splash.Image1->geometry(), QRect(0, 0, 416, 355));
        QVERIFY(!splash.Image1->pixmap().isNull());
        QVERIFY(!splash.Timer1->isEnabled());
        QCOMPARE(splash.Timer1->interval(), 1000);
        splash.show();
        QVERIFY(splash.Timer1->isEnabled());
        QVERIFY(splash.Timer1->remainingTime() > 0);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY((splash.frameGeometry().center() - screen.center()).manhattanLength() <= 2);
    }

    void splashClosesOnTheFourthTick() {
        int ticks = 0;
        TSplashForm splash(nullptr, ticks);
        splash.show();
        for (int tick = 1; tick <= 3; ++tick) {
            splash.Timer1Timer();
            QCOMPARE(ticks, tick);
            QVERIFY(splash.isVisible());
            QVERIFY(splash.Timer1->isEnabled());
        }
        splash.Timer1Timer();
        QCOMPARE(ticks, 4);
        QVERIFY(!splash.isVisible());
        QVERIFY(!splash.Timer1->isEnabled());
        // The counter belongs to the run: another splash closes on its first tick.
        TSplashForm again(nullptr, ticks);
        again.show();
        again.Timer1Timer();
        QVERIFY(!again.isVisible());
        QCOMPARE(ticks, 5);
    }

    // Start-up waits in the splash's modal loop and goes on once the ticks have closed it.
    void modalSplashReturnsAfterItsTicks() {
        int ticks = 0;
        TSplashForm splash(nullptr, ticks);
        int ticksWhileOpen = 0;
        bool modal = false;
        QTimer::singleShot(0, &splash, [&] {
            modal = splash.isModal();
            for (int i = 0; i < 3; ++i)
                splash.Timer1Timer();
            ticksWhileOpen = splash.isVisible() ? ticks : -1;
            splash.Timer1Timer();
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
        TSplashForm splash(nullptr, ticks);
        QTimer::singleShot(0, &splash, [&] { QVERIFY(splash.close()); });
        QCOMPARE(splash.exec(), 0);
        QCOMPARE(ticks, 0);
        QVERIFY(!splash.isVisible());
        QVERIFY(!splash.Timer1->isEnabled());
    }

    void splashCountsWithTheProgramCounter() {
        const int before = TSplashForm::programTickCounter();
        TSplashForm splash;
        splash.show();
        splash.Timer1Timer();
        QCOMPARE(TSplashForm::programTickCounter(), before + 1);
    }

    void splashIgnoresEscape() {
        int ticks = 0;
        TSplashForm splash(nullptr, ticks);
        splash.show();
        QTest::keyClick(&splash, Qt::Key_Escape);
        QVERIFY(splash.isVisible());
    }
};

QTEST_MAIN(AboutSplashFormTest)
#include "about_splash_form_test.moc"
