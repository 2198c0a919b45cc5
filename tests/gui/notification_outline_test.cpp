// The outline of the alarm clock and memo windows in both ways of shaping them: translucent, drawn by
// the pictures' alpha, and masked over the pictures' rim colour. In both, what shows off the controls
// is the picture alone, blended with nothing but clear or the rim colour, and the mask keeps all of it.
#include "stand_ins.h"
#include "window_checks.h"

#include "look/artwork.h"
#include "look/fonts.h"
#include "look/shaped_windows.h"
#include "notify/alarm_clock_form.h"
#include "notify/memo_form.h"
#include "notify/notification_window_table.h"
#include "platform/ringing_sounds.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace velloran;
using velloran::test::at;
using velloran::test::FixedClock;
using velloran::test::RecordingSoundPlayer;

namespace {

enum class Window { Alarm, SnoozingAlarm, Memo };

// The pixels of a region, as opaque white on clear.
QImage regionImage(const QRegion& region, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (const QRect& rect : region)
        painter.fillRect(rect, Qt::white);
    return image;
}

bool near(QRgb a, QRgb b) {
    constexpr int kTolerance = 2;
    return std::abs(qRed(a) - qRed(b)) <= kTolerance && std::abs(qGreen(a) - qGreen(b)) <= kTolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= kTolerance && std::abs(qAlpha(a) - qAlpha(b)) <= kTolerance;
}

QString describe(QPoint point, QRgb pixel) {
    return QStringLiteral("(%1, %2) is #%3")
        .arg(point.x())
        .arg(point.y())
        .arg(QString::number(pixel, 16).rightJustified(8, QLatin1Char('0')));
}

} // namespace

Q_DECLARE_METATYPE(Window)

class NotificationOutlineTest : public QObject {
    Q_OBJECT

    FixedClock clock;
    RecordingSoundPlayer sound;
    RingingSounds ringing{sound};
    test::RecordingNotifications notices;
    SettingsRecord settings{};
    std::unique_ptr<NotificationWindowTable> table;

    // The window, the picture label under its controls, the artwork drawn alone there, and its rim.
    struct Shown {
        QWidget* form = nullptr;
        QWidget* picture = nullptr;
        QImage artwork;
        QRgb rim = 0;
    };

    Shown show(Window window) {
        Shown shown;
        if (window == Window::Memo) {
            auto* memo = new MemoForm(*table, sound, notices, clock);
            memo->showMemo("Water the plants", FontBlock{});
            shown.form = memo;
            shown.picture = memo->findChild<QLabel*>("paperimage");
            shown.rim = kMemoPaperEdgeColor;
            // The paper with its heading set in, as the window draws it.
            QPixmap paper = QPixmap::fromImage(artworkImage(kMemoPaperPicture, shown.picture->size()));
            ArtworkWords heading = kMemoHeading;
            heading.text = QStringLiteral("Memo");
            drawArtworkWords(paper, kMemoPaperSize, heading);
            shown.artwork = paper.toImage();
        } else {
            auto* alarm = new AlarmClockForm(*table, ringing, notices, settings, clock, "/opt/velloran/");
            alarm->showAlarm("Wake up", "bell.wav");
            if (window == Window::SnoozingAlarm)
                alarm->findChild<QPushButton*>("SnoozeBT")->click();
            shown.form = alarm;
            shown.picture = alarm->findChild<QLabel*>("BackGround");
            shown.rim = kAlarmClockEdgeColor;
            shown.artwork = artworkImage(kAlarmClockPicture, kAlarmClockSize);
        }
        return shown;
    }

    // The parts of the window that a control covers, the picture label aside.
    static QRegion controls(const Shown& shown) {
        QRegion covered;
        for (QWidget* child : shown.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child != shown.picture && child->isVisible())
                covered += child->geometry();
        return covered;
    }

private slots:
    void initTestCase() {
        velloran::test::quietWindowMaskWarnings();
        installFontSubstitutes();
    }
    void init() {
        settings = defaultSettings();
        clock.value = at(2024, 3, 9, 7, 15);
        table = std::make_unique<NotificationWindowTable>();
    }
    void cleanup() {
        table.reset();
        setShapedWindowsUseAlphaForTesting(std::nullopt);
    }

