#include "alarm_clock_form.h"
#include "ui_alarm_clock_form.h"

#include "alarm_rules.h"

#include "notification_window_table.h"
#include "platform/locale_dates.h"
#include "platform/logging.h"
#include "platform/ringing_sounds.h"
#include "window_drag.h"

#include "common/text.h"
#include "look/artwork.h"
#include "look/fonts.h"
#include "platform/timer.h"

#include <QAccessible>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>

namespace velloran {
namespace {

constexpr int kClockInterval = 5000;
constexpr const char* kSnoozeAction = "snooze";
constexpr const char* kTurnOffAction = "turn-off";

} // namespace

AlarmClockForm::AlarmClockForm(NotificationWindowTable& table, RingingSounds& ringing,
                               DesktopNotifications& notifications, const SettingsRecord& settings,
                               const Clock& clock, std::string programDirectory)
    // An alert: a screen reader announces it as it appears, though it does not take the focus.
    : NotificationForm(notifications, QAccessible::AlertMessage), ui_(std::make_unique<Ui::AlarmClockForm>()),
      table_(table), ringing_(ringing), settings_(settings), clock_(clock),
      programDirectory_(std::move(programDirectory)), dateStyle_(dateStyleOf(QLocale())) {
    ui_->setupUi(this);
    drawArtwork();
    ui_->SnoozeBT->setFocus();
    connect(ui_->SnoozeBT, &QPushButton::clicked, this, &AlarmClockForm::snooze);
    connect(ui_->Button1, &QPushButton::clicked, this, &AlarmClockForm::turnAlarmOff);
    drag_ = new WindowDrag(this);
    drag_->addHandle(ui_->BackGround);
    drag_->addHandle(ui_->TimeDisplay);

    clockTimer_ = new Timer(this);
    clockTimer_->setObjectName(QStringLiteral("ClockTimer"));
    clockTimer_->setInterval(kClockInterval);
    clockTimer_->onTimeout = [this] { tickClock(); };
    // Countdowns that the user waits for run precisely; the coarse kind may end 5 % early.
    snoozeTimer_ = new Timer(this, Qt::PreciseTimer);
    snoozeTimer_->setObjectName(QStringLiteral("SnoozeTimer"));
    snoozeTimer_->setEnabled(false);
    snoozeTimer_->onTimeout = [this] { ringAgain(); };
    offTimer_ = new Timer(this, Qt::PreciseTimer);
    offTimer_->setObjectName(QStringLiteral("OffTimer"));
    offTimer_->setEnabled(false);
    offTimer_->setInterval(100000);
    offTimer_->onTimeout = [this] { switchOffByItself(); };
    // Snooze and switch-off count real time: after the machine slept through their end, the next clock
    // tick acts on it.
    snoozeTimer_->followRealTime(clock_);
    offTimer_->followRealTime(clock_);
}

AlarmClockForm::~AlarmClockForm() {
    ringing_.silence(this);
}

// The pictures are rendered for the screen's pixel ratio, the time's face is fitted to the installed
// fonts, and the outline follows the artwork: none of it can be said in the form.
void AlarmClockForm::drawArtwork() {
    setRimColor(kAlarmClockEdgeColor);
    ui_->BackGround->setPixmap(picture(kAlarmClockPicture, kAlarmClockSize, devicePixelRatioF()));
    ui_->ZzImage->setPixmap(picture(kSnoozePicture, kSnoozeSize, devicePixelRatioF()));
    fitTimeDisplayFont();
    // The labels take the size of their text, in whatever face and language the program runs with; a
    // form gives only fixed sizes.
    ui_->Label1->adjustSize();
    // "Note:" is white on a tag of the clock's dark rim colour, readable on any desktop; the tag's
    // margins are more than a form can give a label.
    ui_->Label2->setContentsMargins(3, 0, 3, 0);
    ui_->Label2->adjustSize();
    updateShape();
}

// The display's face shrinks until the widest time fits, so that no substitute face clips it.
void AlarmClockForm::fitTimeDisplayFont() {
    QFont font = designFont();
    font.setBold(true);
    const int room = ui_->TimeDisplay->width() - 4;
    for (int size = 45; size > 12; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (char digit = '0'; digit <= '9'; ++digit) {
            const QString d(QLatin1Char{digit});
            for (const char* half : {" am", " pm"})
                widest =
                    std::max(widest, metrics.horizontalAdvance(d + d + ':' + d + d + QLatin1String(half)));
        }
        if (widest <= room && metrics.height() <= ui_->TimeDisplay->height())
            break;
    }
    ui_->TimeDisplay->setFont(font);
}

void AlarmClockForm::updateShape() {
    QRegion shape = pictureShape(kAlarmClockPicture, kAlarmClockSize).translated(ui_->BackGround->pos());
    if (shape.isEmpty())
        shape = rect(); // without its picture the window still shows whole
    for (const QWidget* control :
         std::initializer_list<const QWidget*>{ui_->Button1, ui_->TimeDisplay, ui_->SnoozeBT, ui_->Label1,
                                               ui_->SnoozeTimeCB, ui_->Label2, ui_->Note})
        shape += control->geometry();
    if (!ui_->ZzImage->isHidden())
        shape += pictureShape(kSnoozePicture, kSnoozeSize).translated(ui_->ZzImage->pos());
    setShape(shape);
}

void AlarmClockForm::showAlarm(const std::string& note, const std::string& soundFile) {
    table_.registerWindow(this);
    QString noteText = QString::fromStdString(displayUtf8(note));
    noteText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ui_->Note->setPlainText(noteText);
    note_ = noteText;
    // File names are bytes; the locale's encoding turns them into the name the file system knows.
    soundPath_ = QFile::decodeName(QByteArray::fromStdString(programDirectory_ + "Sounds/" + soundFile));
    ringing_.ring(this, soundPath_, windowTitle());
    ui_->SnoozeTimeCB->setCurrentIndex(offeredSnoozeIndex(settings_));
    startOffTimerIfEnabled();
    ui_->TimeDisplay->setText(QString::fromStdString(alarmTimeText(clock_.now(), dateStyle_)));
    show();
    // Told to a screen reader as it appears, since the focus stays where the user was.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    postNotice(ringingNotice());
}

// What the desktop's notification service shows while the alarm rings: it draws above full-screen
// windows, and its buttons do what the window's do.
DesktopNotice AlarmClockForm::ringingNotice() const {
    DesktopNotice notice;
    // Named by its note, so that two alarms ringing together can be told apart, with their actions.
    const QString name = firstLineOf(note_);
    notice.summary = name.isEmpty() ? windowTitle() : windowTitle() + QStringLiteral(" \u2013 ") + name;
    notice.body = note_;
    notice.critical = true;
    notice.actions = {{QStringLiteral("default"), tr("Show")},
                      {QLatin1String(kSnoozeAction), tr("Snooze")},
                      {QLatin1String(kTurnOffAction), tr("Turn off alarm")}};
    return notice;
}

void AlarmClockForm::startOffTimerIfEnabled() {
    const std::optional<int> interval = switchOffInterval(settings_);
    if (!interval)
        return;
    offTimer_->setInterval(*interval);
    offTimer_->setEnabled(true);
}

void AlarmClockForm::tickClock() {
    ui_->TimeDisplay->setText(QString::fromStdString(alarmTimeText(clock_.now(), dateStyle_)));
    snoozeTimer_->catchUp();
    offTimer_->catchUp();
}

void AlarmClockForm::snooze() {
    qCDebug(logWindow, "alarm \"%s\" snoozed", qPrintable(firstLineOf(note_)));
    ringing_.silence(this);
    withdrawNotice();
    // The same snooze time again keeps the running countdown; a different one restarts it.
    snoozeTimer_->setInterval(countdownInterval(ui_->SnoozeTimeCB->currentIndex()));
    snoozeTimer_->setEnabled(true);
    ui_->ZzImage->show();
    updateShape();
    // It stays where it is, showing Zz, but no longer covers what the user turns to meanwhile.
    keepAbove(false);
    // The switch-off countdown starts afresh at the next ring. It is dropped even when the preferences
    // turned switching off out meanwhile, so a snoozed alarm never closes itself.
    offTimer_->setEnabled(false);
}

void AlarmClockForm::ringAgain() {
    qCDebug(logWindow, "alarm \"%s\" rings again", qPrintable(firstLineOf(note_)));
    snoozeTimer_->setEnabled(false);
    ringing_.ring(this, soundPath_, windowTitle());
    ui_->ZzImage->hide();
    updateShape();
    keepAbove(true);
    raise();
    startOffTimerIfEnabled();
    postNotice(ringingNotice());
}

void AlarmClockForm::switchOffByItself() {
    snoozeTimer_->setEnabled(false);
    offTimer_->setEnabled(false);
    turnAlarmOff();
}

void AlarmClockForm::turnAlarmOff() {
    qCDebug(logWindow, "alarm \"%s\" turned off", qPrintable(firstLineOf(note_)));
    ringing_.silence(this);
    close();
}

void AlarmClockForm::onClosed() {
    ringing_.silence(this);
    // A closed window must never ring again: one that no sweep frees (its table was full) would
    // otherwise re-ring hidden, with nothing left to stop it.
    snoozeTimer_->setEnabled(false);
    offTimer_->setEnabled(false);
}

void AlarmClockForm::noticeAction(const QString& action, const QString& activationToken) {
    if (action == QLatin1String(kSnoozeAction))
        snooze();
    else if (action == QLatin1String(kTurnOffAction))
        turnAlarmOff();
    else
        NotificationForm::noticeAction(action, activationToken);
}

void AlarmClockForm::keyPressEvent(QKeyEvent* event) {
    // Enter that no control took presses the default button, Snooze.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui_->SnoozeBT->click();
        return;
    }
    NotificationForm::keyPressEvent(event);
}

} // namespace velloran
