// The alarm clock window: a borderless clock that rings the task's sound in a loop, shows the time, and
// lets the user snooze or turn the alarm off; it can switch itself off after the preset time.
#pragma once

#include "notification_form.h"

#include "common/datetime.h"
#include "prefs/settings_record.h"

#include <QString>
#include <string>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velloran {

class NotificationWindowTable;
class RingingAlarms;
class Timer;
class WindowDrag;

class TAlarmClockForm final : public NotificationForm {
    Q_OBJECT
public:
    // The settings are read at each moment they are used, so a change in the preferences reaches an
    // alarm that is already ringing. programDirectory ends with '/'.
    TAlarmClockForm(NotificationWindowTable& table, RingingAlarms& ringing,
                    DesktopNotifications& notifications, const SettingsRecord& settings, const Clock& clock,
                    std::string programDirectory);
    ~TAlarmClockForm() override;

    // Registers the window, starts the sound of Sounds/soundFile and shows the window without waiting.
    void ShowAlarm(const std::string& note, const std::string& soundFile);

    void SnoozeBTClick();
    void Button1Click();
    void SnoozeTimerTimer();
    void OffTimerTimer();
    void ClockTimerTimer();

    Timer& ClockTimer() { return *clockTimer_; }
    Timer& SnoozeTimer() { return *snoozeTimer_; }
    Timer& OffTimer() { return *offTimer_; }
    const QString& soundPath() const { return soundPath_; }

protected:
    void FormClose() override;
    void noticeAction(const QString& action, const QString& activationToken) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void fitTimeDisplayFont();
    void updateShape();
    void startOffTimerIfEnabled();
    void ring();

    NotificationWindowTable& table_;
    RingingAlarms& ringing_;
    const SettingsRecord& settings_;
    const Clock& clock_;
    const std::string programDirectory_;
    QString soundPath_;
    QString note_;

    QLabel* BackGround = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* ZzImage = nullptr;
    QLabel* TimeDisplay = nullptr;
    QPushButton* SnoozeBT = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* SnoozeTimeCB = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* Note = nullptr;
    Timer* clockTimer_ = nullptr;
    Timer* snoozeTimer_ = nullptr;
    Timer* offTimer_ = nullptr;
    WindowDrag* drag_ = nullptr;
};

} // namespace velloran
