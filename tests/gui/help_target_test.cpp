// "&Help" opens the compiled help only where the desktop has a program for it, and never waits for the
// desktop's answer; stand-ins for xdg-mime answer the query.
#include "platform/help_target.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

using velloran::HelpTarget;

class HelpTargetTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QByteArray oldPath_;

    // A stand-in for xdg-mime running the given shell body; it records its arguments beside itself.
    std::string makeQuery(const QString& name, const QByteArray& body) {
        QDir(dir_.path()).mkpath(name);
        const QString path = dir_.filePath(name + "/xdg-mime");
        QFile script(path);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\nprintf '%s|' \"$@\" >> \"$0.args\"\n" + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path.toStdString();
    }

    QString argumentsOf(const std::string& program) {
        QFile file(QString::fromStdString(program) + ".args");
        if (!file.open(QIODevice::ReadOnly))
            return "<not run>";
        return QString::fromUtf8(file.readAll());
    }

    // A program directory holding the chosen help files.
    QString makeProgramDirectory(const QString& name, bool compiled, bool manual) {
        const QString folder = dir_.filePath(name) + "/";
        QDir().mkpath(folder + "manual");
        if (compiled) {
            QFile file(folder + "Velloran.chm");
            file.open(QIODevice::WriteOnly);
            file.write("ITSF");
        }
        if (manual) {
            QFile file(folder + "manual/index.html");
            file.open(QIODevice::WriteOnly);
            file.write("<html></html>");
        }
        return folder;
    }

    // What the help target finds for this program directory, asked as the program asks: xdg-mime on PATH
    // unless a query is given.
    static QString find(const QString& program, const std::string& query = {}, int timeoutMs = 5000) {
        HelpTarget help(program.toStdString(), nullptr, timeoutMs,
                        query.empty() ? QStringLiteral("xdg-mime") : QString::fromStdString(query));
        QString found;
        help.find([&](const std::string& path) { found = QString::fromStdString(path); });
        // The event loop runs until the answer comes; a query that never ends is stopped by the limit.
        if (!QTest::qWaitFor([&] { return !found.isEmpty(); }, timeoutMs + 5000))
            return QStringLiteral("<no answer>");
        return found;
    }

    // The program finds xdg-mime on PATH.
    void putFirstOnPath(const std::string& program) {
        const QString folder = QFileInfo(QString::fromStdString(program)).path();
        qputenv("PATH", folder.toLocal8Bit() + ":" + oldPath_);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        oldPath_ = qgetenv("PATH");
    }
    void cleanup() { qputenv("PATH", oldPath_); }

    void registeredProgramMeansTheCompiledFile() {
        const QString program = makeProgramDirectory("registered", true, true);
        const std::string query = makeQuery("viewer", "echo 'xchm.desktop'");
        QCOMPARE(find(program, query), program + "Velloran.chm");
        QCOMPARE(argumentsOf(query), QString("query|default|application/vnd.ms-htmlhelp|"));
    }

    void noAnswerFailureOrMissingQueryMeanTheManual() {
        const QString program = makeProgramDirectory("unanswered", true, true);
        const QString manual = program + "manual/index.html";
        QCOMPARE(find(program, makeQuery("empty", "true")), manual);
        QCOMPARE(find(program, makeQuery("blank", "printf '  \\n\\n'")), manual);
        // A failing query's output is no answer.
        QCOMPARE(find(program, makeQuery("failing", "echo 'oops.desktop'; exit 3")), manual);
        QCOMPARE(find(program, dir_.filePath("nowhere/xdg-mime").toStdString()), manual);
    }

    // A descriptor opened without close-on-exec, as a library may, does not reach the query.
    void theQueryGetsNoneOfTheProgramsDescriptors() {
        const QString program = makeProgramDirectory("descriptors", true, true);
        const QByteArray marker = dir_.filePath("descriptor-marker").toLocal8Bit();
        QFile(QString::fromLocal8Bit(marker)).open(QIODevice::WriteOnly);
        const int leaked = ::open(marker.constData(), O_RDONLY);
        QVERIFY(leaked > 2);
        const std::string query =
            makeQuery("descriptors", "ls -l /proc/$$/fd > \"$0.fds\"; echo xchm.desktop");
        QCOMPARE(find(program, query), program + "Velloran.chm");
        ::close(leaked);
        QFile fds(QString::fromStdString(query) + ".fds");
        QVERIFY(fds.open(QIODevice::ReadOnly));
        const QByteArray listing = fds.readAll();
        QVERIFY2(listing.contains("/dev/null") && !listing.contains(marker), listing.constData());
    }

    void hangingQueryIsStoppedAndMeansTheManual() {
        // The stand-in would answer only after a minute; the short limit gives up and ends it.
        const QString program = makeProgramDirectory("hanging", true, true);
        QCOMPARE(find(program, makeQuery("hanging", "exec sleep 60"), 200), program + "manual/index.html");
    }

    void theWindowGoesOnWhileTheDesktopThinks() {
        // The stand-in answers only once the test lets it; find() returns at once all the same.
        const QString program = makeProgramDirectory("slow", true, true);
        const QString go = dir_.filePath("slow-go");
        const std::string query = makeQuery("slow", "while [ ! -e '" + go.toLocal8Bit() +
                                                        "' ]; do sleep 0.02; done; echo xchm.desktop");
        HelpTarget help(program.toStdString(), nullptr, 60000, QString::fromStdString(query));
        QStringList found;
        help.find([&](const std::string& path) { found << QString::fromStdString(path); });
        QVERIFY(found.isEmpty());
        QFile(go).open(QIODevice::WriteOnly);
        QTRY_COMPARE_WITH_TIMEOUT(found, QStringList{program + "Velloran.chm"}, 10000);
    }

    void helpFollowsTheRegistryAsItChanges() {
        const QString program = makeProgramDirectory("changing", true, true);
        const std::string none = makeQuery("none", "true");
        putFirstOnPath(none);
        QCOMPARE(find(program), program + "manual/index.html");
        QCOMPARE(argumentsOf(none), QString("query|default|application/vnd.ms-htmlhelp|"));
        putFirstOnPath(makeQuery("some", "echo kchmviewer.desktop"));
        QCOMPARE(find(program), program + "Velloran.chm");
    }

    void withOneFileTheQueryIsNotRun() {
        const std::string query = makeQuery("unasked", "echo kchmviewer.desktop");
        putFirstOnPath(query);
        const QString manualOnly = makeProgramDirectory("manual-only", false, true);
        HelpTarget manual(manualOnly.toStdString());
        QString found;
        // Answered at once, inside the call.
        manual.find([&](const std::string& path) { found = QString::fromStdString(path); });
        QCOMPARE(found, manualOnly + "manual/index.html");
        const QString compiledOnly = makeProgramDirectory("compiled-only", true, false);
        QCOMPARE(find(compiledOnly), compiledOnly + "Velloran.chm");
        QCOMPARE(argumentsOf(query), QString("<not run>"));
    }
};

QTEST_MAIN(HelpTargetTest)
#include "help_target_test.moc"
