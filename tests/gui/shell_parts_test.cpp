// The single-instance lock and the tray icon's hint rule.
#include "shell/single_instance.h"
#include "shell/tray_icon.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace velloran;

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
