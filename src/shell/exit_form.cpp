#include "exit_form.h"

#include "look/window_placement.h"
#include "platform/owner_modal.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace velloran {
namespace {

// The window was laid out for a narrower face than ours: the caption's face shrinks until it fits its
// place, which stays where it is.
void fitCaption(QLabel& label) {
    QFont font = label.font();
    while (QFontMetrics(font).horizontalAdvance(label.text()) > label.width() && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label.setFont(font);
}

} // namespace

TExitForm::TExitForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TExitForm");
    setWindowTitle("Exit");
    makeOwnerModal(this);
    setFixedSize(157, 81);
    Label1 = new QLabel("Exiting Task Scheduler in:", this);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(8, 16, 145, 16);
    fitCaption(*Label1);
    AutoOK = new QPushButton("&OK ( 4 )", this);
    AutoOK->setObjectName("AutoOK");
    AutoOK->setGeometry(8, 48, 65, 25);
    Button1 = new QPushButton("&Cancel", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(80, 48, 65, 25);
    ExitTimer = new Timer(this, Qt::PreciseTimer);
    ExitTimer->setEnabled(false);
    ExitTimer->setInterval(1000);
    ExitTimer->onTimeout = [this] { ExitTimerTimer(); };
    connect(AutoOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, [this] {
        ExitTimer->setEnabled(false);
        done(kCancelled);
    });
    centreOnScreen(*this, size());
}

void TExitForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    counter_ = 3;
    ExitTimer->setEnabled(true);
}

// Only the Cancel button keeps the program running. Escape does not: the close may come from the system
// with nobody there, and an Escape meant for another window (or a key left held down, which repeats into
// whatever window has the focus) would keep the program from ever ending.
void TExitForm::keyPressEvent(QKeyEvent* event) {
    if (!swallowKeys(event, {Qt::Key_Escape}))
        QDialog::keyPressEvent(event);
}

void TExitForm::ExitTimerTimer() {
    AutoOK->setText(QString("&OK ( %1 )").arg(counter_));
    if (counter_ <= 0) {
        ExitTimer->setEnabled(false);
        accept();
    }
    --counter_;
}

} // namespace velloran
