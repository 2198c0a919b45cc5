#include "splash_form.h"

#include "look/artwork.h"
#include "look/window_placement.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace velloran {

TSplashForm::TSplashForm(QWidget* parent) : TSplashForm(parent, programTickCounter()) {}

TSplashForm::TSplashForm(QWidget* parent, int& tickCounter)
    // A dialog rather than a splash-screen window: a modal splash-screen window's loop does not end when
    // it closes.
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ticks_(tickCounter) {
    setObjectName("SplashForm");
    setWindowTitle("SplashForm");
    setFixedSize(kSplashSize);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, kSplashSize.width(), kSplashSize.height());
    Image1->setPixmap(artworkPixmap(QString::fromLatin1(kSplashPath), kSplashSize, devicePixelRatioF()));

    Timer1 = new Timer(this);
    Timer1->setEnabled(false);
    Timer1->setInterval(1000);
    Timer1->OnTimer = [this] { Timer1Timer(); };

    centreOnScreen(*this, size(), true);
}

int& TSplashForm::programTickCounter() {
    static int ticks = 0;
    return ticks;
}

void TSplashForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSplashForm::FormShow() {
    Timer1->setEnabled(true);
}

void TSplashForm::Timer1Timer() {
    if (ticks_ >= 3) {
        Timer1->setEnabled(false);
        accept();
    }
    ++ticks_;
}

// The picture has no keys of its own: Escape does not cut the start-up short.
void TSplashForm::keyPressEvent(QKeyEvent* event) {
    if (!swallowKeys(event, {Qt::Key_Escape}))
        QDialog::keyPressEvent(event);
}

} // namespace velloran