    void offscreenWindowsAreMasked() {
        // Nothing composites this platform's windows: a translucent one would show black where clear.
        QVERIFY(!shapedWindowsUseAlpha());
        const Shown shown = show(Window::Alarm);
        QVERIFY(!shown.form->testAttribute(Qt::WA_TranslucentBackground));
    }

    void outline_data() {
        QTest::addColumn<Window>("window");
        QTest::addColumn<bool>("alpha");
        for (const bool alpha : {false, true}) {
            const char* mode = alpha ? "translucent" : "masked";
            QTest::addRow("alarm, %s", mode) << Window::Alarm << alpha;
            QTest::addRow("snoozing alarm, %s", mode) << Window::SnoozingAlarm << alpha;
            QTest::addRow("memo, %s", mode) << Window::Memo << alpha;
        }
    }
    void outline() {
        QFETCH(Window, window);
        QFETCH(bool, alpha);
        setShapedWindowsUseAlphaForTesting(alpha);
        const Shown shown = show(window);
        QVERIFY(!shown.artwork.isNull());
        QCOMPARE(shown.form->testAttribute(Qt::WA_TranslucentBackground), alpha);

        // Compared premultiplied, as drawn: a faint pixel's colour means little without its alpha.
        const QImage image =
            shown.form->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage mask = regionImage(shown.form->mask(), shown.form->size());
        const QRegion covered = controls(shown);
        QImage artwork = shown.artwork.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (!alpha) {
            // A masked window lays the rim colour under its picture.
            QImage underlaid(artwork.size(), QImage::Format_ARGB32_Premultiplied);
            underlaid.fill(shown.rim);
            QPainter(&underlaid).drawImage(0, 0, artwork);
            artwork = underlaid;
        }
        const QRect pictureBox(shown.picture->pos(), artwork.size());
        int pictureEdgePixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QPoint point(x, y);
                const QRgb pixel = image.pixel(point);
                const bool inMask = qAlpha(mask.pixel(point)) != 0;
                // Nothing that shows lies outside the mask, which on X11 also cuts what shows.
                if (alpha && qAlpha(pixel) != 0)
                    QVERIFY2(inMask, qPrintable(describe(point, pixel) + " but lies outside the mask"));
                if (covered.contains(point))
                    continue;
                if (!alpha && !inMask)
                    continue;
                // Off the controls the picture shows as drawn: no fringe of another colour at its edge.
                const QRgb expected =
                    pictureBox.contains(point) ? artwork.pixel(point - pictureBox.topLeft()) : QRgb(0);
                QVERIFY2(near(pixel, expected),
                         qPrintable(describe(point, pixel) + ", the picture alone there is #" +
                                    QString::number(expected, 16)));
                const int pictureAlpha = pictureBox.contains(point)
                                             ? qAlpha(shown.artwork.pixel(point - pictureBox.topLeft()))
                                             : 0;
                if (pictureAlpha > 0 && pictureAlpha < 255)
                    ++pictureEdgePixels;
            }
        }
        QVERIFY2(pictureEdgePixels > 50, "the comparison reached the picture's soft edge");
        // The pointer passes by beside the picture, in both ways.
        QVERIFY(qAlpha(mask.pixel(0, 0)) == 0);
        QVERIFY(qAlpha(mask.pixel(shown.form->width() - 1, shown.form->height() - 1)) == 0);
    }

    void controlsShowWholeOnAClearWindow() {
        setShapedWindowsUseAlphaForTesting(true);
        const Shown shown = show(Window::Alarm);
        const QImage image = shown.form->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        // The "Note:" caption and the note box stand below the clock, where nothing is drawn under them.
        for (const char* name : {"Label2", "Note", "TimeDisplay", "Label1", "SnoozeTimeCB"}) {
            const QRect area = shown.form->findChild<QWidget*>(name)->geometry();
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    QVERIFY2(
                        qAlpha(image.pixel(x, y)) == 255,
                        qPrintable(QString::fromLatin1(name) + ": " + describe({x, y}, image.pixel(x, y))));
        }
    }
};

QTEST_MAIN(NotificationOutlineTest)
#include "notification_outline_test.moc"
