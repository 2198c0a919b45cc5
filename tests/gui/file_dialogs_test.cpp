#include "platform/file_dialogs.h"

#include "look/fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

    static void picture(QWidget* window, const QString& name) {
        const QString folder = qEnvironmentVariable("VELLORAN_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        window->grab().save(QDir(folder).filePath(name));
    }

    static QStringList listed(QFileDialog* dialog) {
        QStringList names;
        const auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
        for (int row = 0; view != nullptr && row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        names.sort();
        return names;
    }

private slots:
    void initTestCase() { installFontSubstitutes(); }

    void openDialogListsWhatTheFilterOffers() {
        makeFile(QStringLiteral("song.MP3"));
        makeFile(QStringLiteral("notes.txt"));
        makeFile(QStringLiteral("tool"), true);
        QDir(dir.path()).mkdir(QStringLiteral("music"));
        QStringList seen;
        QTimer::singleShot(0, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) {
                if (modal != nullptr)
                    modal->close();
                return;
            }
            // The view the user last chose is remembered in the Qt settings; this test reads the list view.
            dialog->setViewMode(QFileDialog::List);
            dialog->setDirectory(dir.path());
            // The folder is read in the background; give it the time it needs, then choose.
            for (int tries = 0; tries < 500 && !listed(dialog).contains(QStringLiteral("music")); ++tries)
                QTest::qWait(10);
            seen = listed(dialog);
            picture(dialog, QStringLiteral("file-dialog.png"));
            // The user double-clicks the file in the list.
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            const QModelIndexList found = view->model()->match(view->model()->index(0, 0, view->rootIndex()),
                                                               Qt::DisplayRole, QStringLiteral("song.MP3"));
            if (!found.isEmpty()) {
                const QPoint spot = view->visualRect(found.first()).center();
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, spot);
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, spot);
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        const auto chosen =
            FileDialogs::openFile(nullptr, {QStringLiteral("Audio files (*.mp3)|*.mp3"), false});
        QCOMPARE(seen, (QStringList{"music", "song.MP3"}));
        QCOMPARE(chosen, std::optional<QString>(dir.filePath(QStringLiteral("song.MP3"))));
    }

    void cancelledOpenDialogGivesNothing() {
        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(FileDialogs::openFile(nullptr, {QStringLiteral("All files (*.*)|*.*"), false}),
                 std::nullopt);
    }

    void fontDialogKeepsASubstitutedFaceAndOffersColours() {
        QFont initial(QString::fromLatin1(kDesignFace));
        initial.setPointSize(10);
        initial.setBold(true);
        const QColor custom(0x12, 0x34, 0x56);
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Font"));
            QVERIFY(dialog->findChild<QFontDialog*>() != nullptr);
            picture(dialog, QStringLiteral("font-dialog.png"));
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        const auto chosen = FileDialogs::chooseFont(nullptr, {initial, custom});
        QVERIFY(chosen.has_value());
        QCOMPARE(chosen->font.family(), QString::fromLatin1(kDesignFace));
        QVERIFY(chosen->font.bold());
        QCOMPARE(chosen->font.pointSize(), 10);
        QCOMPARE(chosen->color, custom);
    }

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
