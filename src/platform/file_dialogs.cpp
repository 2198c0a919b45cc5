#include "file_dialogs.h"

#include "owner_modal.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QPixmap>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace velloran {
namespace {

FileDialogs::FileHandler& fileHandler() {
    static FileDialogs::FileHandler instance;
    return instance;
}

FileDialogs::FontHandler& fontHandler() {
    static FileDialogs::FontHandler instance;
    return instance;
}

std::map<QString, QString>& lastFolders() {
    static std::map<QString, QString> instance;
    return instance;
}

void rememberFolder(const FileDialogRequest& request, const std::optional<QString>& chosen) {
    if (chosen && !request.rememberAs.isEmpty())
        lastFolders()[request.rememberAs] = QFileInfo(*chosen).absolutePath();
}

// What a choice lists, its patterns made into one expression once, not once a file.
class ChoiceMatch {
public:
    explicit ChoiceMatch(const FileChoice& choice) : executables_(choice.executables) {
        QStringList each;
        for (const QString& pattern : choice.patterns)
            each << QRegularExpression::wildcardToRegularExpression(pattern);
        names_ = QRegularExpression(each.isEmpty() ? QStringLiteral("(?!)") : each.join(QLatin1Char('|')),
                                    QRegularExpression::CaseInsensitiveOption);
    }

    bool offers(const QFileInfo& file) const {
        if (file.isDir() || names_.match(file.fileName()).hasMatch())
            return true;
        if (!executables_)
            return false;
        const QString suffix = file.suffix().toLower();
        return (file.isFile() && file.isExecutable()) || suffix == QLatin1String("sh") ||
               suffix == QLatin1String("desktop") || suffix == QLatin1String("appimage");
    }

private:
    QRegularExpression names_;
    bool executables_;
};

// Lists what the chosen file type offers. The dialog's own name filters let everything through: their
// matching is case-sensitive on Linux and cannot look at the executable bit.
class OfferedFilesProxy final : public QSortFilterProxyModel {
public:
    OfferedFilesProxy(QList<FileChoice> choices, QObject* parent)
        : QSortFilterProxyModel(parent), choices_(std::move(choices)), match_(choices_.first()) {}

    void choose(qsizetype index) {
        if (index < 0 || index >= choices_.size() || index == chosen_)
            return;
        chosen_ = index;
        match_ = ChoiceMatch(choices_[chosen_]);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files == nullptr)
            return true;
        return match_.offers(files->fileInfo(files->index(row, 0, parent)));
    }

private:
    QList<FileChoice> choices_;
    qsizetype chosen_ = 0;
    ChoiceMatch match_;
};

bool isExecutableType(const QMimeType& type) {
    return type.inherits(QStringLiteral("application/x-executable"));
}

// The MIME types a request names, each once, in the order named; "audio/*" by their descriptions.
QList<QMimeType> namedTypes(const QStringList& names) {
    const QMimeDatabase database;
    QList<QMimeType> types;
    auto add = [&types](const QMimeType& type) {
        if (type.isValid() && !types.contains(type))
            types << type;
    };
    for (const QString& name : names) {
        if (!name.endsWith(QLatin1String("/*"))) {
            add(database.mimeTypeForName(name));
            continue;
        }
        const QString media = name.chopped(1);
        QList<QMimeType> all;
        for (const QMimeType& type : database.allMimeTypes()) {
            if (type.name().startsWith(media))
                all << type;
        }
        std::sort(all.begin(), all.end(), [](const QMimeType& a, const QMimeType& b) {
            return a.comment().compare(b.comment(), Qt::CaseInsensitive) < 0;
        });
        for (const QMimeType& type : all)
            add(type);
    }
    return types;
}

