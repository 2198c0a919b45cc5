// The desktop's notification service on the session bus. Every call is asynchronous: the user-interface
// thread never waits for the bus, and a desktop without the service simply sees no notices.
#pragma once

#include "desktop_notifications.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

class QDBusPendingCallWatcher;

namespace velloran {

class BusNotifications final : public QObject, public DesktopNotifications {
    Q_OBJECT
public:
    // appIcon names the program's icon, which the service shows with each notice.
    explicit BusNotifications(QString appIcon, QDBusConnection bus = QDBusConnection::sessionBus(),
                              QObject* parent = nullptr);

    NoticeId post(const DesktopNotice& notice, ActionHandler onAction) override;
    void withdraw(NoticeId id) override;

    // Notices posted and not yet withdrawn or closed by the service.
    int pending() const { return static_cast<int>(notices_.size()); }

private slots:
    // The service's signals; the bus connects them by name.
    void actionInvoked(uint serviceId, const QString& action);
    void activationToken(uint serviceId, const QString& token);
    void notificationClosed(uint serviceId, uint reason);

private:
    struct Posted {
        uint serviceId = 0; // 0 until the service has answered
        ActionHandler onAction;
        QString activationToken;
    };

    void posted(NoticeId id, QDBusPendingCallWatcher* call);
    void closeOnService(uint serviceId);
    Posted* byServiceId(uint serviceId);

    QString appIcon_;
    QDBusConnection bus_;
    QHash<NoticeId, Posted> notices_;
    NoticeId lastId_ = 0;
};

} // namespace velloran
