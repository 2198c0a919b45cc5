// The notification windows on X11 (run by on_x_display.sh on a display of two screens with no window
// manager and no compositing manager). Which way shaped windows take: masked until a compositing
// manager holds every screen's _NET_WM_CM_S<n> selection, as a compositor announces itself, and masked
// again when it exits. And the keyboard: alarm and memo appear without taking it from the window the
// user types in, and take it when clicked.
#include "stand_ins.h"
#include "window_checks.h"

#include "look/shaped_windows.h"
#include "notify/alarm_clock_form.h"
#include "notify/memo_form.h"
#include "notify/notification_window_table.h"
#include "platform/ringing_sounds.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <xcb/xcb.h>

using namespace velloran;
using velloran::test::FixedClock;
using velloran::test::RecordingSoundPlayer;

namespace {

// A stand-in compositing manager: its own connection, which owns the selections it claims until it
// disconnects, as when the real one exits.
class CompositingManager {
public:
    CompositingManager() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~CompositingManager() { disconnect(); }
    CompositingManager(const CompositingManager&) = delete;
    CompositingManager& operator=(const CompositingManager&) = delete;

    bool connected() const { return connection_ != nullptr && xcb_connection_has_error(connection_) == 0; }

    // Claims _NET_WM_CM_S<screen> with a window of its own on that screen; true once the server agrees.
    bool claim(int screen) {
        xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screen && roots.rem > 0; ++i)
            xcb_screen_next(&roots);
        if (roots.rem == 0)
            return false;
        const xcb_window_t window = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, roots.data->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
        if (atom == nullptr)
            return false;
        xcb_set_selection_owner(connection_, window, atom->atom, XCB_CURRENT_TIME);
        xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, atom->atom), nullptr);
        const bool owned = owner != nullptr && owner->owner == window;
        std::free(owner);
        std::free(atom);
        return owned;
    }

    void disconnect() {
        if (connection_ != nullptr)
            xcb_disconnect(connection_);
        connection_ = nullptr;
    }

private:
    xcb_connection_t* connection_;
};

// The bit depth of a shown window's native X window: 32 carries an alpha channel.
int nativeDepth(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
        connection, xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window->winId())), nullptr);
    const int depth = geometry != nullptr ? geometry->depth : 0;
    std::free(geometry);
    return depth;
}

xcb_connection_t* qtConnection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// The window that has the keyboard, as the X server has it now: the round trip comes after every
// request Qt made so far.
xcb_window_t inputFocus() {
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(qtConnection(), xcb_get_input_focus(qtConnection()), nullptr);
    const xcb_window_t focus = reply != nullptr ? reply->focus : XCB_NONE;
    std::free(reply);
    return focus;
}

// A window's CARDINAL property, as a window manager reads it; -1 when it has none.
qint64 cardinal(QWidget* window, const char* name) {
    xcb_connection_t* connection = qtConnection();
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (atom == nullptr)
        return -1;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, static_cast<xcb_window_t>(window->winId()),
                                                atom->atom, XCB_ATOM_CARDINAL, 0, 1),
                               nullptr);
    std::free(atom);
    qint64 value = -1;
    if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
        value = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return value;
}

} // namespace

class ShapedWindowsX11Test : public QObject {
    Q_OBJECT

    FixedClock clock;
    RecordingSoundPlayer sound;
    test::RecordingNotifications notices;
    std::unique_ptr<NotificationWindowTable> table;

    MemoForm* showMemo() {
        auto* memo = new MemoForm(*table, sound, notices, clock);
        memo->showMemo("Water the plants", FontBlock{});
        return memo;
    }

    SettingsRecord settings = defaultSettings();
    RingingSounds ringing{sound};

