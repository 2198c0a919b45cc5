// The single-instance lock, its folder and message, close requests of the system, and the tray icon's
// hint rule.
#include "files/file_lock.h"
#include "files/task_file_lock.h"
#include "shell/edge_anchors.h"
#include "shell/second_start.h"
#include "shell/single_instance.h"
#include "shell/system_close_requests.h"
#include "shell/tray_icon.h"
#include "stand_ins.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace velloran;

namespace {

// The main window's requests to the window system while it lives, from the program's log.
class WindowRequests {
public:
    WindowRequests() : previous_(qInstallMessageHandler(keep)) {
        lines().clear();
        QLoggingCategory::setFilterRules("velloran.window.debug=true");
    }
    ~WindowRequests() {
        QLoggingCategory::setFilterRules({});
        qInstallMessageHandler(previous_);
    }
    static QStringList& lines() {
        static QStringList kept;
        return kept;
    }

private:
    static void keep(QtMsgType, const QMessageLogContext& context, const QString& text) {
        // The requests only, not what the window system reported.
        if (context.category != nullptr && std::strcmp(context.category, "velloran.window") == 0 &&
            !text.startsWith(QLatin1String("main window ")))
            lines() << text;
    }
    QtMessageHandler previous_;
};

// Calls back on each change of the window to minimised, as the main window does.
class AnswersMinimises : public QObject {
public:
    AnswersMinimises(QWidget* window, std::function<void()> answer)
        : window_(window), answer_(std::move(answer)) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::WindowStateChange && window_->isMinimized())
            answer_();
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> answer_;
};

// A raw client of the instance's socket, for messages a second start would never send; -1 on failure.
int connectTo(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(name.size()) >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

bool sendAll(int fd, const QByteArray& bytes) {
    return ::send(fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
}

// True once the instance has closed its end (no wait: the event loop must run meanwhile).
bool closedByInstance(int fd) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 0) != 1)
        return false;
    char byte;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

// A socket file as a killed instance leaves it: bound, then never removed.
bool leaveDeadSocket(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

std::string path(const QTemporaryDir& dir, const char* name) {
    return QFile::encodeName(dir.filePath(name)).toStdString();
}

// A start with the runtime folder "run" of dir and the task file in it, whose answer to each box the test
// gives; a close request where closeRequested says.
struct Start {
    QTemporaryDir& dir;
    bool closeRequested = false;
    std::chrono::milliseconds closingWait{3000};
    SingleInstance instance{dir.filePath("run")};
    TaskFileLock taskLock{path(dir, "tasks.tsk")};

    bool run() {
        return claimStart(
            instance, taskLock, path(dir, "tasks.tsk"), {}, [this] { return closeRequested; }, closingWait,
            [](QWidget*) { return QString(); });
    }
};

} // namespace

