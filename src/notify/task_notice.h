// The desktop notice that stands for the open windows of one task. The occurrences that a long absence
// catches up on ask in one notice, which says how many they are and since when, instead of one notice
// each; a single late occurrence's notice says when it was due.
#pragma once

#include "common/datetime.h"
#include "platform/desktop_notifications.h"

#include <QCoreApplication>
#include <QString>
#include <vector>

namespace velloran {

// The occurrence that a window shows: when it was due, that moment as the task list shows it, and
// whether it came late.
struct ShownOccurrence {
    DateTime due = 0;
    QString dueText;
    bool late = false;
};

class TaskNotice {
    Q_DECLARE_TR_FUNCTIONS(TaskNotice)
public:
    explicit TaskNotice(DesktopNotifications& notifications) : notifications_(notifications) {}
    ~TaskNotice() { notifications_.withdraw(id_); }
    TaskNotice(const TaskNotice&) = delete;
    TaskNotice& operator=(const TaskNotice&) = delete;

    // The window asks for attention with its own notice, replacing what it asked before; the newest
    // asking window's notice is shown. A click on the notice reaches the newest window, every other
    // action each window that asks.
    void ask(const void* window, const ShownOccurrence& occurrence, const DesktopNotice& notice,
             DesktopNotifications::ActionHandler onAction);
    // The window asks no more; the notice goes with the last one.
    void stopAsking(const void* window);

private:
    struct Asking {
        const void* window;
        ShownOccurrence occurrence;
        DesktopNotice notice;
        DesktopNotifications::ActionHandler onAction;
    };
    void repost();
    void act(const QString& action, const QString& activationToken);

    DesktopNotifications& notifications_;
    std::vector<Asking> asking_; // oldest first
    DesktopNotifications::NoticeId id_ = 0;
    bool acting_ = false; // the windows' answers to one action repost once, at its end
};

} // namespace velloran