// The sixteen colours of the classic font dialog; their names are translated where they are shown.
struct NamedColor {
    const char* name;
    QRgb rgb;
};
constexpr NamedColor kTextColors[] = {
    {QT_TRANSLATE_NOOP("FileDialogs", "Black"), 0x000000},
    {QT_TRANSLATE_NOOP("FileDialogs", "Maroon"), 0x800000},
    {QT_TRANSLATE_NOOP("FileDialogs", "Green"), 0x008000},
    {QT_TRANSLATE_NOOP("FileDialogs", "Olive"), 0x808000},
    {QT_TRANSLATE_NOOP("FileDialogs", "Navy"), 0x000080},
    {QT_TRANSLATE_NOOP("FileDialogs", "Purple"), 0x800080},
    {QT_TRANSLATE_NOOP("FileDialogs", "Teal"), 0x008080},
    {QT_TRANSLATE_NOOP("FileDialogs", "Gray"), 0x808080},
    {QT_TRANSLATE_NOOP("FileDialogs", "Silver"), 0xC0C0C0},
    {QT_TRANSLATE_NOOP("FileDialogs", "Red"), 0xFF0000},
    {QT_TRANSLATE_NOOP("FileDialogs", "Lime"), 0x00FF00},
    {QT_TRANSLATE_NOOP("FileDialogs", "Yellow"), 0xFFFF00},
    {QT_TRANSLATE_NOOP("FileDialogs", "Blue"), 0x0000FF},
    {QT_TRANSLATE_NOOP("FileDialogs", "Fuchsia"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("FileDialogs", "Aqua"), 0x00FFFF},
    {QT_TRANSLATE_NOOP("FileDialogs", "White"), 0xFFFFFF},
};

QIcon swatch(const QColor& color) {
    QPixmap pixmap(24, 12);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QComboBox* colorList(QWidget* parent, const QColor& current) {
    auto* list = new QComboBox(parent);
    for (const NamedColor& named : kTextColors)
        list->addItem(swatch(QColor(named.rgb)), QCoreApplication::translate("FileDialogs", named.name),
                      QColor(named.rgb));
    int index = list->findData(current.toRgb());
    if (index < 0) {
        list->addItem(swatch(current), QCoreApplication::translate("FileDialogs", "Custom"), current);
        index = list->count() - 1;
    }
    list->setCurrentIndex(index);
    return list;
}

std::optional<FontChoice> runFontDialog(QWidget* parent, const FontChoice& initial) {
    // The dialog lists installed faces only; start it on the face that stands in for the font's own.
    QFont preset = initial.font;
    preset.setFamilies({QFontInfo(initial.font).family()});
    // The dialog lists point sizes; the windows' font is set in pixels.
    if (preset.pointSizeF() <= 0 && preset.pixelSize() > 0)
        preset.setPointSizeF(preset.pixelSize() * 72.0 / 96.0);

    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("FileDialogs", "Font"));
    auto* fonts = new QFontDialog(&dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons);
    fonts->setCurrentFont(preset);
    // What the dialog shows for the preset: a face this machine lacks shows as what stands in for it.
    const QString presetFamily = fonts->currentFont().family();
    auto* colorLabel = new QLabel(QCoreApplication::translate("FileDialogs", "&Color:"), &dialog);
    QComboBox* colors = colorList(&dialog, initial.color);
    colorLabel->setBuddy(colors);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(colors);
    colorRow->addStretch();
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QFont chosen = fonts->currentFont();
    // While the user keeps that face, the font keeps its own name, so stored fonts still name
    // "MS Sans Serif" rather than what stands in for it here.
    if (chosen.family() == presetFamily)
        chosen.setFamilies(initial.font.families().isEmpty() ? QStringList{initial.font.family()}
                                                             : initial.font.families());
    return FontChoice{chosen, colors->currentData().value<QColor>()};
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, QCoreApplication::translate("FileDialogs", "Open"));
    makeOwnerModal(&dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QList<FileChoice> choices = fileChoices(request);
    QStringList filters;
    // Each filter passes every name; the label before it is all the list shows.
    for (const FileChoice& choice : choices)
        filters << choice.label + QStringLiteral(" (*)");
    dialog.setNameFilters(filters);
    auto* offered = new OfferedFilesProxy(choices, &dialog);
    dialog.setProxyModel(offered);
    // The dialog names the chosen filter as its list shows it: by its label.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, offered, [offered, filters](const QString& shown) {
            for (qsizetype i = 0; i < filters.size(); ++i) {
                if (filters[i] == shown || filters[i].chopped(4).simplified() == shown.simplified()) {
                    offered->choose(i);
                    return;
                }
            }
        });
    dialog.setDirectory(startFolder(request));
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> FileDialogs::openFile(QWidget* parent, const FileDialogRequest& request) {
    const std::optional<QString> chosen =
        fileHandler() ? fileHandler()(request) : runFileDialog(parent, request);
    rememberFolder(request, chosen);
    return chosen;
}

