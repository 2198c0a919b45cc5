#include "alarm_clock_form.h"

#include "alarm_rules.h"

#include "notification_window_table.h"
#include "notify_texts.h"
#include "ringing_alarms.h"
#include "window_drag.h"

#include "common/text.h"
#include "look/artwork.h"
#include "look/fonts.h"
#include "platform/timer.h"

#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <climits>
#include <cstdint>

namespace velloran {
namespace {

constexpr int kClockInterval = 5000;
constexpr const char* kSnoozeAction = "snooze";
constexpr const char* kTurnOffAction = "turn-off";

// What the desktop's notification service shows while the alarm rings: it draws above full-screen
// windows, and its buttons do what the window's do.
DesktopNotice ringingNotice(const QString& note) {
    DesktopNotice notice;
    notice.summary = QStringLiteral("Alarm Clock");
    notice.body = note;
    notice.critical = true;
    notice.actions = {{QStringLiteral("default"), QStringLiteral("Show")},
                      {QLatin1String(kSnoozeAction), QStringLiteral("Snooze")},
                      {QLatin1String(kTurnOffAction), QStringLiteral("Turn off alarm")}};
    return notice;
}

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

void paintRedOnBlack(QWidget* widget) {
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, kBlack);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, kRed);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont boldFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    return font;
}

} // namespace

TAlarmClockForm::TAlarmClockForm(NotificationWindowTable& table, RingingAlarms& ringing,
                                 DesktopNotifications& notifications, const SettingsRecord& settings,
                                 const Clock& clock, std::string programDirectory)
    : NotificationForm(QStringLiteral("Alarm Clock"), QSize(320, 385), notifications), table_(table),
      ringing_(ringing), settings_(settings), clock_(clock), programDirectory_(std::move(programDirectory)) {
    createControls();

    clockTimer_ = new Timer(this);
    clockTimer_->setInterval(kClockInterval);
    clockTimer_->OnTimer = [this] { ClockTimerTimer(); };
    // Countdowns that the user waits for run precisely; the coarse kind may end 5 % early.
    snoozeTimer_ = new Timer(this, Qt::PreciseTimer);
    snoozeTimer_->setEnabled(false);
    snoozeTimer_->OnTimer = [this] { SnoozeTimerTimer(); };
    offTimer_ = new Timer(this, Qt::PreciseTimer);
    offTimer_->setEnabled(false);
    offTimer_->setInterval(100000);
    offTimer_->OnTimer = [this] { OffTimerTimer(); };
    // Snooze and switch-off count real time: after the machine slept through their end, the next clock
    // tick acts on it.
    snoozeTimer_->followRealTime(clock_);
    offTimer_->followRealTime(clock_);
}

TAlarmClockForm::~TAlarmClockForm() {
    ringing_.silence(this);
}

void TAlarmClockForm::createControls() {
    setRimColor(kAlarmClockEdgeColor);

    BackGround = new QLabel(this);
    BackGround->setObjectName("BackGround");
    BackGround->setAccessibleName(QStringLiteral("Alarm clock"));
    BackGround->setGeometry(0, 0, 321, 321);
    BackGround->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BackGround->setPixmap(picture(kAlarmClockPicture, kAlarmClockSize, devicePixelRatioF()));

    Button1 = new QPushButton(QStringLiteral("Turn &off alarm"), this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(120, 96, 81, 25);
    Button1->setAutoDefault(true);

    ZzImage = new QLabel(this);
    ZzImage->setObjectName("ZzImage");
    // Shown only while the alarm snoozes, which is what it tells.
    ZzImage->setAccessibleName(QStringLiteral("Snoozing"));
    ZzImage->setGeometry(QRect(QPoint(216, 88), kSnoozeSize));
    ZzImage->setPixmap(picture(kSnoozePicture, kSnoozeSize, devicePixelRatioF()));
    ZzImage->hide();

    TimeDisplay = new QLabel(QStringLiteral("11:35 am"), this);
    TimeDisplay->setObjectName("TimeDisplay");
    TimeDisplay->setGeometry(68, 130, 187, 55);
    TimeDisplay->setAlignment(Qt::AlignCenter);
    TimeDisplay->setTextFormat(Qt::PlainText);
    paintRedOnBlack(TimeDisplay);
    fitTimeDisplayFont();

    SnoozeBT = new QPushButton(QStringLiteral("&Snooze"), this);
    SnoozeBT->setObjectName("SnoozeBT");
    SnoozeBT->setGeometry(112, 192, 105, 41);
    SnoozeBT->setDefault(true);
    SnoozeBT->setAutoDefault(true);

    Label1 = new QLabel(QStringLiteral("Snooze time:"), this);
    Label1->setObjectName("Label1");
    Label1->setFont(boldFont(font()));
    paintRedOnBlack(Label1);
    Label1->move(128, 240);
    Label1->adjustSize();

    SnoozeTimeCB = new QComboBox(this);
    SnoozeTimeCB->setObjectName("SnoozeTimeCB");
    for (const char* item : kSnoozeItems)
        SnoozeTimeCB->addItem(QString::fromLatin1(item));
    paintRedOnBlack(SnoozeTimeCB);
    SnoozeTimeCB->setGeometry(128, 256, 73, SnoozeTimeCB->sizeHint().height());

    Label2 = new QLabel(QStringLiteral("Note:"), this);
    Label2->setObjectName("Label2");
    // White on a tag of the clock's dark rim colour below the clock, readable on any desktop.
    QPalette light = Label2->palette();
    light.setColor(QPalette::WindowText, Qt::white);
    Label2->setPalette(light);
    Label2->setAutoFillBackground(true);
    Label2->setContentsMargins(3, 0, 3, 0);
    Label2->move(8, 312);
    Label2->adjustSize();

    Note = new QPlainTextEdit(this);
    Note->setObjectName("Note");
    // One pixel narrower than designed, so that its scroll bar's edge is not cut off by the window's.
    Note->setGeometry(8, 328, 312, 49);
    Note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Note->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Note->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Note->setTabChangesFocus(true);
    Label1->setBuddy(SnoozeTimeCB);
    Label2->setBuddy(Note);

    setTabOrder(SnoozeBT, SnoozeTimeCB);
    setTabOrder(SnoozeTimeCB, Button1);
    setTabOrder(Button1, Note);
    SnoozeBT->setFocus();

    connect(SnoozeBT, &QPushButton::clicked, this, &TAlarmClockForm::SnoozeBTClick);
    connect(Button1, &QPushButton::clicked, this, &TAlarmClockForm::Button1Click);

    drag_ = new WindowDrag(this);
    drag_->addHandle(BackGround);
    drag_->addHandle(TimeDisplay);
    updateShape();
}

// The display's face shrinks until the widest time fits, so that no substitute face clips it.
void TAlarmClockForm::fitTimeDisplayFont() {
    QFont font = boldFont(designFont());
    const int room = TimeDisplay->width() - 4;
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
        if (widest <= room && metrics.height() <= TimeDisplay->height())
            break;
    }
    TimeDisplay->setFont(font);
}

