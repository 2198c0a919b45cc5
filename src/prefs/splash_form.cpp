#include "splash_form.h"

#include "look/artwork.h"
#include "look/picture_box.h"
#include "look/window_placement.h"
#include "platform/accessible_roles.h"

#include <QEventLoop>
#include <QShowEvent>

namespace velloran {

TSplashForm::TSplashForm(QWidget* parent) : TSplashForm(parent, programTickCounter()) {}

TSplashForm::TSplashForm(QWidget* parent, int& tickCounter)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint), ticks_(tickCounter) {
    setObjectName("SplashForm");
    setWindowTitle("SplashForm");
    setFixedSize(kSplashSize);

    Image1 = new PictureBox(this);
    Image1->setObjectName("Image1");
    Image1->setAccessibleName(QStringLiteral("Velloran is starting"));
    setAccessibleRole(Image1, QAccessible::Graphic);
    Image1->setGeometry(0, 0, kSplashSize.width(), kSplashSize.height());
    Image1->setPixmap(artworkPixmap(QString::fromLatin1(kSplashPicture), kSplashSize, devicePixelRatioF()));

    Timer1 = new Timer(this);
    Timer1->setEnabled(false);
    Timer1->setInterval(1000);
    Timer1->onTimeout = [this] { Timer1Timer(); };

    centreOnScreen(*this, size(), true);
}

int& TSplashForm::programTickCounter() {
    static int ticks = 0;
    return ticks;
}

int TSplashForm::exec() {
    result_ = 0;
    setWindowModality(Qt::ApplicationModal);
    show();
    if (isVisible()) {
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        modalLoop_ = nullptr;
    }
    return result_;
}

void TSplashForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSplashForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    Timer1->setEnabled(false);
    if (modalLoop_ != nullptr)
        modalLoop_->quit();
}

void TSplashForm::FormShow() {
    Timer1->setEnabled(true);
}

void TSplashForm::Timer1Timer() {
    if (ticks_ >= 3) {
        Timer1->setEnabled(false);
        result_ = 1;
        hide();
    }
    ++ticks_;
}

} // namespace velloran
