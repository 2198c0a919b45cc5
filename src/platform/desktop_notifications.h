// Notices on the desktop's notification service (org.freedesktop.Notifications), posted beside the alarm
// and memo windows. The service draws them above full-screen windows, so a ringing alarm is seen even
// where its window is not; where the desktop runs no such service, nothing is posted and nothing waits.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <utility>

namespace velloran {

struct DesktopNotice {
    QString summary;
    QString body; // plain text: whatever looks like markup is shown as typed
    bool critical = false;
    // Key and label of each action; the key "default" is a click on the notice itself.
    QList<std::pair<QString, QString>> actions;
};

class DesktopNotifications {
public:
    // Names a posted notice for withdraw(); 0 names none.
    using NoticeId = quint64;
    // The key of the action the user chose, and the token that the service handed over for bringing a
    // window forward (empty when it gave none).
    using ActionHandler = std::function<void(const QString& action, const QString& activationToken)>;

    virtual ~DesktopNotifications() = default;

    // Posts the notice; onAction runs on the user-interface thread for each action the user picks, until
    // the notice is withdrawn or the service closes it. Returns at once.
    virtual NoticeId post(const DesktopNotice& notice, ActionHandler onAction) = 0;
    // Takes the notice off the desktop; after this its handler never runs. Harmless for 0, for a notice
    // already gone, and for one the service has not yet acknowledged.
    virtual void withdraw(NoticeId id) = 0;
};

} // namespace velloran
