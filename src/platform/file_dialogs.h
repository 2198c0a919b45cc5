// The file-open and font dialogs behind one helper, so that tests can answer them without a person.
#pragma once

#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace velloran {

struct FileDialogRequest {
    // "Description|pattern;pattern": the description shown to the user and the names it offers.
    QString filter;
    // Also offer what a Linux user runs: executable files, scripts, desktop entries and AppImages.
    bool offerPrograms = false;
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
};

// The patterns of a "Description|pattern;pattern" filter.
QStringList filterPatterns(const QString& filter);
// Whether the open dialog lists this file under the request: its name matches a pattern in any letter
// case, or it is something to run when programs are offered. Folders are always listed.
bool dialogOffers(const FileDialogRequest& request, const QFileInfo& file);

} // namespace velloran
