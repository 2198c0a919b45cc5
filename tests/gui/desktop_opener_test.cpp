// The opener starts programs without a shell: a recording stand-in for xdg-open shows what arrived.
#include "platform/desktop_opener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using velloran::DesktopOpener;
using velloran::OpenFailure;

class DesktopOpenerTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

    // A program that writes each of its arguments on a line of its own into a file named after it.
    QString makeRecorder(const QString& name) {
        const QString path = dir_.filePath(name);
        QFile script(path);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args.tmp\"\n"
                     "mv \"$0.args.tmp\" \"$0.args\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    void writeScript(const QString& path, const QByteArray& body, const QByteArray& start = "#!/bin/sh\n") {
        QFile script(path);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(start + body);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QStringList argumentsReceived(const QString& program) {
        QFile file(program + ".args");
        if (!QTest::qWaitFor([&] { return file.exists(); }, 10000))
            return {"<never started>"};
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void openPassesTheTargetAsOneUntouchedArgument() {
        const QString opener = makeRecorder("fake-xdg-open");
        DesktopOpener desktop(opener.toStdString());
        const std::string target = "https://example.org/?a=$(touch pwned)&b=`id`;c='d' \"e\" -x";
        desktop.open(target);
        QCOMPARE(argumentsReceived(opener), QStringList{QString::fromStdString(target)});
        QVERIFY(!QFile::exists(QDir::current().filePath("pwned")));
    }

    void nameBeginningWithADashIsNoOption_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("argument");
        QTest::newRow("long option") << "--help"
                                     << "./--help";
        QTest::newRow("short option and blank") << "-x notes.txt"
                                                << "./-x notes.txt";
        QTest::newRow("lone dash") << "-"
                                   << "./-";
        QTest::newRow("folder") << "-old/list.txt"
                                << "./-old/list.txt";
        QTest::newRow("absolute") << "/home/me/-x.txt"
                                  << "/home/me/-x.txt";
        QTest::newRow("dash inside") << "to-do.txt"
                                     << "to-do.txt";
        QTest::newRow("already relative") << "./-x"
                                          << "./-x";
        QTest::newRow("web address") << "https://example.org/-x"
                                     << "https://example.org/-x";
    }
    void nameBeginningWithADashIsNoOption() {
        QFETCH(QString, target);
        QFETCH(QString, argument);
        QCOMPARE(QString::fromStdString(velloran::openerArgument(target.toStdString())), argument);
    }

    void dashNameReachesTheOpenerAsAFile() {
        const QString opener = makeRecorder("opener-dash");
        DesktopOpener desktop(opener.toStdString());
        desktop.open("--help.txt");
        QCOMPARE(argumentsReceived(opener), QStringList{"./--help.txt"});
    }

    void dashNamedDocumentOfAnExecutableTaskGoesToTheOpenerAsAFile() {
        const QString opener = makeRecorder("opener-dash-document");
        QTemporaryDir work;
        QFile file(work.filePath("-n.txt"));
        file.open(QIODevice::WriteOnly);
        file.close();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(work.path());
        DesktopOpener desktop(opener.toStdString());
        desktop.runProgram("-n.txt", {});
        QDir::setCurrent(previous);
        const QStringList received = argumentsReceived(opener);
        QCOMPARE(received, QStringList{"./-n.txt"});
        QVERIFY(QFile::exists(work.filePath(received.first())));
    }

    void programStartsDirectlyWithItsArguments() {
        const QString program = makeRecorder("my program");
        DesktopOpener desktop(dir_.filePath("unused-opener").toStdString());
        desktop.runProgram(program.toStdString(), {"one two", "$(id)", ";", "-"});
        QCOMPARE(argumentsReceived(program), (QStringList{"one two", "$(id)", ";", "-"}));
    }

    // A bare name is the current folder's program, never one of the same name found on PATH.
    void aBareNameIsNeverLookedForOnPath() {
        QTemporaryDir work, onPath;
        const QString here = work.filePath("velloran-same-name");
        const QString there = onPath.filePath("velloran-same-name");
        for (const QString& path : {here, there}) {
            QFile script(path);
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\n: > \"$0.ran\"\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QByteArray savedPath = qgetenv("PATH");
        const QString previous = QDir::currentPath();
        qputenv("PATH", QFile::encodeName(onPath.path()) + ":" + savedPath);
        QDir::setCurrent(work.path());
        DesktopOpener desktop(dir_.filePath("unused-opener").toStdString());
        desktop.runProgram("velloran-same-name", {});
        QDir::setCurrent(previous);
        qputenv("PATH", savedPath);
        QTRY_VERIFY(QFile::exists(here + ".ran"));
        QTest::qWait(200);
        QVERIFY(!QFile::exists(there + ".ran"));
    }

    void nonExecutableTargetGoesToTheOpener() {
        const QString opener = makeRecorder("opener2");
        const QString document = dir_.filePath("notes.txt");
        QFile file(document);
        file.open(QIODevice::WriteOnly);
        file.close();
        DesktopOpener desktop(opener.toStdString());
        desktop.runProgram(document.toStdString(), {"ignored"});
        QCOMPARE(argumentsReceived(opener), QStringList{document});
    }

    // A descriptor left open without close-on-exec (as a library might) still stays this program's.
    void startedProgramsHoldOnlyTheStandardDescriptors() {
        const int leaked = ::open(QFile::encodeName(dir_.path()).constData(), O_RDONLY);
        QVERIFY(leaked > 2);
        const QString program = dir_.filePath("stays");
        writeScript(program, "echo $$ > \"$0.pid.tmp\"; mv \"$0.pid.tmp\" \"$0.pid\"; exec sleep 30\n");
        DesktopOpener(dir_.filePath("unused-opener").toStdString()).runProgram(program.toStdString(), {});
        ::close(leaked);
        QFile pidFile(program + ".pid");
        QTRY_VERIFY(pidFile.exists());
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const pid_t pid = pidFile.readAll().trimmed().toInt();
        const QStringList open = QDir(QStringLiteral("/proc/%1/fd").arg(pid))
                                     .entryList(QDir::NoDotAndDotDot | QDir::System, QDir::Name);
        ::kill(pid, SIGTERM);
        QCOMPARE(open, (QStringList{"0", "1", "2"}));
    }

    // The opener's exit status, a program that cannot start and a missing opener are each told once.
    void failuresAreReported_data() {
        QTest::addColumn<QString>("script"); // the opener's or the program's body; empty: none there
        QTest::addColumn<bool>("asProgram");
        QTest::addColumn<int>("expected"); // -1: no report
        QTest::newRow("opened") << "exit 0\n" << false << -1;
        QTest::newRow("syntax") << "exit 1\n" << false << int(OpenFailure::BadRequest);
        QTest::newRow("file not found") << "exit 2\n" << false << int(OpenFailure::FileMissing);
        QTest::newRow("no program for it") << "exit 3\n" << false << int(OpenFailure::NoProgramForIt);
        QTest::newRow("failed") << "exit 4\n" << false << int(OpenFailure::OpenFailed);
        QTest::newRow("killed") << "kill -9 $$\n" << false << int(OpenFailure::OpenFailed);
        QTest::newRow("no opener") << "" << false << int(OpenFailure::NoOpener);
        QTest::newRow("program ran") << "exit 7\n" << true << -1;
        QTest::newRow("interpreter gone") << "" << true << int(OpenFailure::ProgramMissing);
    }
    void failuresAreReported() {
        QFETCH(QString, script);
        QFETCH(bool, asProgram);
        QFETCH(int, expected);
        const QString path = dir_.filePath(QStringLiteral("reporting-%1").arg(QTest::currentDataTag()));
        if (!script.isEmpty())
            writeScript(path, script.toUtf8());
        else if (asProgram)
            writeScript(path, "", "#!/nonexistent/interpreter\n");
        QList<int> reports;
        const auto record = [&reports](OpenFailure why) { reports << int(why); };
        if (asProgram)
            DesktopOpener("unused-opener").runProgram(path.toStdString(), {}, record);
        else
            DesktopOpener(path.toStdString()).open("notes.txt", record);
        QTest::qWait(expected < 0 ? 500 : 0);
        QTRY_COMPARE(reports.size(), expected < 0 ? 0 : 1);
        if (expected >= 0)
            QCOMPARE(reports.first(), expected);
    }

    void executableCheck() {
        QVERIFY(velloran::isExecutableFile(makeRecorder("exe").toStdString()));
        QVERIFY(!velloran::isExecutableFile(dir_.path().toStdString()));
        QVERIFY(!velloran::isExecutableFile(dir_.filePath("missing").toStdString()));
    }
};

QTEST_GUILESS_MAIN(DesktopOpenerTest)
#include "desktop_opener_test.moc"
