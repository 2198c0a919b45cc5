// The file-open and font dialogs behind one helper, so that tests can answer them without a person.
#pragma once

#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QList>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace velloran {

struct FileDialogRequest {
    // The first choice of file types, "Description|pattern;pattern": the description shown to the user
    // and the names it offers.
    QString filter;
    // The first choice also offers what a Linux user runs: executable files, scripts, desktop entries
    // and AppImages.
    bool offerPrograms = false;
    // The desktop's own types for this kind of file, offered after the first choice: MIME type names,
    // "audio/*" for every audio type the MIME database knows. All of them are one choice of this title,
    // then each type is one; "All files (*)" comes last.
    QStringList mimeTypes;
    QString mimeTypesTitle;
    // Where the dialog opens: in the folder of the path already typed, else where the last dialog of
    // the same rememberAs ended in this session, else in the user's own folder of this kind.
    QString typedPath;
    QString rememberAs;
    QStandardPaths::StandardLocation firstFolder = QStandardPaths::HomeLocation;
};

// One choice in the open dialog's list of file types.
struct FileChoice {
    QString label;            // what the user sees
    QStringList patterns;     // wildcards, matched in any letter case
    bool executables = false; // also every file the user may run
};

struct FontChoice {
    QFont font;
    QColor color;
};

class FileDialogs {
public:
    // The full path of the existing file the user chose; nothing when the dialog was cancelled.
    static std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request);
    // A font with its effects and text colour, starting from the given ones; nothing when cancelled.
    static std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial);

    // For tests: the dialogs go to the handlers instead of the screen, and their answers are returned.
    using FileHandler = std::function<std::optional<QString>(const FileDialogRequest&)>;
    using FontHandler = std::function<std::optional<FontChoice>(const FontChoice&)>;
    static void setFileHandler(FileHandler handler);
    static void setFontHandler(FontHandler handler);
    // For tests: every dialog opens as the first of the session.
    static void forgetFolders();
};

// The patterns of a "Description|pattern;pattern" filter.
QStringList filterPatterns(const QString& filter);
// The dialog's choices of file types for a request, in the order it lists them.
QList<FileChoice> fileChoices(const FileDialogRequest& request);
// Whether the open dialog lists this file under a choice: its name matches a pattern in any letter case,
// or it is something to run where the choice offers that. Folders are always listed.
bool choiceOffers(const FileChoice& choice, const QFileInfo& file);
// The folder the dialog for this request opens in.
QString startFolder(const FileDialogRequest& request);

} // namespace velloran
