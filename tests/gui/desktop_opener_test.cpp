// The opener starts programs without a shell: a recording stand-in for xdg-open shows what arrived.
#include "platform/desktop_opener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velloran::DesktopOpener;

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

    void executableCheck() {
        QVERIFY(velloran::isExecutableFile(makeRecorder("exe").toStdString()));
        QVERIFY(!velloran::isExecutableFile(dir_.path().toStdString()));
        QVERIFY(!velloran::isExecutableFile(dir_.filePath("missing").toStdString()));
    }
};

QTEST_GUILESS_MAIN(DesktopOpenerTest)
#include "desktop_opener_test.moc"
