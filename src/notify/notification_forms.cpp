#include "notification_forms.h"

#include "alarm_clock_form.h"
#include "memo_form.h"

namespace velloran {

NotificationForms::NotificationForms(SoundPlayer& sound, const SettingsRecord& settings, const Clock& clock,
                                     std::string programDirectory)
    : sound_(sound), settings_(settings), clock_(clock), programDirectory_(std::move(programDirectory)) {}

NotificationForms::~NotificationForms() {
    memoWindows_.destroyAll();
    alarmWindows_.destroyAll();
    for (const QPointer<NotificationForm>& window : unregistered_)
        delete window.data();
}

void NotificationForms::showAlarm(const std::string& note, const std::string& soundFile) {
    auto* window = new TAlarmClockForm(alarmWindows_, sound_, settings_, clock_, programDirectory_);
    window->ShowAlarm(note, soundFile);
    keepIfUnregistered(window, alarmWindows_);
}

void NotificationForms::showMemo(const std::string& text, const FontBlock& font) {
    auto* window = new TMemoForm(memoWindows_, sound_, clock_);
    window->ShowMemo(text, font);
    keepIfUnregistered(window, memoWindows_);
}

void NotificationForms::keepIfUnregistered(NotificationForm* window, const NotificationWindowTable& table) {
    if (!table.contains(window))
        unregistered_.emplace_back(window);
}

void NotificationForms::sweep() {
    memoWindows_.sweep();
    alarmWindows_.sweep();
}

} // namespace velloran