std::optional<FontChoice> FileDialogs::chooseFont(QWidget* parent, const FontChoice& initial) {
    if (fontHandler())
        return fontHandler()(initial);
    return runFontDialog(parent, initial);
}

void FileDialogs::setFileHandler(FileHandler handler) {
    fileHandler() = std::move(handler);
}

void FileDialogs::setFontHandler(FontHandler handler) {
    fontHandler() = std::move(handler);
}

void FileDialogs::forgetFolders() {
    lastFolders().clear();
}

QStringList filterPatterns(const QString& filter) {
    return filter.section(QLatin1Char('|'), 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QList<FileChoice> fileChoices(const FileDialogRequest& request) {
    QList<FileChoice> choices;
    FileChoice first{request.filter.section(QLatin1Char('|'), 0, 0), {}, request.offerPrograms};
    for (const QString& pattern : filterPatterns(request.filter))
        // "*.*" meant every file where names carry an extension; here many do not.
        first.patterns << (pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*")
                                                                     : pattern.trimmed());
    choices << first;

    const QList<QMimeType> types = namedTypes(request.mimeTypes);
    FileChoice all{request.mimeTypesTitle, {}, false};
    QList<FileChoice> each;
    for (const QMimeType& type : types) {
        const bool executables = isExecutableType(type);
        if (type.globPatterns().isEmpty() && !executables)
            continue;
        const QString globs = type.globPatterns().join(QLatin1Char(' '));
        each << FileChoice{globs.isEmpty() ? type.comment()
                                           : type.comment() + QStringLiteral(" (") + globs + QLatin1Char(')'),
                           type.globPatterns(), executables};
        for (const QString& glob : type.globPatterns()) {
            if (!all.patterns.contains(glob))
                all.patterns << glob;
        }
        all.executables = all.executables || executables;
    }
    // Selected at the start, the kind's own list also lists what this desktop knows as that kind: a
    // PDF or an .ogg is found without looking for its type further down.
    for (const QString& glob : all.patterns) {
        if (!choices.first().patterns.contains(glob, Qt::CaseInsensitive))
            choices.first().patterns << glob;
    }
    choices.first().executables = choices.first().executables || all.executables;
    if (!each.isEmpty())
        choices << all << each;
    if (first.patterns != QStringList{QStringLiteral("*")})
        choices << FileChoice{
            QCoreApplication::translate("FileDialogs", "All files (*)"), {QStringLiteral("*")}, false};
    return choices;
}

bool choiceOffers(const FileChoice& choice, const QFileInfo& file) {
    return ChoiceMatch(choice).offers(file);
}

QString startFolder(const FileDialogRequest& request) {
    // A path typed with a folder in it; a bare name says nothing about where to look.
    if (request.typedPath.contains(QLatin1Char('/'))) {
        const QFileInfo typed(request.typedPath);
        const QString folder = typed.isDir() ? typed.absoluteFilePath() : typed.absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    if (const auto last = lastFolders().find(request.rememberAs);
        last != lastFolders().end() && QFileInfo(last->second).isDir())
        return last->second;
    const QString own = QStandardPaths::writableLocation(request.firstFolder);
    return QFileInfo(own).isDir() ? own : QDir::homePath();
}

} // namespace velloran