class ShellPartsTest : public QObject {
    Q_OBJECT
private slots:
    void secondClaimFailsAndReachesTheFirst() {
        QTemporaryDir dir;
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        QCOMPARE(QFile(dir.filePath("run")).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        SingleInstance second(dir.filePath("run"));
        QVERIFY(!second.claim());
        QSignalSpy restore(&first, &SingleInstance::restoreRequested);
        // The second start asks from outside the event loop, as it does before exiting.
        bool answered = false;
        QTimer::singleShot(0, [&] { answered = second.askRunningInstanceToRestore(); });
        QTRY_COMPARE(restore.count(), 1);
        QVERIFY(answered);
        // Without a token the window comes back all the same.
        QCOMPARE(restore.at(0).at(0).toString(), QString());
        QCOMPARE(restore.at(0).at(1).toString(), QString());
    }

    void theSecondStartsTokensReachTheFirst() {
        QTemporaryDir dir;
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        QSignalSpy restore(&first, &SingleInstance::restoreRequested);
        SingleInstance second(dir.filePath("run"));
        QTimer::singleShot(0, [&] {
            second.askRunningInstanceToRestore({"wayland-token_1", "launcher-7-host-velloran-0_TIME42"});
        });
        QTRY_COMPARE(restore.count(), 1);
        QCOMPARE(restore.at(0).at(0).toString(), QString("wayland-token_1"));
        QCOMPARE(restore.at(0).at(1).toString(), QString("launcher-7-host-velloran-0_TIME42"));
        // A message that is not a restore request brings nothing back.
        const int stranger = connectTo(dir.filePath("run/velloran.socket"));
        QVERIFY(stranger >= 0);
        QVERIFY(sendAll(stranger, "quit\n\n"));
        QTRY_VERIFY(closedByInstance(stranger));
        ::close(stranger);
        QCOMPARE(restore.count(), 1);
    }

    // A client that connects and says nothing must not keep a later second start from being heard, and
    // is let go after a while.
    void aSilentClientDoesNotStopALaterRestore() {
        QTemporaryDir dir;
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        QSignalSpy restore(&first, &SingleInstance::restoreRequested);
        const int silent = connectTo(dir.filePath("run/velloran.socket"));
        QVERIFY(silent >= 0);
        QTest::qWait(50);
        SingleInstance second(dir.filePath("run"));
        bool answered = false;
        QTimer::singleShot(0, [&] {
            answered = second.askRunningInstanceToRestore({"token-after-silence", ""});
        });
        QTRY_COMPARE(restore.count(), 1);
        QVERIFY(answered);
        QCOMPARE(restore.at(0).at(0).toString(), QString("token-after-silence"));
        QTRY_VERIFY_WITH_TIMEOUT(closedByInstance(silent), 15000);
        ::close(silent);
        QCOMPARE(restore.count(), 1);
    }

    // A request may come in pieces; it counts once, when its last line is there.
    void aRequestSplitOverSeveralWritesCountsOnce() {
        QTemporaryDir dir;
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        QSignalSpy restore(&first, &SingleInstance::restoreRequested);
        const int client = connectTo(dir.filePath("run/velloran.socket"));
        QVERIFY(client >= 0);
        const QByteArray whole = QByteArray::fromStdString(encodeRestoreRequest({"split-token", "id_TIME7"}));
        const qsizetype third = whole.size() / 3;
        QVERIFY(sendAll(client, whole.left(third)));
        QTest::qWait(100);
        QVERIFY(sendAll(client, whole.mid(third, third)));
        QTest::qWait(100);
        QCOMPARE(restore.count(), 0);
        QVERIFY(!closedByInstance(client));
        QVERIFY(sendAll(client, whole.mid(2 * third)));
        QTRY_COMPARE(restore.count(), 1);
        QCOMPARE(restore.at(0).at(0).toString(), QString("split-token"));
        QCOMPARE(restore.at(0).at(1).toString(), QString("id_TIME7"));
        QTRY_VERIFY(closedByInstance(client));
        ::close(client);
        QTest::qWait(50);
        QCOMPARE(restore.count(), 1);
    }

    // What came before a hang-up counts, once.
    void aHangUpBeforeTheEmptyLineStillRestores() {
        QTemporaryDir dir;
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        QSignalSpy restore(&first, &SingleInstance::restoreRequested);
        const int client = connectTo(dir.filePath("run/velloran.socket"));
        QVERIFY(client >= 0);
        QVERIFY(sendAll(client, "restore\nactivation-token=cut-short\n"));
        ::close(client);
        QTRY_COMPARE(restore.count(), 1);
        QCOMPARE(restore.at(0).at(0).toString(), QString("cut-short"));
        QTest::qWait(50);
        QCOMPARE(restore.count(), 1);
    }

    void theSocketOfAKilledInstanceIsReplaced() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("run"));
        QFile::setPermissions(dir.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(leaveDeadSocket(dir.filePath("run/velloran.socket")));
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        QSignalSpy restore(&first, &SingleInstance::restoreRequested);
        SingleInstance second(dir.filePath("run"));
        QTimer::singleShot(0, [&] { second.askRunningInstanceToRestore(); });
        QTRY_COMPARE(restore.count(), 1);
    }

