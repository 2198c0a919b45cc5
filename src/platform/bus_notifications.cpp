#include "bus_notifications.h"

#include "logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace velloran {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

constexpr uchar kCriticalUrgency = 2;
constexpr uchar kNormalUrgency = 1;

QDBusMessage serviceCall(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

BusNotifications::BusNotifications(QString appIcon, QDBusConnection bus, QObject* parent)
    : QObject(parent), appIcon_(std::move(appIcon)), bus_(std::move(bus)) {
    if (!bus_.isConnected())
        return;
    // QtDBus connects signals of the bus only by their signatures.
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActivationToken"), this,
                 SLOT(activationToken(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
}

DesktopNotifications::NoticeId BusNotifications::post(const DesktopNotice& notice, ActionHandler onAction) {
    if (!bus_.isConnected())
        return 0;
    QStringList actions;
    for (const auto& [key, label] : notice.actions)
        actions << key << label;
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(notice.critical ? kCriticalUrgency : kNormalUrgency));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("velloran"));
    // The window plays the alarm's own sound; the service adds none of its own.
    hints.insert(QStringLiteral("suppress-sound"), true);

    QDBusMessage notify = serviceCall(QStringLiteral("Notify"));
    // A critical notice stays until it is withdrawn; others as long as the service keeps notices.
    notify << QStringLiteral("Velloran") << 0u << appIcon_ << notice.summary << notice.body.toHtmlEscaped()
           << actions << hints << (notice.critical ? 0 : -1);

    const NoticeId id = ++lastId_;
    qCDebug(logWindow, "notice %llu posted: %s", static_cast<unsigned long long>(id),
            qPrintable(notice.summary));
    notices_.insert(id, Posted{0, std::move(onAction), {}});
    auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(notify), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, id](QDBusPendingCallWatcher* finished) { posted(id, finished); });
    return id;
}

void BusNotifications::posted(NoticeId id, QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    const auto found = notices_.find(id);
    if (reply.isError()) {
        // No service, or one that refused: the window alone carries the alarm, as without a service.
        if (found != notices_.end())
            notices_.erase(found);
        return;
    }
    if (found == notices_.end()) {
        // Withdrawn while the service was still posting it.
        closeOnService(reply.value());
        return;
    }
    found->serviceId = reply.value();
}

void BusNotifications::withdraw(NoticeId id) {
    const auto found = notices_.find(id);
    if (found == notices_.end())
        return;
    const uint serviceId = found->serviceId;
    notices_.erase(found);
    if (serviceId != 0)
        closeOnService(serviceId);
}

void BusNotifications::closeOnService(uint serviceId) {
    QDBusMessage close = serviceCall(QStringLiteral("CloseNotification"));
    close << serviceId;
    // The answer tells nothing worth waiting for.
    close.setAutoStartService(false);
    bus_.send(close);
}

BusNotifications::Posted* BusNotifications::byServiceId(uint serviceId) {
    if (serviceId == 0)
        return nullptr;
    for (Posted& notice : notices_)
        if (notice.serviceId == serviceId)
            return &notice;
    return nullptr;
}

void BusNotifications::activationToken(uint serviceId, const QString& token) {
    // Sent just before the action it belongs to.
    if (Posted* notice = byServiceId(serviceId))
        notice->activationToken = token;
}

void BusNotifications::actionInvoked(uint serviceId, const QString& action) {
    Posted* notice = byServiceId(serviceId);
    if (notice == nullptr)
        return;
    // The handler may withdraw this very notice: it runs from a copy.
    const ActionHandler handler = notice->onAction;
    const QString token = std::exchange(notice->activationToken, QString());
    if (handler)
        handler(action, token);
}

void BusNotifications::notificationClosed(uint serviceId, uint /*reason*/) {
    for (auto it = notices_.begin(); it != notices_.end(); ++it) {
        if (it->serviceId == serviceId) {
            notices_.erase(it);
            return;
        }
    }
}

} // namespace velloran
