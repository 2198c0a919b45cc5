// "&Help" opens the compiled help only where the desktop has a program for it; stand-ins for xdg-mime
// answer the query.
#include "platform/help_target.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velloran::defaultApplicationFor;
using velloran::helpTarget;

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

    // helpTarget finds xdg-mime on PATH, as the program does.
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

    void registeredProgramIsPrintedTrimmed() {
        const std::string query = makeQuery("viewer", "echo 'xchm.desktop'");
        QCOMPARE(defaultApplicationFor("application/vnd.ms-htmlhelp", 5000, query),
                 std::string("xchm.desktop"));
        QCOMPARE(argumentsOf(query), QString("query|default|application/vnd.ms-htmlhelp|"));
    }

    void noAnswerFailureOrMissingQueryMeanNone() {
        QCOMPARE(defaultApplicationFor("x/y", 5000, makeQuery("empty", "true")), std::string());
        QCOMPARE(defaultApplicationFor("x/y", 5000, makeQuery("blank", "printf '  \\n\\n'")), std::string());
        // A failing query's output is no answer.
        QCOMPARE(defaultApplicationFor("x/y", 5000, makeQuery("failing", "echo 'oops.desktop'; exit 3")),
                 std::string());
        QCOMPARE(defaultApplicationFor("x/y", 5000, dir_.filePath("nowhere/xdg-mime").toStdString()),
                 std::string());
    }

    void hangingQueryIsStoppedAndMeansNone() {
        // The stand-in would answer only after a minute; the short limit gives up and ends it.
        const std::string query = makeQuery("hanging", "exec sleep 60");
        QCOMPARE(defaultApplicationFor("x/y", 200, query), std::string());
    }

    void helpOpensTheManualWhenNoViewerIsRegistered() {
        const QString program = makeProgramDirectory("none-registered", true, true);
        const std::string query = makeQuery("none", "true");
        putFirstOnPath(query);
        QCOMPARE(QString::fromStdString(helpTarget(program.toStdString())), program + "manual/index.html");
        QCOMPARE(argumentsOf(query), QString("query|default|application/vnd.ms-htmlhelp|"));
    }

    void helpOpensTheCompiledFileWhenAViewerIsRegistered() {
        const QString program = makeProgramDirectory("registered", true, true);
        putFirstOnPath(makeQuery("some", "echo kchmviewer.desktop"));
        QCOMPARE(QString::fromStdString(helpTarget(program.toStdString())), program + "Velloran.chm");
    }

    void withOneFileTheQueryIsNotRun() {
        const std::string query = makeQuery("unasked", "echo kchmviewer.desktop");
        putFirstOnPath(query);
        const QString manualOnly = makeProgramDirectory("manual-only", false, true);
        QCOMPARE(QString::fromStdString(helpTarget(manualOnly.toStdString())),
                 manualOnly + "manual/index.html");
        const QString compiledOnly = makeProgramDirectory("compiled-only", true, false);
        QCOMPARE(QString::fromStdString(helpTarget(compiledOnly.toStdString())),
                 compiledOnly + "Velloran.chm");
        QCOMPARE(argumentsOf(query), QString("<not run>"));
    }
};

QTEST_MAIN(HelpTargetTest)
#include "help_target_test.moc"
