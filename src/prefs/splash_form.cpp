#include "splash_form.h"

#include "look/artwork.h"
#include "look/window_placement.h"
#include "platform/accessible_roles.h"
#include "platform/timer.h"
#include "ui_splash_form.h"

#include <QEventLoop>
#include <QShowEvent>

namespace velloran {

SplashForm::SplashForm(QWidget* parent) : SplashForm(parent, programTickCounter()) {}

SplashForm::SplashForm(QWidget* parent, int& tickCounter)
    // A splash to the window manager: never in the task bar or the window switcher, so its caption is
    // never seen.
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ui_(std::make_unique<Ui::SplashForm>()),
      ticks_(tickCounter) {
    ui_->setupUi(this);
    // The role first: naming a widget fixes what a screen reader is told it is.
    setAccessibleRole(ui_->Image1, QAccessible::Graphic);
    ui_->Image1->setAccessibleName(tr("Velloran is starting"));
    ui_->Image1->setPixmap(
        artworkPixmap(QString::fromLatin1(kSplashPicture), kSplashSize, devicePixelRatioF()));

    timer_ = new Timer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setEnabled(false);
    timer_->setInterval(1000);
    timer_->onTimeout = [this] { countTick(); };

    centreOnScreen(*this, size(), true);
}

SplashForm::~SplashForm() = default;

int& SplashForm::programTickCounter() {
    static int ticks = 0;
    return ticks;
}

int SplashForm::exec() {
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

// The count starts each time the window is shown.
void SplashForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        timer_->setEnabled(true);
}

void SplashForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    timer_->setEnabled(false);
    if (modalLoop_ != nullptr)
        modalLoop_->quit();
}

void SplashForm::countTick() {
    if (ticks_ >= 3) {
        timer_->setEnabled(false);
        result_ = 1;
        hide();
    }
    ++ticks_;
}

} // namespace velloran
