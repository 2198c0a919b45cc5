#include "platform/file_dialogs.h"

#include "look/fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
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

    static FileDialogRequest request(const QString& filter, bool programs = false) {
        FileDialogRequest made;
        made.filter = filter;
        made.offerPrograms = programs;
        return made;
    }

    // Whether the dialog lists the file under its first choice.
    static bool offered(const FileDialogRequest& made, const QFileInfo& file) {
        return choiceOffers(fileChoices(made).first(), file);
    }

private slots:
    void initTestCase() { installFontSubstitutes(); }
    void init() { FileDialogs::forgetFolders(); }

    // The dialog a user sees for an audio file: the kind's own list (with what the desktop knows as audio)
    // first, then the desktop's audio types, then every file; it opens in the user's music folder.
    void openDialogOffersTheDesktopsTypesAndOpensInTheKindsFolder() {
        const QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", oldHome); });
        const QDir music(home.filePath(QStringLiteral("Music")));
        QDir().mkpath(music.filePath(QStringLiteral("albums")));
        for (const char* name : {"song.MP3", "podcast.ogg", "notes.txt"}) {
            QFile file(music.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QString openedIn;
        QStringList types, underFirst, underAudio, underAll;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                if (QApplication::activeModalWidget() != nullptr)
                    QApplication::activeModalWidget()->close();
                return;
            }
            openedIn = dialog->directory().absolutePath();
            // The view the user last chose is remembered in the Qt settings; this test reads the list view.
            dialog->setViewMode(QFileDialog::List);
            auto* typeList = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; typeList != nullptr && i < typeList->count(); ++i)
                types << typeList->itemText(i);
            // The folder is read in the background; give it the time it needs.
            auto listing = [&] {
                for (int tries = 0; tries < 500 && !listed(dialog).contains(QStringLiteral("albums"));
                     ++tries)
                    QTest::qWait(10);
                return listed(dialog);
            };
            underFirst = listing();
            picture(dialog, QStringLiteral("file-dialog.png"));
            QTest::keyClick(typeList, Qt::Key_Down); // the user picks the next type
            underAudio = listing();
            QTest::keyClick(typeList, Qt::Key_End);
            underAll = listing();
            QTest::keyClick(typeList, Qt::Key_Home);
            QTest::keyClick(typeList, Qt::Key_Down);
            // The user double-clicks the file in the list.
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            const QModelIndexList found =
                view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                                     QStringLiteral("podcast.ogg"));
            if (!found.isEmpty()) {
                const QPoint spot = view->visualRect(found.first()).center();
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, spot);
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, spot);
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        FileDialogRequest audio = request(QStringLiteral("Audio files (*.mp3;*aiff)|*.mp3;*aiff"));
        audio.mimeTypes = QStringList{QStringLiteral("audio/*")};
        audio.mimeTypesTitle = QStringLiteral("All audio files");
        audio.firstFolder = QStandardPaths::MusicLocation;
        const auto chosen = FileDialogs::openFile(nullptr, audio);

        QCOMPARE(openedIn, music.absolutePath());
        QVERIFY(types.size() > 4);
        QCOMPARE(types.first(), QStringLiteral("Audio files (*.mp3;*aiff)"));
        QCOMPARE(types[1], QStringLiteral("All audio files"));
        QCOMPARE(types.last(), QStringLiteral("All files (*)"));
        QVERIFY2(types.filter(QStringLiteral("*.ogg")).size() >= 1,
                 qPrintable(types.join(QLatin1Char('\n'))));
        // The list selected at the start has the desktop's audio types too: the .ogg is found at once.
        QCOMPARE(underFirst, (QStringList{"albums", "podcast.ogg", "song.MP3"}));
        QCOMPARE(underAudio, (QStringList{"albums", "podcast.ogg", "song.MP3"}));
        QCOMPARE(underAll, (QStringList{"albums", "notes.txt", "podcast.ogg", "song.MP3"}));
        QCOMPARE(chosen, std::optional<QString>(music.filePath(QStringLiteral("podcast.ogg"))));
    }

    void cancelledOpenDialogGivesNothing() {
        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(FileDialogs::openFile(nullptr, request(QStringLiteral("All files (*.*)|*.*"))),
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
        const FileDialogRequest audio = request(QStringLiteral("Audio files|*.mp3;*.wav;*aiff"));
        QVERIFY(offered(audio, makeFile(QStringLiteral("song.MP3"))));
        QVERIFY(offered(audio, makeFile(QStringLiteral("take.wav"))));
        // "*aiff" has no dot: any name that ends in aiff.
        QVERIFY(offered(audio, makeFile(QStringLiteral("recordingaiff"))));
        QVERIFY(!offered(audio, makeFile(QStringLiteral("song.mp3.txt"))));
        QVERIFY(!offered(audio, makeFile(QStringLiteral("notes.txt"))));
        QVERIFY(offered(audio, QFileInfo(dir.path()))); // folders stay reachable
    }

    void allFilesMeansEveryName() {
        const FileDialogRequest all = request(QStringLiteral("All files (*.*)|*.*"));
        QVERIFY(offered(all, makeFile(QStringLiteral("README"))));
        QVERIFY(offered(all, makeFile(QStringLiteral("a.b"))));
    }

    void programsIncludeWhatLinuxRuns() {
        const FileDialogRequest programs =
            request(QStringLiteral("Programs (*.exe;*.lnk;*.bat)|*.exe;*.lnk;*.bat"), true);
        QVERIFY(offered(programs, makeFile(QStringLiteral("setup.EXE"))));
        QVERIFY(offered(programs, makeFile(QStringLiteral("backup"), true)));
        QVERIFY(offered(programs, makeFile(QStringLiteral("run.sh"))));
        QVERIFY(offered(programs, makeFile(QStringLiteral("editor.desktop"))));
        QVERIFY(offered(programs, makeFile(QStringLiteral("Tool-x86_64.AppImage"))));
        QVERIFY(!offered(programs, makeFile(QStringLiteral("notes.txt"))));
        const FileDialogRequest documents = request(QStringLiteral("Documents|*.txt"));
        QVERIFY(!offered(documents, makeFile(QStringLiteral("tool"), true)));
    }

    // After the kind's own list: every type named, at once and one by one, then every file.
    void desktopTypesFollowTheKindsOwnList() {
        FileDialogRequest documents =
            request(QStringLiteral("Document and Text files (*.txt;*.doc)|*.txt;*.doc"));
        documents.mimeTypes = QStringList{
            QStringLiteral("application/pdf"), QStringLiteral("application/vnd.oasis.opendocument.text"),
            QStringLiteral("application/no-such-type"), QStringLiteral("text/plain")};
        documents.mimeTypesTitle = QStringLiteral("All documents");
        const QList<FileChoice> choices = fileChoices(documents);
        QStringList labels;
        for (const FileChoice& choice : choices)
            labels << choice.label;
        // The unknown type is left out; the others show the desktop's own description and names.
        QCOMPARE(labels.size(), 6);
        QCOMPARE(labels[0], QStringLiteral("Document and Text files (*.txt;*.doc)"));
        QCOMPARE(labels[1], QStringLiteral("All documents"));
        QVERIFY2(labels[2].contains(QStringLiteral("(*.pdf")), qPrintable(labels[2]));
        QVERIFY2(labels[3].contains(QStringLiteral("*.odt")), qPrintable(labels[3]));
        QVERIFY2(labels[4].contains(QStringLiteral("*.txt")), qPrintable(labels[4]));
        QCOMPARE(labels[5], QStringLiteral("All files (*)"));
        QVERIFY(choiceOffers(choices[0], makeFile(QStringLiteral("report.PDF"))));
        QVERIFY(choiceOffers(choices[0], makeFile(QStringLiteral("letter.odt"))));
        QVERIFY(!choiceOffers(choices[0], makeFile(QStringLiteral("song.ogg"))));
        QVERIFY(choiceOffers(choices[1], makeFile(QStringLiteral("report.PDF"))));
        QVERIFY(choiceOffers(choices[1], makeFile(QStringLiteral("letter.odt"))));
        QVERIFY(!choiceOffers(choices[1], makeFile(QStringLiteral("song.ogg"))));
        QVERIFY(choiceOffers(choices[5], makeFile(QStringLiteral("song.ogg"))));

        // Programs: the executables, which no name gives away, are one of the types.
        FileDialogRequest programs = request(QStringLiteral("Programs (*.exe)|*.exe"), true);
        programs.mimeTypes = QStringList{QStringLiteral("application/x-executable"),
                                         QStringLiteral("application/x-shellscript")};
        programs.mimeTypesTitle = QStringLiteral("All programs");
        const QList<FileChoice> runnable = fileChoices(programs);
        QCOMPARE(runnable.size(), 5);
        QCOMPARE(runnable[1].label, QStringLiteral("All programs"));
        QVERIFY(choiceOffers(runnable[1], makeFile(QStringLiteral("backup"), true)));
        QVERIFY(choiceOffers(runnable[1], makeFile(QStringLiteral("start.sh"))));
        QVERIFY(choiceOffers(runnable[2], makeFile(QStringLiteral("backup"), true)));
        QVERIFY(!choiceOffers(runnable[2], makeFile(QStringLiteral("notes.txt"))));

        // "All files" once: a first choice of every file is not repeated.
        QCOMPARE(fileChoices(request(QStringLiteral("All files (*.*)|*.*"))).size(), 1);
    }

    void startFolderIsTypedThenLastThenTheUsersOwn() {
        const QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", oldHome); });
        FileDialogRequest video = request(QStringLiteral("Video files|*.mpg"));
        video.rememberAs = QStringLiteral("VideoSheet");
        video.firstFolder = QStandardPaths::MoviesLocation;
        // No Videos folder yet: the home folder.
        QCOMPARE(startFolder(video), home.path());
        QDir(home.path()).mkdir(QStringLiteral("Videos"));
        QCOMPARE(startFolder(video), home.filePath(QStringLiteral("Videos")));
        // Where the last one of the kind ended.
        FileDialogs::setFileHandler([&](const FileDialogRequest&) {
            return std::optional<QString>(dir.filePath(QStringLiteral("clip.mpg")));
        });
        FileDialogs::openFile(nullptr, video);
        FileDialogs::setFileHandler({});
        QCOMPARE(startFolder(video), dir.path());
        FileDialogRequest other = video;
        other.rememberAs = QStringLiteral("AudioSheet");
        QCOMPARE(startFolder(other), home.filePath(QStringLiteral("Videos")));
        // The folder of a path already typed wins; a bare name or a missing folder says nothing.
        video.typedPath = home.filePath(QStringLiteral("Videos/holiday.mp4"));
        QCOMPARE(startFolder(video), home.filePath(QStringLiteral("Videos")));
        video.typedPath = home.path();
        QCOMPARE(startFolder(video), home.path());
        video.typedPath = QStringLiteral("holiday.mp4");
        QCOMPARE(startFolder(video), dir.path());
        video.typedPath = QStringLiteral("/no/such/folder/holiday.mp4");
        QCOMPARE(startFolder(video), dir.path());
    }

    void handlersAnswerInsteadOfTheDialogs() {
        FileDialogRequest seen;
        FileDialogs::setFileHandler([&](const FileDialogRequest& asked) {
            seen = asked;
            return std::optional<QString>(QStringLiteral("/tmp/chosen"));
        });
        QCOMPARE(FileDialogs::openFile(nullptr, request(QStringLiteral("All files (*.*)|*.*"), true)),
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
