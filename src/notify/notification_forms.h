// The alarm and memo windows that due tasks open, with the two tables that keep them until the main
// window's sweep destroys the closed ones. The main window owns one and hands it to the task actions.
#pragma once

#include "notification_window_table.h"
#include "platform/ringing_sounds.h"

#include "common/datetime.h"
#include "prefs/settings_record.h"
#include "scheduler/task_actions.h"

#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velloran {

class DesktopNotifications;
class NotificationForm;
class TaskNotice;
class SoundPlayer;

class NotificationForms final : public NotificationWindows {
public:
    // Everything passed in must outlive this object. programDirectory ends with '/'; the alarm sounds
    // are in its Sounds/ folder. Each window also posts a notice to notifications.
    NotificationForms(SoundPlayer& sound, DesktopNotifications& notifications, const SettingsRecord& settings,
                      const Clock& clock, std::string programDirectory);
    // Destroys every window that it opened, registered or not.
    ~NotificationForms() override;
    NotificationForms(const NotificationForms&) = delete;
    NotificationForms& operator=(const NotificationForms&) = delete;

    void showAlarm(const std::string& note, const std::string& soundFile,
                   const Occurrence& occurrence) override;
    void showMemo(const std::string& text, const FontBlock& font, const Occurrence& occurrence) override;
    void tellFailure(const std::string& name, const std::string& target, OpenFailure why) override;

    // The periodic sweep: destroys the closed memo windows, then the closed alarm windows.
    void sweep();
    // Destroys every memo window still registered, open or closed, as the main window does when it goes.
    void destroyMemoWindows() { memoWindows_.destroyAll(); }

    NotificationWindowTable& alarmWindows() { return alarmWindows_; }
    NotificationWindowTable& memoWindows() { return memoWindows_; }
    RingingSounds& ringing() { return ringing_; }

private:
    // Moves a new window where it covers none of the open ones completely, before it shows.
    void place(NotificationForm* window);
    void keepIfUnregistered(NotificationForm* window, const NotificationWindowTable& table);
    // The window asks in the notice that its task's other open windows of its kind share.
    void shareNotice(NotificationForm* window, bool alarm, const Occurrence& occurrence);
    static void reachScreen();

    DesktopNotifications& notifications_;
    RingingSounds ringing_;
    const SettingsRecord& settings_;
    const Clock& clock_;
    const std::string programDirectory_;
    NotificationWindowTable alarmWindows_;
    NotificationWindowTable memoWindows_;
    // Windows that found their table full: no sweep frees them, so they go with this object.
    std::vector<QPointer<NotificationForm>> unregistered_;
    // Every window opened, in the order they opened, for placing the next one.
    std::vector<QPointer<NotificationForm>> opened_;
    // The notice of each task's open alarm or memo windows, by kind (alarm or not) and task id; it goes
    // with the last of them.
    std::map<std::pair<bool, std::uint32_t>, std::weak_ptr<TaskNotice>> notices_;
};

} // namespace velloran
