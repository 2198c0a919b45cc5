// The alarm clock window: a borderless clock that rings the task's sound in a loop, shows the time, and
// lets the user snooze or turn the alarm off; it can switch itself off after the preset time.
#pragma once

#include "notification_form.h"

#include "common/date_format.h"
#include "common/datetime.h"
#include "prefs/settings_record.h"

#include <QString>
#include <memory>
#include <string>

namespace Ui {
class AlarmClockForm;
}

namespace velloran {

class NotificationWindowTable;
class RingingSounds;
class Timer;
class WindowDrag;

// The controls and their places are in alarm_clock_form.ui; the clock's artwork and the window's shape
// are drawn here, since a form cannot say them. The timers are found by their names: "ClockTimer",
// "SnoozeTimer" and "OffTimer".
class AlarmClockForm final : public NotificationForm {
    Q_OBJECT
public:
    // The settings are read at each moment they are used, so a change in the preferences reaches an
    // alarm that is already ringing. programDirectory ends with '/'.
    AlarmClockForm(NotificationWindowTable& table, RingingSounds& ringing,
                   DesktopNotifications& notifications, const SettingsRecord& settings, const Clock& clock,
                   std::string programDirectory);
    ~AlarmClockForm() override;

    // Registers the window, starts the sound of Sounds/soundFile and shows the window without waiting.
    void showAlarm(const std::string& note, const std::string& soundFile);

    const QString& soundPath() const { return soundPath_; }

protected:
    void onClosed() override;
    void noticeAction(const QString& action, const QString& activationToken) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void snooze();
    void turnAlarmOff();
    void ringAgain();
    void switchOffByItself();
    void tickClock();

    void drawArtwork();
    void fitTimeDisplayFont();
    void updateShape();
    void startOffTimerIfEnabled();
    DesktopNotice ringingNotice() const;

    std::unique_ptr<Ui::AlarmClockForm> ui_;
    NotificationWindowTable& table_;
    RingingSounds& ringing_;
    const SettingsRecord& settings_;
    const Clock& clock_;
    const std::string programDirectory_;
    // The clock face's format, from the locale the window was made in.
    const DateStyle dateStyle_;
    QString soundPath_;
    QString note_;

    Timer* clockTimer_ = nullptr;
    Timer* snoozeTimer_ = nullptr;
    Timer* offTimer_ = nullptr;
    WindowDrag* drag_ = nullptr;
};

} // namespace velloran
