#include "exit_form.h"

#include "look/window_placement.h"
#include "platform/owner_modal.h"
#include "platform/timer.h"
#include "ui_exit_form.h"

#include <QKeyEvent>

namespace velloran {
namespace {

// The window was laid out for a narrower face than ours: the caption's face shrinks until it fits its
// place, which stays where it is. Measured at run time, since the face and the language decide the width.
void fitCaption(QLabel& label) {
    QFont font = label.font();
    while (QFontMetrics(font).horizontalAdvance(label.text()) > label.width() && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label.setFont(font);
}

} // namespace

ExitForm::ExitForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::ExitForm>()) {
    ui->setupUi(this);
    makeOwnerModal(this);
    keepAboveNotifications(this);
    fitCaption(*ui->Label1);
    exitTimer_ = new Timer(this, Qt::PreciseTimer);
    exitTimer_->setObjectName("ExitTimer");
    exitTimer_->setEnabled(false);
    exitTimer_->setInterval(1000);
    exitTimer_->onTimeout = [this] { countDown(); };
    connect(ui->AutoOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button1, &QPushButton::clicked, this, &ExitForm::cancel);
    centreOnScreen(*this, size());
}

ExitForm::~ExitForm() = default;

void ExitForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    counter_ = 3;
    exitTimer_->setEnabled(true);
}

// Only the Cancel button keeps the program running. Escape does not: the close may come from the system
// with nobody there, and an Escape meant for another window (or a key left held down, which repeats into
// whatever window has the focus) would keep the program from ever ending.
void ExitForm::keyPressEvent(QKeyEvent* event) {
    if (!swallowKeys(event, {Qt::Key_Escape}))
        QDialog::keyPressEvent(event);
}

void ExitForm::countDown() {
    ui->AutoOK->setText(tr("&OK ( %1 )").arg(counter_));
    if (counter_ <= 0) {
        exitTimer_->setEnabled(false);
        accept();
    }
    --counter_;
}

void ExitForm::cancel() {
    exitTimer_->setEnabled(false);
    done(kCancelled);
}

} // namespace velloran
