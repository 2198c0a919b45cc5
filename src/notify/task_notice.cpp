#include "task_notice.h"

#include <algorithm>
#include <utility>

namespace velloran {

void TaskNotice::ask(const void* window, const ShownOccurrence& occurrence, const DesktopNotice& notice,
                     DesktopNotifications::ActionHandler onAction) {
    std::erase_if(asking_, [window](const Asking& asking) { return asking.window == window; });
    asking_.push_back({window, occurrence, notice, std::move(onAction)});
    repost();
}

void TaskNotice::stopAsking(const void* window) {
    const auto removed =
        std::erase_if(asking_, [window](const Asking& asking) { return asking.window == window; });
    if (removed != 0 && !acting_)
        repost();
}

void TaskNotice::repost() {
    notifications_.withdraw(std::exchange(id_, 0));
    if (asking_.empty())
        return;
    DesktopNotice notice = asking_.back().notice;
    QString when;
    if (asking_.size() > 1) {
        const auto earliest =
            std::min_element(asking_.begin(), asking_.end(), [](const Asking& a, const Asking& b) {
                return a.occurrence.due < b.occurrence.due;
            });
        // Never fewer than two, so the text needs no singular.
        when = tr("Due %1 times since %2").arg(asking_.size()).arg(earliest->occurrence.dueText);
    } else if (asking_.back().occurrence.late) {
        when = tr("Due %1").arg(asking_.back().occurrence.dueText);
    }
    if (!when.isEmpty())
        notice.body = notice.body.isEmpty() ? when : when + QLatin1Char('\n') + notice.body;
    id_ = notifications_.post(notice, [this](const QString& action, const QString& activationToken) {
        act(action, activationToken);
    });
}

void TaskNotice::act(const QString& action, const QString& activationToken) {
    if (asking_.empty())
        return;
    if (action == QLatin1String("default")) {
        // A copy: bringing the window forward may change who asks.
        const DesktopNotifications::ActionHandler newest = asking_.back().onAction;
        newest(action, activationToken);
        return;
    }
    // Snooze or Turn off answers every occurrence the notice counts. Each window stops asking as it
    // answers, so they are called from a copy and the notice is posted again once, at the end.
    std::vector<DesktopNotifications::ActionHandler> handlers;
    for (const Asking& asking : asking_)
        handlers.push_back(asking.onAction);
    const std::size_t before = asking_.size();
    acting_ = true;
    for (const auto& handler : handlers)
        handler(action, activationToken);
    acting_ = false;
    if (asking_.size() != before)
        repost();
}

} // namespace velloran