void TAlarmClockForm::updateShape() {
    QRegion shape = pictureShape(kAlarmClockPicture, kAlarmClockSize).translated(BackGround->pos());
    if (shape.isEmpty())
        shape = rect(); // without its picture the window still shows whole
    for (QWidget* control :
         {static_cast<QWidget*>(Button1), static_cast<QWidget*>(TimeDisplay), static_cast<QWidget*>(SnoozeBT),
          static_cast<QWidget*>(Label1), static_cast<QWidget*>(SnoozeTimeCB), static_cast<QWidget*>(Label2),
          static_cast<QWidget*>(Note)})
        shape += control->geometry();
    if (!ZzImage->isHidden())
        shape += pictureShape(kSnoozePicture, kSnoozeSize).translated(ZzImage->pos());
    setShape(shape);
}

void TAlarmClockForm::ShowAlarm(const std::string& note, const std::string& soundFile) {
    table_.registerWindow(this);
    QString noteText = QString::fromStdString(displayUtf8(note));
    noteText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Note->setPlainText(noteText);
    note_ = noteText;
    // File names are bytes; the locale's encoding turns them into the name the file system knows.
    soundPath_ = QFile::decodeName(QByteArray::fromStdString(programDirectory_ + "Sounds/" + soundFile));
    ringing_.ring(this, soundPath_, windowTitle());
    SnoozeTimeCB->setCurrentIndex(offeredSnoozeIndex(settings_));
    startOffTimerIfEnabled();
    TimeDisplay->setText(QString::fromStdString(alarmTimeText(clock_.now())));
    show();
    activateWindow();
    postNotice(ringingNotice(note_));
}

void TAlarmClockForm::startOffTimerIfEnabled() {
    const std::optional<int> interval = switchOffInterval(settings_);
    if (!interval)
        return;
    offTimer_->setInterval(*interval);
    offTimer_->setEnabled(true);
}

void TAlarmClockForm::ClockTimerTimer() {
    TimeDisplay->setText(QString::fromStdString(alarmTimeText(clock_.now())));
    snoozeTimer_->catchUp();
    offTimer_->catchUp();
}

void TAlarmClockForm::SnoozeBTClick() {
    ringing_.silence(this);
    withdrawNotice();
    // The same snooze time again keeps the running countdown; a different one restarts it.
    snoozeTimer_->setInterval(countdownInterval(SnoozeTimeCB->currentIndex()));
    snoozeTimer_->setEnabled(true);
    ZzImage->show();
    updateShape();
    // The switch-off countdown starts afresh at the next ring. It is dropped even when the preferences
    // turned switching off out meanwhile, so a snoozed alarm never closes itself.
    offTimer_->setEnabled(false);
}

void TAlarmClockForm::SnoozeTimerTimer() {
    snoozeTimer_->setEnabled(false);
    ringing_.ring(this, soundPath_, windowTitle());
    ZzImage->hide();
    updateShape();
    startOffTimerIfEnabled();
    postNotice(ringingNotice(note_));
}

void TAlarmClockForm::OffTimerTimer() {
    snoozeTimer_->setEnabled(false);
    offTimer_->setEnabled(false);
    Button1Click();
}

void TAlarmClockForm::Button1Click() {
    ringing_.silence(this);
    close();
}

void TAlarmClockForm::FormClose() {
    ringing_.silence(this);
    // A closed window must never ring again: one that no sweep frees (its table was full) would
    // otherwise re-ring hidden, with nothing left to stop it.
    snoozeTimer_->setEnabled(false);
    offTimer_->setEnabled(false);
}

void TAlarmClockForm::noticeAction(const QString& action, const QString& activationToken) {
    if (action == QLatin1String(kSnoozeAction))
        SnoozeBTClick();
    else if (action == QLatin1String(kTurnOffAction))
        Button1Click();
    else
        NotificationForm::noticeAction(action, activationToken);
}

void TAlarmClockForm::keyPressEvent(QKeyEvent* event) {
    // Enter that no control took presses the default button, Snooze.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        SnoozeBT->click();
        return;
    }
    NotificationForm::keyPressEvent(event);
}

} // namespace velloran
