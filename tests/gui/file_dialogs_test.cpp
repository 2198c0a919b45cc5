#include "platform/file_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velloran;

class FileDialogsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    QFileInfo makeFile(const QString& name, bool executable = false) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write("x");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return QFileInfo(file.fileName());
    }

private slots:
    void patternsComeFromBehindTheBar() {
        QCOMPARE(filterPatterns(QStringLiteral("Programs (*.exe;*.lnk;*.bat)|*.exe;*.lnk;*.bat")),
                 (QStringList{"*.exe", "*.lnk", "*.bat"}));
        QCOMPARE(filterPatterns(QStringLiteral("Nothing")), QStringList());
    }

    void namesMatchInAnyLetterCase() {
        const FileDialogRequest audio{QStringLiteral("Audio files|*.mp3;*.wav;*aiff"), false};
        QVERIFY(dialogOffers(audio, makeFile(QStringLiteral("song.MP3"))));
        QVERIFY(dialogOffers(audio, makeFile(QStringLiteral("take.wav"))));
        // "*aiff" has no dot: any name that ends in aiff.
        QVERIFY(dialogOffers(audio, makeFile(QStringLiteral("recordingaiff"))));
        QVERIFY(!dialogOffers(audio, makeFile(QStringLiteral("song.mp3.txt"))));
        QVERIFY(!dialogOffers(audio, makeFile(QStringLiteral("notes.txt"))));
        QVERIFY(dialogOffers(audio, QFileInfo(dir.path()))); // folders stay reachable
    }

    void allFilesMeansEveryName() {
        const FileDialogRequest all{QStringLiteral("All files (*.*)|*.*"), false};
        QVERIFY(dialogOffers(all, makeFile(QStringLiteral("README"))));
        QVERIFY(dialogOffers(all, makeFile(QStringLiteral("a.b"))));
    }

    void programsIncludeWhatLinuxRuns() {
        const FileDialogRequest programs{QStringLiteral("Programs (*.exe;*.lnk;*.bat)|*.exe;*.lnk;*.bat"),
                                         true};
        QVERIFY(dialogOffers(programs, makeFile(QStringLiteral("setup.EXE"))));
        QVERIFY(dialogOffers(programs, makeFile(QStringLiteral("backup"), true)));
        QVERIFY(dialogOffers(programs, makeFile(QStringLiteral("run.sh"))));
        QVERIFY(dialogOffers(programs, makeFile(QStringLiteral("editor.desktop"))));
        QVERIFY(dialogOffers(programs, makeFile(QStringLiteral("Tool-x86_64.AppImage"))));
        QVERIFY(!dialogOffers(programs, makeFile(QStringLiteral("notes.txt"))));
        const FileDialogRequest documents{QStringLiteral("Documents|*.txt"), false};
        QVERIFY(!dialogOffers(documents, makeFile(QStringLiteral("tool"), true)));
    }

    void handlersAnswerInsteadOfTheDialogs() {
        FileDialogRequest seen;
        FileDialogs::setFileHandler([&](const FileDialogRequest& request) {
            seen = request;
            return std::optional<QString>(QStringLiteral("/tmp/chosen"));
        });
        QCOMPARE(FileDialogs::openFile(nullptr, {QStringLiteral("All files (*.*)|*.*"), true}),
                 std::optional<QString>(QStringLiteral("/tmp/chosen")));
        QCOMPARE(seen.filter, QStringLiteral("All files (*.*)|*.*"));
        QVERIFY(seen.offerPrograms);
        FileDialogs::setFontHandler([](const FontChoice&) { return std::optional<FontChoice>(); });
        QVERIFY(!FileDialogs::chooseFont(nullptr, {QFont(), QColor(Qt::black)}));
        FileDialogs::setFileHandler({});
        FileDialogs::setFontHandler({});
    }
};

QTEST_MAIN(FileDialogsTest)
#include "file_dialogs_test.moc"
