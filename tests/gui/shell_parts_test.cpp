// The single-instance lock, its folder and message, close requests of the system, and the tray icon's
// hint rule.
#include "shell/single_instance.h"
#include "shell/system_close_requests.h"
#include "shell/tray_icon.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <sys/stat.h>
#include <unistd.h>

using namespace velloran;

namespace {

// No runtime folder, and the temporary and cache folders of the test, for one test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const QString& temporary, const QString& cache)
        : runtime_(qgetenv("XDG_RUNTIME_DIR")), temporary_(qgetenv("TMPDIR")),
          cache_(qgetenv("XDG_CACHE_HOME")) {
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temporary));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    }
    ~ScopedEnvironment() {
        restore("XDG_RUNTIME_DIR", runtime_);
        restore("TMPDIR", temporary_);
        restore("XDG_CACHE_HOME", cache_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static void restore(const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QByteArray runtime_;
    QByteArray temporary_;
    QByteArray cache_;
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
        QLocalSocket stranger;
        stranger.connectToServer(dir.filePath("run/velloran.socket"));
        QVERIFY(stranger.waitForConnected(2000));
        stranger.write("quit\n\n");
        stranger.flush();
        QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(restore.count(), 1);
    }

    // Without XDG_RUNTIME_DIR the lock lives in the shared temporary folder, where another user may
    // have made the name first: as a link to a folder of the victim's, or as a folder with a lock in it
    // that names a live process. Neither is touched, and the program starts with a folder of its own.
    void aNameTakenInTheTemporaryFolderIsLeftAlone() {
        QTemporaryDir dir;
        const QString shared = dir.filePath(QString("tmp/velloran-%1").arg(::geteuid()));
        QVERIFY(QDir().mkpath(dir.filePath("tmp")));
        QVERIFY(QDir().mkpath(dir.filePath("home")));
        QVERIFY(QFile::setPermissions(dir.filePath("home"), QFile::ReadOwner | QFile::WriteOwner |
                                                                QFile::ExeOwner | QFile::ReadOther |
                                                                QFile::ExeOther));
        const auto homePermissions = QFile(dir.filePath("home")).permissions();
        QVERIFY(QFile::link(dir.filePath("home"), shared));
        const ScopedEnvironment environment(dir.filePath("tmp"), dir.filePath("cache"));

        SingleInstance instance;
        QCOMPARE(instance.folder(), dir.filePath("cache/velloran"));
        QVERIFY(instance.claim());
        QCOMPARE(QFile(dir.filePath("home")).permissions(), homePermissions);
        QCOMPARE(QDir(dir.filePath("home")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QCOMPARE(QFileInfo(shared).symLinkTarget(), dir.filePath("home"));
        // The second start finds the first where the first went.
        SingleInstance second;
        QVERIFY(!second.claim());
    }

    void anotherUsersFolderInTheTemporaryFolderIsLeftAlone() {
        if (::geteuid() != 0)
            QSKIP("only root can make a folder that belongs to another user");
        QTemporaryDir dir;
        const QString shared = dir.filePath(QString("tmp/velloran-%1").arg(::geteuid()));
        QVERIFY(QDir().mkpath(shared));
        // The other user's lock names a live process of this program's name: this test.
        QFile lock(shared + "/velloran.lock");
        QVERIFY(lock.open(QIODevice::WriteOnly));
        const QByteArray planted = QByteArray::number(QCoreApplication::applicationPid()) + "\n" +
                                   QCoreApplication::applicationName().toUtf8() + "\n" +
                                   QSysInfo::machineHostName().toUtf8() + "\n";
        lock.write(planted);
        lock.close();
        QVERIFY(::chmod(QFile::encodeName(shared).constData(), 0777) == 0);
        QVERIFY(::chown(QFile::encodeName(shared).constData(), 65534, 65534) == 0);
        const ScopedEnvironment environment(dir.filePath("tmp"), dir.filePath("cache"));

        SingleInstance instance;
        QVERIFY(instance.claim());
        QCOMPARE(instance.folder(), dir.filePath("cache/velloran"));
        QFileInfo folder(shared);
        QCOMPARE(folder.ownerId(), 65534u);
        QCOMPARE(folder.permissions() & (QFile::WriteOther | QFile::ExeOther | QFile::ReadOther),
                 QFile::WriteOther | QFile::ExeOther | QFile::ReadOther);
        QCOMPARE(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"velloran.lock"});
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QCOMPARE(lock.readAll(), planted);
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

    void hintOfSixtyFourCharactersIsIgnored() {
        QWidget window;
        TTrayIcon tray(&window);
        tray.setHint("Velloran - right click for options");
        const QString sixtyThree(63, 'x');
        tray.setHint(sixtyThree);
        QCOMPARE(tray.Hint(), sixtyThree);
        tray.setHint(QString(64, 'y'));
        QCOMPARE(tray.Hint(), sixtyThree);
    }

    // A tray that comes after the program (a panel that starts late at logon) and one that restarts.
    void aWindowMinimisedForWantOfATrayGoesThereWhenOneComes() {
        bool present = false;
        QWidget window;
        TTrayIcon tray(&window, [&] { return present; });
        tray.setVisible(true);
        window.show();
        tray.Minimize();
        QVERIFY(window.isVisible() && window.isMinimized());
        QVERIFY(tray.systemIcon() == nullptr);
        present = true;
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
        QVERIFY(tray.systemIcon() != nullptr && tray.systemIcon()->isVisible());
        // The panel restarts: reachable meanwhile, back in the tray after.
        present = false;
        QTRY_VERIFY_WITH_TIMEOUT(window.isVisible() && window.isMinimized(), 2000);
        present = true;
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
        tray.Restore();
        QVERIFY(window.isVisible() && !window.isMinimized());
    }

    void aWindowTheUserBroughtBackStaysWhenATrayComes() {
        bool present = false;
        QWidget window;
        TTrayIcon tray(&window, [&] { return present; });
        tray.setVisible(true);
        window.show();
        tray.Minimize();
        // Restored from the task bar, not through the tray's commands.
        window.showNormal();
        present = true;
        QTRY_VERIFY_WITH_TIMEOUT(tray.systemIcon() != nullptr, 2000);
        QTest::qWait(1200);
        QVERIFY(window.isVisible() && !window.isMinimized());
        // A window never sent to the tray is left alone when the tray goes.
        QWidget other;
        TTrayIcon otherTray(&other, [&] { return present; });
        otherTray.setVisible(true);
        other.show();
        present = false;
        QTest::qWait(1200);
        QVERIFY(other.isVisible() && !other.isMinimized());
    }

    void anIconHiddenByTheProgramIsNotMadeWhenATrayComes() {
        bool present = false;
        QWidget window;
        TTrayIcon tray(&window, [&] { return present; });
        tray.setVisible(true);
        tray.setVisible(false); // the program is closing
        present = true;
        QTest::qWait(1200);
        QVERIFY(tray.systemIcon() == nullptr);
    }

    void withoutATrayHidingMinimisesInstead() {
        // The offscreen platform has no tray: the window must stay reachable.
        QVERIFY(!TTrayIcon::trayAvailable());
        QWidget window;
        TTrayIcon tray(&window);
        window.show();
        tray.Minimize();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        tray.Restore();
        QVERIFY(!window.isMinimized());
    }
};

QTEST_MAIN(ShellPartsTest)
#include "shell_parts_test.moc"