    // A link under the socket's name is neither followed nor removed.
    void aLinkInPlaceOfTheSocketIsLeftAlone() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("run"));
        QFile target(dir.filePath("target"));
        QVERIFY(target.open(QIODevice::WriteOnly));
        target.close();
        QVERIFY(QFile::link(dir.filePath("target"), dir.filePath("run/velloran.socket")));
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        struct stat info {};
        QCOMPARE(::lstat(QFile::encodeName(dir.filePath("run/velloran.socket")).constData(), &info), 0);
        QVERIFY(S_ISLNK(info.st_mode));
        QVERIFY(QFile::exists(dir.filePath("target")));
        SingleInstance second(dir.filePath("run"));
        QVERIFY(!second.askRunningInstanceToRestore());
    }

    // Socket paths hold at most 107 bytes: a deeper folder still gives one instance, just no restore.
    void aFolderTooDeepForASocketFailsCleanly() {
        QTemporaryDir dir;
        const QString deep = dir.filePath(QString(120, QChar('d')) + "/run");
        QVERIFY(QDir().mkpath(deep));
        SingleInstance first(deep);
        QVERIFY(first.claim());
        QVERIFY(!QFile::exists(deep + "/velloran.socket"));
        SingleInstance second(deep);
        QVERIFY(!second.claim());
        QVERIFY(!second.askRunningInstanceToRestore());
    }

    void theSocketGoesWithTheInstance() {
        QTemporaryDir dir;
        {
            SingleInstance first(dir.filePath("run"));
            QVERIFY(first.claim());
            QVERIFY(QFile::exists(dir.filePath("run/velloran.socket")));
        }
        QVERIFY(!QFile::exists(dir.filePath("run/velloran.socket")));
    }

    void lockOfAKilledInstanceIsTakenOver() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("run"));
        // A lock file as a process that is gone would have left it.
        QFile lock(dir.filePath("run/velloran.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\nvelloran\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        SingleInstance instance(dir.filePath("run"));
        QVERIFY(instance.claim());
    }

    // A crash or power cut while the lock file was written leaves it empty or half written; the lock is
    // the kernel's, so no such file stops a start, and the start it let through then holds the lock.
    void aDamagedLockFileDoesNotStopAStart_data() {
        QTest::addColumn<QByteArray>("left");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("zeros") << QByteArray(16, '\0');
        QTest::newRow("half a line") << QByteArray("4");
        QTest::newRow("no process") << QByteArray("not a number\n");
    }
    void aDamagedLockFileDoesNotStopAStart() {
        QFETCH(QByteArray, left);
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("run"));
        QFile lock(dir.filePath("run/velloran.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(left);
        lock.close();
        lock.setPermissions(QFile::Permissions());
        SingleInstance first(dir.filePath("run"));
        QVERIFY(first.claim());
        SingleInstance second(dir.filePath("run"));
        QVERIFY(!second.claim());
    }

    // Whoever holds the lock, the second start is refused and asks the question; the lock ends with
    // its holder.
    void aHeldLockRefusesUntilItIsLetGo() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("run"));
        FileLock other;
        QCOMPARE(
            other.tryLock(QFile::encodeName(dir.filePath("run/velloran.lock")).toStdString()).valueOr({}),
            FileLock::State::Held);
        {
            SingleInstance refused(dir.filePath("run"));
            QVERIFY(!refused.claim());
        }
        other.release();
        SingleInstance instance(dir.filePath("run"));
        QVERIFY(instance.claim());
    }

    // Without a runtime folder, and with the temporary folder's name taken, the lock lives on the disk
    // in the cache folder, where a damaged file survives a reboot: it behaves the same there.
    void theLockInTheCacheFolderBehavesTheSame() {
        QTemporaryDir dir;
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), temp = qgetenv("TMPDIR"),
                         cache = qgetenv("XDG_CACHE_HOME");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(dir.filePath("tmp")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
        QDir().mkpath(dir.filePath("tmp"));
        QDir().mkpath(dir.filePath("cache/velloran"));
        QVERIFY(QFile::link(dir.filePath("elsewhere"),
                            dir.filePath(QString("tmp/velloran-%1").arg(::geteuid()))));
        QFile lock(dir.filePath("cache/velloran/velloran.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.close();
        SingleInstance first, second;
        const auto restore = [&] {
            runtime.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", runtime);
            temp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
            cache.isNull() ? qunsetenv("XDG_CACHE_HOME") : qputenv("XDG_CACHE_HOME", cache);
        };
        restore();
        QCOMPARE(first.folder(), dir.filePath("cache/velloran"));
        QVERIFY(first.claim());
        QVERIFY(!second.claim());
        QSignalSpy restored(&first, &SingleInstance::restoreRequested);
        QTimer::singleShot(0, [&] { second.askRunningInstanceToRestore(); });
        QTRY_COMPARE(restored.count(), 1);
    }

    void noInstanceToRestoreIsReported() {
        QTemporaryDir dir;
        SingleInstance nobody(dir.filePath("empty"));
        QVERIFY(!nobody.askRunningInstanceToRestore());
    }

    // SIGTERM while a second start asks its question, or during the splash: the modal window ends as its
    // Escape would, and the request waits for the main window.
    void aCloseBeforeTheMainWindowEndsModalWindowsAndWaits() {
        SystemCloseRequests requests;
        QMessageBox question(QMessageBox::Warning, "Application running", "Running",
                             QMessageBox::Ok | QMessageBox::Cancel);
        QTimer::singleShot(0, [&] { QVERIFY(requests.request()); });
        QCOMPARE(question.exec(), int(QMessageBox::Cancel));
        QVERIFY(requests.requested());
        // A window that opens after the request, before the main window exists, is ended as well.
        QDialog splash;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(splash.exec(), int(QDialog::Rejected));
        QVERIFY(clock.elapsed() < 2000);
        int closes = 0;
        requests.attach(
            [&] {
                ++closes;
                return false;
            },
            [] { return false; });
        QCOMPARE(closes, 0); // not while the main window is still being set up
        QTRY_COMPARE(closes, 1);
        // From now on a request goes to the main window, and a refused close is reported as such.
        QVERIFY(!requests.request());
        QCOMPARE(closes, 2);
    }

    void aCloseAfterTheMainWindowExistsLeavesOtherWindowsToIt() {
        SystemCloseRequests requests;
        int closes = 0;
        requests.attach(
            [&] {
                ++closes;
                return true;
            },
            [] { return false; });
        QMessageBox editorWarning(QMessageBox::Warning, "Warning", "Check", QMessageBox::Ok);
        editorWarning.show();
        QVERIFY(requests.request());
        QCOMPARE(closes, 1);
        QVERIFY(editorWarning.isVisible());
    }

    // A session's end tells the application to quit, which alone would skip the close path of a main
    // window in the tray; the quit goes to the close path, and is held back while the close is refused.
    void aQuitFromTheSessionTakesTheClosePath() {
        SystemCloseRequests requests;
        int closes = 0;
        requests.attach(
            [&] {
                ++closes;
                return false; // the user cancelled the countdown
            },
            [] { return false; });
        QEvent quit(QEvent::Quit);
        QVERIFY(QCoreApplication::sendEvent(qApp, &quit)); // held back: the test goes on running
        QCOMPARE(closes, 1);
        // Other events pass untouched.
        QEvent other(QEvent::User);
        QVERIFY(!requests.eventFilter(qApp, &other));
    }

    // Each control keeps its distances to the edges it is anchored to, and stands as drawn at the designed
    // size or below it.
    void anchoredControlsFollowTheirEdges() {
        QWidget parent;
        parent.resize(200, 100);
        QWidget all(&parent), lowerLeft(&parent), lowerRight(&parent), upperLeft(&parent), wide(&parent);
        all.setGeometry(0, 10, 201, 50);
        lowerLeft.setGeometry(5, 70, 40, 20);
        lowerRight.setGeometry(150, 68, 45, 20);
        upperLeft.setGeometry(5, 5, 10, 10);
        wide.setGeometry(5, 62, 100, 4);
        EdgeAnchors anchors({200, 100});
        anchors.anchor(&all, EdgeAnchors::Left | EdgeAnchors::Top | EdgeAnchors::Right | EdgeAnchors::Bottom);
        anchors.anchor(&lowerLeft, EdgeAnchors::Left | EdgeAnchors::Bottom);
        anchors.anchor(&lowerRight, EdgeAnchors::Right | EdgeAnchors::Bottom);
        anchors.anchor(&upperLeft, EdgeAnchors::Left | EdgeAnchors::Top);
        anchors.anchor(&wide, EdgeAnchors::Left | EdgeAnchors::Right);
        anchors.follow({230, 140});
        QCOMPARE(all.geometry(), QRect(0, 10, 231, 90));
        QCOMPARE(lowerLeft.geometry(), QRect(5, 110, 40, 20));
        QCOMPARE(lowerRight.geometry(), QRect(180, 108, 45, 20));
        QCOMPARE(upperLeft.geometry(), QRect(5, 5, 10, 10));
        QCOMPARE(wide.geometry(), QRect(5, 62, 130, 4));
        // Smaller than drawn, in one direction or both: the drawn places, never overlapping ones.
        anchors.follow({150, 120});
        QCOMPARE(all.geometry(), QRect(0, 10, 201, 70));
        QCOMPARE(lowerRight.geometry(), QRect(150, 88, 45, 20));
        anchors.follow({10, 10});
        QCOMPARE(all.geometry(), QRect(0, 10, 201, 50));
        QCOMPARE(lowerLeft.geometry(), QRect(5, 70, 40, 20));
        QCOMPARE(lowerRight.geometry(), QRect(150, 68, 45, 20));
        QCOMPARE(wide.geometry(), QRect(5, 62, 100, 4));
    }

    // A control that went away before its parent was resized is passed over.
    void aControlGoneIsPassedOver() {
        QWidget parent;
        auto* gone = new QWidget(&parent);
        QWidget stays(&parent);
        gone->setGeometry(1, 1, 5, 5);
        stays.setGeometry(1, 20, 5, 5);
        EdgeAnchors anchors({50, 50});
        anchors.anchor(gone, EdgeAnchors::Bottom);
        anchors.anchor(&stays, EdgeAnchors::Bottom);
        delete gone;
        anchors.follow({50, 60});
        QCOMPARE(stays.geometry(), QRect(1, 30, 5, 5));
    }

    void hintOfSixtyFourCharactersIsIgnored() {
        QWidget window;
        TrayIcon tray(&window);
        tray.setHint("Velloran - right click for options");
        const QString sixtyThree(63, 'x');
        tray.setHint(sixtyThree);
        QCOMPARE(tray.hint(), sixtyThree);
        tray.setHint(QString(64, 'y'));
        QCOMPARE(tray.hint(), sixtyThree);
    }

    // A tray that comes after the program (a panel that starts late at logon) and one that restarts.
    void aWindowMinimisedForWantOfATrayGoesThereWhenOneComes() {
        bool present = false;
        QWidget window;
        TrayIcon tray(&window, [&] { return present; });
        tray.setVisible(true);
        window.show();
        tray.sendToTray();
        QVERIFY(window.isVisible() && window.isMinimized());
        QVERIFY(tray.systemIcon() == nullptr);
        present = true;
        tray.checkTray();
        QVERIFY(!window.isVisible());
        QVERIFY(tray.systemIcon() != nullptr && tray.systemIcon()->isVisible());
        // The panel restarts: reachable meanwhile, back in the tray after.
        present = false;
        tray.checkTray();
        QVERIFY(window.isVisible() && window.isMinimized());
        present = true;
        tray.checkTray();
        QVERIFY(!window.isVisible());
        tray.restore();
        QVERIFY(window.isVisible() && !window.isMinimized());
    }

    void aWindowTheUserBroughtBackStaysWhenATrayComesOrGoes() {
        bool present = false;
        QWidget window;
        TrayIcon tray(&window, [&] { return present; });
        tray.setVisible(true);
        // The icon that the closing program took away is not made again by a tray that comes.
        QWidget other;
        TrayIcon closing(&other, [&] { return present; });
        closing.setVisible(true);
        closing.setVisible(false);
        window.show();
        tray.sendToTray();
        // The window system's answer to the minimise, then the user restores it from the task bar, not
        // through the tray's commands.
        window.setWindowState(Qt::WindowNoState);
        window.setWindowState(Qt::WindowMinimized);
        window.showNormal();
        present = true;
        tray.checkTray();
        closing.checkTray();
        QVERIFY(tray.systemIcon() != nullptr);
        QVERIFY(closing.systemIcon() == nullptr);
        QVERIFY(window.isVisible() && !window.isMinimized());
        present = false;
        tray.checkTray();
        QVERIFY(window.isVisible() && !window.isMinimized());
    }

    // Off X11 the icon is a StatusNotifier item: the host shows the exported menu and decides what a
    // click is, so each Activate restores and ContextMenu opens the menu.
    void aStatusNotifierItemExportsTheMenuAndRestoresOnEachActivate() {
        QWidget window;
        QMenu menu;
        menu.addAction("&Open Task Scheduler");
        TrayIcon tray(&window, [] { return true; });
        tray.setVisible(true);
        tray.setPopupMenu(&menu);
        QVERIFY(tray.statusNotifierItem());
        auto* icon = const_cast<QSystemTrayIcon*>(tray.systemIcon());
        QVERIFY(icon != nullptr);
        QCOMPARE(icon->contextMenu(), &menu);
        window.show();
        for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger,
                                  QSystemTrayIcon::MiddleClick, QSystemTrayIcon::DoubleClick}) {
            tray.sendToTray();
            QVERIFY(!window.isVisible());
            // One at a time, far apart or not: each one restores.
            emit icon->activated(reason);
            QVERIFY2(window.isVisible(), qPrintable(QString::number(reason)));
            // A second one on a shown window leaves it shown.
            emit icon->activated(reason);
            QVERIFY(window.isVisible());
        }
        tray.sendToTray();
        emit icon->activated(QSystemTrayIcon::Context);
        QVERIFY(menu.isVisible());
        QVERIFY(!window.isVisible());
        // An Activate while the menu is open restores and closes the menu.
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(window.isVisible());
        QVERIFY(!menu.isVisible());
    }

    // A menu given before the icon is made (no tray yet) is exported once the tray comes.
    void aMenuGivenBeforeTheTrayIsExportedWhenItComes() {
        bool present = false;
        QWidget window;
        QMenu menu;
        TrayIcon tray(&window, [&] { return present; });
        tray.setPopupMenu(&menu);
        tray.setVisible(true);
        QVERIFY(tray.systemIcon() == nullptr);
        present = true;
        tray.checkTray();
        QVERIFY(tray.systemIcon() != nullptr);
        QCOMPARE(tray.systemIcon()->contextMenu(), &menu);
    }

    // Minimised for want of a tray, then focused by the window system (the focus of the start that comes
    // late; mutter after an unlock): only the window the user un-minimised stays out when a tray comes. On
    // Wayland, which reports no minimised state, an activation after the focus left is the user's (the
    // sway cases).
    void onlyTheUserBringingTheWindowBackKeepsItFromALateTray() {
        const Qt::WindowStates minimised = Qt::WindowMinimized, normal = Qt::WindowNoState;
        const struct {
            bool focusLeftFirst;
            // What the window system reports after the program's minimise.
            std::vector<Qt::WindowStates> states;
            bool staysOut;
        } cases[] = {
            {false, {}, false},
            {true, {}, false},
            // Mapped as minimised, the window reads as not minimised before the window system answers.
            {false, {normal}, false},
            {true, {normal, minimised, normal}, true},
        };
        for (const auto& c : cases) {
            bool present = false;
            QWidget window;
            TrayIcon tray(&window, [&] { return present; });
            tray.setVisible(true);
            window.show();
            QCoreApplication::processEvents();
            tray.sendToTray();
            QCoreApplication::processEvents();
            QVERIFY(window.isMinimized());
            if (c.focusLeftFirst) {
                QEvent away(QEvent::WindowDeactivate);
                QCoreApplication::sendEvent(&window, &away);
            }
            for (const Qt::WindowStates state : c.states)
                window.setWindowState(state);
            QEvent focus(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&window, &focus);
            present = true;
            tray.checkTray();
            QCOMPARE(window.isVisible(), c.staysOut);
        }
    }

    // The tray leaves while the window is in it. Where the compositor keeps no minimised state (Wayland),
    // Qt reports the window not minimised at once; the main window answers every minimise by sending
    // itself to the tray. That answer must not minimise again: one minimise, and the window reachable.
    void aTrayThatLeavesStartsNoChaseOfMinimises() {
        bool present = true;
        QWidget window;
        TrayIcon tray(&window, [&] { return present; });
        tray.setVisible(true);
        window.show();
        tray.sendToTray();
        QVERIFY(!window.isVisible());
        const WindowRequests requests;
        AnswersMinimises answer(&window, [&] {
            window.setWindowState(Qt::WindowNoState);
            QMetaObject::invokeMethod(&tray, &TrayIcon::windowMinimised, Qt::QueuedConnection);
        });
        present = false;
        tray.checkTray();
        QTest::qWait(200);
        QCOMPARE(WindowRequests::lines(), QStringList{"minimise"});
        QVERIFY(window.isVisible());
        QCOMPARE(tray.place(), WindowPlace::Place::MinimisedForWantOfTray);
        // The tray comes back: the window goes into it with no further minimise.
        present = true;
        tray.checkTray();
        QTest::qWait(50);
        QVERIFY(!window.isVisible());
        QCOMPARE(WindowRequests::lines(), (QStringList{"minimise", "hide"}));
    }

    void withoutATrayHidingMinimisesInstead() {
        // The offscreen platform has no tray: the window must stay reachable.
        QVERIFY(!TrayIcon::trayAvailable());
        QWidget window;
        TrayIcon tray(&window);
        window.show();
        tray.sendToTray();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        tray.restore();
        QVERIFY(!window.isMinimized());
    }

    // The first start holds the user's lock and the task file's, and says where it answers.
    void theFirstStartHoldsTheTaskFileAndSaysWhereItAnswers() {
        QTemporaryDir dir;
        test::MessageBoxRecorder boxes;
        Start start{dir};
        QVERIFY(start.run());
        QVERIFY(boxes.shown.isEmpty());
        const LockHolder holder = FileLock::holderOf(start.taskLock.path());
        QCOMPARE(holder.pid, std::optional<long>(::getpid()));
        QCOMPARE(QFile::decodeName(holder.instanceFolder.c_str()), dir.filePath("run"));
        QVERIFY(!holder.closing);
    }

    // The task file is held by a Velloran with another runtime folder: this user's one that answers is
    // offered back; any other is named with what its lock file tells. The start runs nothing.
    void aTaskFileHeldElsewhereIsToldOrOfferedBack_data() {
        QTest::addColumn<QByteArray>("note"); // what the holder's lock file says; empty: as it wrote it
        QTest::addColumn<QString>("by");      // who the message names; null: the question instead
        const QString pid = QString::number(::getpid());
        QTest::newRow("this user's, reachable") << QByteArray() << QString();
        QTest::newRow("this user's, not reachable")
            << (pid + "\nuser " + QString::number(::geteuid()) + "\ninstance /nonexistent\n").toUtf8()
            << " (process " + pid + ")";
        QTest::newRow("another user's")
            << (pid + "\nuser 4242\ninstance ELSEWHERE\n").toUtf8() << " (process " + pid + ")";
        QTest::newRow("a process that is gone") << QByteArray("999999999\nuser 0\n") << QString("");
    }
    void aTaskFileHeldElsewhereIsToldOrOfferedBack() {
        QFETCH(QByteArray, note);
        QFETCH(QString, by);
        QTemporaryDir dir;
        SingleInstance owner(dir.filePath("elsewhere"));
        QVERIFY(owner.claim());
        QSignalSpy restored(&owner, &SingleInstance::restoreRequested);
        TaskFileLock held(path(dir, "tasks.tsk"));
        QCOMPARE(held.tryLock().valueOr({}), FileLock::State::Held);
        held.setInstanceFolder(path(dir, "elsewhere"));
        if (!note.isEmpty())
            test::writeFile(
                held.path(),
                note.replace("ELSEWHERE", QFile::encodeName(dir.filePath("elsewhere"))).toStdString());
        test::MessageBoxRecorder boxes;
        Start start{dir};
        QVERIFY(!start.run());
        QCOMPARE(boxes.shown.size(), 1);
        if (by.isNull()) {
            QCOMPARE(boxes.shown[0].caption, QString("Application running"));
            QTRY_COMPARE(restored.count(), 1);
        } else {
            QCOMPARE(boxes.shown[0].caption, QString("Velloran"));
            QCOMPARE(boxes.shown[0].text, "Another Velloran" + by + " uses the task file \"" +
                                              dir.filePath("tasks.tsk") +
                                              "\" and carries out its tasks.\nThis Velloran does not start, "
                                              "so that no task runs twice.");
            QCOMPARE(boxes.shown[0].icon, QMessageBox::Warning);
            QCOMPARE(restored.count(), 0);
        }
        QVERIFY(!start.taskLock.held());
    }

    // A running Velloran that is closing (its last save, its countdown) is waited for, as this user's one
    // instance and as the task file's holder; one that stays closing past the wait is asked about.
    void aStartWaitsForARunningOneThatIsClosing() {
        QTemporaryDir dir;
        test::MessageBoxRecorder boxes;
        auto first = std::make_unique<SingleInstance>(dir.filePath("run"));
        QVERIFY(first->claim());
        first->setClosing(true);
        auto held = std::make_unique<TaskFileLock>(path(dir, "tasks.tsk"));
        QCOMPARE(held->tryLock().valueOr({}), FileLock::State::Held);
        held->setClosing(true);
        QTimer::singleShot(300, [&] { first.reset(); });
        QTimer::singleShot(600, [&] { held.reset(); });
        QElapsedTimer took;
        took.start();
        Start start{dir};
        QVERIFY(start.run());
        QVERIFY(took.elapsed() >= 600);
        QVERIFY(boxes.shown.isEmpty());

        Start later{dir};
        start.instance.setClosing(true);
        later.closingWait = std::chrono::milliseconds(300);
        QVERIFY(!later.run());
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].caption, QString("Application running"));
    }

    // The running one ends while its question is up, or a close is asked for while the start waits: the
    // first start runs in its place, the second ends without a word.
    void aRunningOneGoneMeanwhileIsReplacedAndACloseEndsTheWait() {
        QTemporaryDir dir;
        auto first = std::make_unique<SingleInstance>(dir.filePath("run"));
        QVERIFY(first->claim());
        int asked = 0;
        MessageBoxes::setHandler([&](const MessageBoxRequest&) {
            ++asked;
            first.reset();
            return QMessageBox::Cancel;
        });
        Start start{dir};
        QVERIFY(start.run());
        QCOMPARE(asked, 1);
        QVERIFY(start.taskLock.held());

        start.instance.setClosing(true);
        Start closed{dir};
        QTimer::singleShot(100, [&] { closed.closeRequested = true; });
        QVERIFY(!closed.run());
        QCOMPARE(asked, 1);
        MessageBoxes::setHandler({});
    }

    // Where no lock can be taken on the task file, the user is told once why, and the start goes on.
    void aTaskFileThatCannotBeLockedIsToldAndTheStartGoesOn() {
        QTemporaryDir dir;
        test::MessageBoxRecorder boxes;
        const std::string taskFile = path(dir, "missing/tasks.tsk");
        SingleInstance instance(dir.filePath("run"));
        TaskFileLock taskLock(taskFile);
        QVERIFY(claimStart(instance, taskLock, taskFile, {}, [] { return false; }));
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text,
                 "Cannot open \"" + dir.filePath("missing/tasks.tsk.lock") +
                     "\": No such file or directory\nVelloran cannot tell whether another "
                     "Velloran uses the task file \"" +
                     dir.filePath("missing/tasks.tsk") + "\". If one does, tasks may run twice.");
    }
};

QTEST_MAIN(ShellPartsTest)
#include "shell_parts_test.moc"
