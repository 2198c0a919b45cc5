// The notification service's protocol as the program speaks it, against a service of the test's own on
// a private bus: what a notice carries, actions with the token sent before them, notices withdrawn
// before the service answered, closed by the service, or posted where no service runs.
#include "platform/bus_notifications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTest>

using namespace velloran;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// A notification service that keeps what it was asked and answers at once, or when told to.
class FakeService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeService(QDBusConnection bus) : bus_(std::move(bus)) {}

    struct Notice {
        QString appName, appIcon, summary, body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };
    QList<Notice> notices;
    QList<uint> closed;
    bool holdAnswers = false;
    QList<QDBusMessage> held;

    void emitSignal(const QString& name, const QVariantList& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, name);
        signal.setArguments(arguments);
        bus_.send(signal);
    }
    void answerHeld() {
        for (const QDBusMessage& reply : std::exchange(held, {}))
            bus_.send(reply);
    }

public slots:
    uint Notify(const QString& appName, uint, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout,
                const QDBusMessage& message) {
        notices.append({appName, appIcon, summary, body, actions, hints, timeout});
        const uint id = static_cast<uint>(notices.size()) + 40;
        if (holdAnswers) {
            message.setDelayedReply(true);
            held << message.createReply(QVariant::fromValue(id));
        }
        return id;
    }
    void CloseNotification(uint id) { closed << id; }

private:
    QDBusConnection bus_;
};

} // namespace

class BusNotificationsTest : public QObject {
    Q_OBJECT

    QDBusConnection serviceBus{QString()};
    std::unique_ptr<FakeService> service;

    void startService() {
        serviceBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("service"));
        QVERIFY(serviceBus.isConnected());
        service = std::make_unique<FakeService>(serviceBus);
        QVERIFY(serviceBus.registerObject(kPath, service.get(), QDBusConnection::ExportAllSlots));
        QVERIFY(serviceBus.registerService(kService));
    }

private slots:
    void init() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"), "run on a private session bus");
    }
    void cleanup() {
        if (service) {
            serviceBus.unregisterService(kService);
            serviceBus.unregisterObject(kPath);
            service.reset();
            QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        }
    }

    // First: no service on the bus, and the bus starts none. The notice is forgotten once the bus
    // says so, and withdrawing it is harmless.
    void withoutAServiceNothingShowsAndNothingIsKept() {
        BusNotifications notifications(QStringLiteral("velloran"));
        const auto id = notifications.post({QStringLiteral("Alarm Clock"), {}, true, {}}, {});
        QVERIFY(id != 0);
        QTRY_COMPARE(notifications.pending(), 0);
        notifications.withdraw(id);
        notifications.withdraw(0);
    }

    void noticeCarriesItsTextsUrgencyAndButtons() {
        startService();
        BusNotifications notifications(QStringLiteral("velloran"));
        notifications.post({QStringLiteral("Alarm Clock"),
                            QStringLiteral("Bus <at> 7 & \"go\""),
                            true,
                            {{QStringLiteral("default"), QStringLiteral("Show")},
                             {QStringLiteral("snooze"), QStringLiteral("Snooze")}}},
                           {});
        notifications.post({QStringLiteral("Memo"), QStringLiteral("Milk"), false, {}}, {});
        QTRY_COMPARE(service->notices.size(), 2);
        const FakeService::Notice alarm = service->notices.at(0);
        QCOMPARE(alarm.appName, QString("Velloran"));
        QCOMPARE(alarm.appIcon, QString("velloran"));
        QCOMPARE(alarm.summary, QString("Alarm Clock"));
        // Services read the body as markup: the note's own angle brackets and ampersands stay text.
        QCOMPARE(alarm.body, QString("Bus &lt;at&gt; 7 &amp; &quot;go&quot;"));
        QCOMPARE(alarm.actions, (QStringList{"default", "Show", "snooze", "Snooze"}));
        QCOMPARE(alarm.hints.value("urgency").value<uchar>(), uchar(2));
        QCOMPARE(alarm.hints.value("urgency").metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(alarm.hints.value("desktop-entry").toString(), QString("velloran"));
        QCOMPARE(alarm.timeout, 0); // stays until withdrawn
        const FakeService::Notice memo = service->notices.at(1);
        QCOMPARE(memo.hints.value("urgency").value<uchar>(), uchar(1));
        QCOMPARE(memo.timeout, -1);
        QTRY_COMPARE(notifications.pending(), 2);
    }

    void actionArrivesWithTheTokenSentBeforeIt() {
        startService();
        BusNotifications notifications(QStringLiteral("velloran"));
        QStringList chosen;
        const auto first = notifications.post(
            {QStringLiteral("Alarm Clock"), {}, true, {}},
            [&](const QString& action, const QString& token) { chosen << action + '|' + token; });
        notifications.post({QStringLiteral("Memo"), {}, false, {}},
                           [&](const QString& action, const QString&) { chosen << "memo:" + action; });
        QTRY_COMPARE(service->notices.size(), 2);
        QTest::qWait(50); // the answers reach the program
        service->emitSignal("ActivationToken", {41u, QStringLiteral("token-1")});
        service->emitSignal("ActionInvoked", {41u, QStringLiteral("default")});
        QTRY_COMPARE(chosen, QStringList{"default|token-1"});
        // A token belongs to one action only.
        service->emitSignal("ActionInvoked", {41u, QStringLiteral("snooze")});
        // Another program's notice and the memo's.
        service->emitSignal("ActionInvoked", {99u, QStringLiteral("default")});
        service->emitSignal("ActionInvoked", {42u, QStringLiteral("default")});
        QTRY_COMPARE(chosen, (QStringList{"default|token-1", "snooze|", "memo:default"}));

        // Withdrawn: closed on the service, and its actions reach nobody.
        notifications.withdraw(first);
        QTRY_COMPARE(service->closed, QList<uint>{41u});
        service->emitSignal("ActionInvoked", {41u, QStringLiteral("snooze")});
        QTest::qWait(100);
        QCOMPARE(chosen.size(), 3);
    }

    void withdrawnBeforeTheServiceAnsweredIsClosedWhenItDoes() {
        startService();
        service->holdAnswers = true;
        BusNotifications notifications(QStringLiteral("velloran"));
        const auto id = notifications.post({QStringLiteral("Alarm Clock"), {}, true, {}}, {});
        QTRY_COMPARE(service->notices.size(), 1);
        notifications.withdraw(id);
        QCOMPARE(notifications.pending(), 0);
        QVERIFY(service->closed.isEmpty());
        service->answerHeld();
        QTRY_COMPARE(service->closed, QList<uint>{41u});
    }

    void closedByTheServiceIsForgotten() {
        startService();
        BusNotifications notifications(QStringLiteral("velloran"));
        int calls = 0;
        const auto id = notifications.post({QStringLiteral("Memo"), {}, false, {}},
                                           [&](const QString&, const QString&) { ++calls; });
        QTRY_COMPARE(service->notices.size(), 1);
        QTest::qWait(50);
        service->emitSignal("NotificationClosed", {41u, 2u}); // the user dismissed it
        QTRY_COMPARE(notifications.pending(), 0);
        service->emitSignal("ActionInvoked", {41u, QStringLiteral("default")});
        QTest::qWait(100);
        QCOMPARE(calls, 0);
        notifications.withdraw(id); // nothing left to close
        QTest::qWait(50);
        QVERIFY(service->closed.isEmpty());
    }
};

QTEST_GUILESS_MAIN(BusNotificationsTest)
#include "bus_notifications_test.moc"