    NotificationForm* showNotification(const QString& kind) {
        if (kind == QLatin1String("memo"))
            return showMemo();
        auto* alarm = new AlarmClockForm(*table, ringing, notices, settings, clock, "/opt/velloran/");
        alarm->showAlarm("Leave for the train", "bell.wav");
        return alarm;
    }

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display (run by on_x_display.sh)");
    }
    void init() { table = std::make_unique<NotificationWindowTable>(); }
    void cleanup() { table.reset(); }

    void rule_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("compositingManager");
        QTest::addColumn<bool>("alpha");
        QTest::newRow("wayland") << "wayland" << false << true;
        QTest::newRow("wayland-egl") << "wayland-egl" << false << true;
        QTest::newRow("x11, plain") << "xcb" << false << false;
        QTest::newRow("x11, composited") << "xcb" << true << true;
        QTest::newRow("offscreen") << "offscreen" << true << false;
        QTest::newRow("frame buffer") << "linuxfb" << false << false;
    }
    void rule() {
        QFETCH(QString, platform);
        QFETCH(bool, compositingManager);
        QFETCH(bool, alpha);
        QCOMPARE(shapedWindowsUseAlpha(platform, compositingManager), alpha);
    }

    void followsTheCompositingManager() {
        QVERIFY(!x11CompositingManagerRuns());
        QVERIFY(!shapedWindowsUseAlpha());
        MemoForm* masked = showMemo();
        QVERIFY(QTest::qWaitForWindowExposed(masked));
        QVERIFY(!masked->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!masked->mask().isEmpty());

        CompositingManager manager;
        QVERIFY(manager.connected());
        QVERIFY(manager.claim(0));
        // One screen of two composites: a clear window on the other would show black.
        QVERIFY(!x11CompositingManagerRuns());
        QVERIFY(manager.claim(1));
        QVERIFY(x11CompositingManagerRuns());
        QVERIFY(shapedWindowsUseAlpha());
        MemoForm* clear = showMemo();
        QVERIFY(QTest::qWaitForWindowExposed(clear));
        QVERIFY(clear->testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(nativeDepth(clear), 32);
        QCOMPARE(nativeDepth(masked), 24);
        // The pointer still passes by beside the paper.
        QVERIFY(!clear->mask().contains(QPoint(clear->width() - 1, clear->height() - 1)));

        // The server frees the selections when it notices the closed connection.
        manager.disconnect();
        QTRY_VERIFY(!x11CompositingManagerRuns());
        QVERIFY(!showMemo()->testAttribute(Qt::WA_TranslucentBackground));
    }

    void appearWithoutTakingTheKeyboard_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("clickedOn"); // a part that only takes the focus
        QTest::newRow("alarm") << "alarm"
                               << "TimeDisplay";
        QTest::newRow("memo") << "memo"
                              << "Memo1";
    }
    // Keys typed into another window while the alarm or memo appears stay there: a window manager is
    // told by a user time of 0 not to focus the window as it maps, and the program does not ask for it.
    // A click on the window takes the focus.
    void appearWithoutTakingTheKeyboard() {
        QFETCH(QString, kind);
        QFETCH(QString, clickedOn);
        QWidget typing;
        typing.resize(200, 100);
        typing.show();
        typing.activateWindow();
        QTRY_COMPARE(inputFocus(), static_cast<xcb_window_t>(typing.winId()));

        NotificationForm* form = showNotification(kind);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(cardinal(form, "_NET_WM_USER_TIME"), 0);
        QCoreApplication::processEvents(); // what Qt does once the window is mapped
        QCOMPARE(inputFocus(), static_cast<xcb_window_t>(typing.winId()));
        QVERIFY(!form->isActiveWindow());

        test::clickThroughItsWindow(*test::part<QWidget>(*form, clickedOn.toLatin1().constData()));
        QTRY_COMPARE(inputFocus(), static_cast<xcb_window_t>(form->winId()));
        QTRY_VERIFY(form->isActiveWindow());
        QVERIFY(!form->closed());
    }
};

QTEST_MAIN(ShapedWindowsX11Test)
#include "shaped_windows_x11_test.moc"
