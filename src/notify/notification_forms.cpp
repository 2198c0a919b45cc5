#include "notification_forms.h"

#include "alarm_clock_form.h"
#include "failure_notice.h"
#include "memo_form.h"
#include "notification_placement.h"
#include "platform/locale_dates.h"
#include "task_notice.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace velloran {
namespace {

// How long after its moment an occurrence counts as late: a scan finds a task a few seconds after it.
constexpr DateTime kLateAfter = 1.0 / (24 * 60);

Box boxOf(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

} // namespace

NotificationForms::NotificationForms(SoundPlayer& sound, DesktopNotifications& notifications,
                                     const SettingsRecord& settings, const Clock& clock,
                                     std::string programDirectory)
    : notifications_(notifications), ringing_(sound), settings_(settings), clock_(clock),
      programDirectory_(std::move(programDirectory)) {}

NotificationForms::~NotificationForms() {
    memoWindows_.destroyAll();
    alarmWindows_.destroyAll();
    for (const QPointer<NotificationForm>& window : unregistered_)
        delete window.data();
}

void NotificationForms::showAlarm(const std::string& note, const std::string& soundFile,
                                  const Occurrence& occurrence) {
    auto* window =
        new AlarmClockForm(alarmWindows_, ringing_, notifications_, settings_, clock_, programDirectory_);
    shareNotice(window, true, occurrence);
    place(window);
    window->showAlarm(note, soundFile);
    keepIfUnregistered(window, alarmWindows_);
    reachScreen();
}

void NotificationForms::showMemo(const std::string& text, const FontBlock& font,
                                 const Occurrence& occurrence) {
    auto* window = new MemoForm(memoWindows_, ringing_.sound(), notifications_, clock_);
    shareNotice(window, false, occurrence);
    place(window);
    window->showMemo(text, font);
    keepIfUnregistered(window, memoWindows_);
    reachScreen();
}

// A notice of its own for each task that did nothing; it has no window and no action.
void NotificationForms::tellFailure(const std::string& name, const std::string& target, OpenFailure why) {
    notifications_.post(failureNotice(QString::fromStdString(name), QString::fromStdString(target), why), {});
}

void NotificationForms::shareNotice(NotificationForm* window, bool alarm, const Occurrence& occurrence) {
    std::erase_if(notices_, [](const auto& entry) { return entry.second.expired(); });
    std::shared_ptr<TaskNotice> notice = notices_[{alarm, occurrence.taskId}].lock();
    if (!notice) {
        notice = std::make_shared<TaskNotice>(notifications_);
        notices_[{alarm, occurrence.taskId}] = notice;
    }
    const QString dueText = QString::fromStdString(
        displayText(occurrence.due, settings_.LongDateDisplay != 0, dateStyleOf(QLocale())));
    window->shareNotice(std::move(notice),
                        {occurrence.due, dueText, clock_.now() - occurrence.due >= kLateAfter});
}

void NotificationForms::reachScreen() {
    // The window system has the window before the scan records the occurrence as shown: a crash after
    // that record finds the window on the screen, not still in this program's buffers.
    QGuiApplication::sync();
}

void NotificationForms::place(NotificationForm* window) {
    std::erase_if(opened_, [](const QPointer<NotificationForm>& open) {
        return open.isNull() || open->closed() || !open->isVisible();
    });
    std::vector<Box> open;
    for (const QPointer<NotificationForm>& shown : opened_)
        open.push_back(boxOf(shown->frameGeometry()));
    opened_.emplace_back(window);

    // The screen of the newest open window, else the primary one.
    QScreen* screen = opened_.size() > 1 ? opened_[opened_.size() - 2]->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const Spot spot =
        placeNotification(window->width(), window->height(), boxOf(screen->availableGeometry()), open);
    window->move(spot.x, spot.y);
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
