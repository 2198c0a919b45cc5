// Which way shaped windows take on X11 (run by on_x_display.sh on a display of two screens with no
// compositing manager): masked until a compositing manager holds every screen's _NET_WM_CM_S<n>
// selection, as a compositor announces itself, and masked again when it exits.
#include "stand_ins.h"
#include "window_checks.h"

#include "look/shaped_windows.h"
#include "notify/memo_form.h"
#include "notify/notification_window_table.h"

#include <QGuiApplication>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
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
};

QTEST_MAIN(ShapedWindowsX11Test)
#include "shaped_windows_x11_test.moc"
