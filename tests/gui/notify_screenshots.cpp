// Screenshots of the alarm clock and memo windows as a person sees them: shaped windows on a real X
// display over a desktop background, so that their outlines can be checked for a coloured fringe.
//   notify_screenshots FOLDER   (run by notify_screenshots.sh under Xvfb with a window manager)
#include "common/text.h"
#include "look/fonts.h"
#include "notify/notification_form.h"
#include "notify/notification_forms.h"
#include "prefs/settings_record.h"
#include "stand_ins.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cstdio>

using namespace velloran;

namespace {

// A light sky with pale stripes: any fringe of another colour stands out against it.
class Desktop final : public QWidget {
public:
    Desktop() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QLinearGradient sky(0, 0, 0, height());
        sky.setColorAt(0, QColor(0x9c, 0xc9, 0xf0));
        sky.setColorAt(1, QColor(0xf4, 0xf1, 0xe8));
        painter.fillRect(rect(), sky);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 90));
        for (int x = -height(); x < width(); x += 90)
            painter.drawPolygon(
                QPolygon({{x, height()}, {x + 40, height()}, {x + 40 + height(), 0}, {x + height(), 0}}));
    }
};

void save(const QImage& image, const QString& path) {
    if (!image.save(path))
        std::fprintf(stderr, "notify_screenshots: cannot write %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: notify_screenshots FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    installFontSubstitutes();

    Desktop desktop;
    desktop.setWindowTitle("desktop");
    // A pixel short of the screen: a borderless window that fills it counts as full-screen to openbox
    // while nothing has the focus, above the notifications, which appear without taking it.
    desktop.setGeometry(QGuiApplication::primaryScreen()->geometry().adjusted(0, 0, 0, -1));
    desktop.show();

    test::RecordingSoundPlayer sound;
    test::RecordingNotifications notices;
    test::FixedClock clock;
    clock.value = test::at(2024, 3, 11, 7, 45, 12);
    SettingsRecord settings = defaultSettings();
    NotificationForms forms(sound, notices, settings, clock, QDir::tempPath().toStdString() + "/");
    forms.showAlarm("Leave for the station: the 8:10 train", "Chimes.wav", {1, clock.value});
    forms.showAlarm("Tea is ready", "Marimba.wav", {2, clock.value});
    FontBlock font{};
    setFieldText(font.FontName, "Liberation Serif");
    font.FontSize = 14;
    font.FontStyle = kFontBold;
    font.FontColor = 0x00602010; // dark blue, as 0x00BBGGRR
    forms.showMemo("Dentist at 4 pm.\r\nBring the insurance card and the letter from the clinic.\r\n\r\n"
                   "Ask whether the next visit can move to a Friday morning.",
                   font, {3, clock.value});

    QWidget* ringing = forms.alarmWindows().at(0);
    QWidget* snoozing = forms.alarmWindows().at(1);
    QWidget* memo = forms.memoWindows().at(0);
    ringing->move(30, 30);
    snoozing->move(380, 30);
    memo->move(740, 30);
    snoozing->findChild<QPushButton*>("SnoozeBT")->click();
    for (QWidget* window : {static_cast<QWidget*>(&desktop), ringing, snoozing, memo}) {
        // A busy machine may take longer than the default five seconds to map a window.
        if (!QTest::qWaitForWindowExposed(window, 30000)) {
            std::fprintf(stderr, "notify_screenshots: %s was not shown\n", qPrintable(window->windowTitle()));
            return 1;
        }
    }
    // Wait until the screen shows the desktop's sky in its corner, the note paper in the memo's middle and
    // the dark face of the ringing clock: only then are the pictures worth looking at.
    // The grab counts the screen's pixels; the windows are placed in its ratio's larger units.
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const auto pixels = [ratio](const QRect& area) {
        return QRect((QPointF(area.topLeft()) * ratio).toPoint(), (QSizeF(area.size()) * ratio).toSize());
    };
    const auto painted = [&](const QImage& image) {
        const QPoint paper = (QPointF(memo->geometry().center()) * ratio).toPoint();
        // Dark, left of the list.
        const QPoint face = (QPointF(ringing->geometry().topLeft() + QPoint(100, 270)) * ratio).toPoint();
        const QColor sky = image.pixelColor(image.width() - 5, image.height() - 5);
        const QColor note = image.pixelColor(paper);
        return sky.lightness() >= 100 && note.red() > 200 && note.blue() < 200 &&
               image.pixelColor(face).lightness() < 60;
    };
    QImage screen;
    for (int tries = 0; tries < 150; ++tries) {
        QTest::qWait(100);
        screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        if (painted(screen))
            break;
    }
    if (!painted(screen)) {
        std::fprintf(stderr, "notify_screenshots: the windows never reached the screen\n");
        save(screen, folder + "/notify_desktop_failed.png");
        return 1;
    }
    save(screen, folder + "/notify_desktop.png");
    const QMargins margin(12, 12, 12, 12);
    save(screen.copy(pixels(ringing->frameGeometry().marginsAdded(margin))), folder + "/alarm_clock.png");
    save(screen.copy(pixels(snoozing->frameGeometry().marginsAdded(margin))),
         folder + "/alarm_clock_snoozing.png");
    save(screen.copy(pixels(memo->frameGeometry().marginsAdded(margin))), folder + "/memo.png");
    return 0;
}
