#include "file_dialogs.h"

#include "owner_modal.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

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

// Lists what the request offers. The dialog's own name filter lets everything through: its matching
// is case-sensitive on Linux and cannot look at the executable bit.
class OfferedFilesProxy final : public QSortFilterProxyModel {
public:
    OfferedFilesProxy(FileDialogRequest request, QObject* parent)
        : QSortFilterProxyModel(parent), request_(std::move(request)) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files == nullptr)
            return true;
        return dialogOffers(request_, files->fileInfo(files->index(row, 0, parent)));
    }

private:
    FileDialogRequest request_;
};

// The sixteen colours of the classic font dialog.
struct NamedColor {
    const char* name;
    QRgb rgb;
};
constexpr NamedColor kTextColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

QIcon swatch(const QColor& color) {
    QPixmap pixmap(24, 12);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QComboBox* colorList(QWidget* parent, const QColor& current) {
    auto* list = new QComboBox(parent);
    for (const NamedColor& named : kTextColors)
        list->addItem(swatch(QColor(named.rgb)), QString::fromLatin1(named.name), QColor(named.rgb));
    int index = list->findData(current.toRgb());
    if (index < 0) {
        list->addItem(swatch(current), QStringLiteral("Custom"), current);
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
    dialog.setWindowTitle(QStringLiteral("Font"));
    auto* fonts = new QFontDialog(&dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons);
    fonts->setCurrentFont(preset);
    // What the dialog shows for the preset: a face this machine lacks shows as what stands in for it.
    const QString presetFamily = fonts->currentFont().family();
    auto* colorLabel = new QLabel(QStringLiteral("&Color:"), &dialog);
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
    QFileDialog dialog(parent, QStringLiteral("Open"));
    makeOwnerModal(&dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QString description = request.filter.section(QLatin1Char('|'), 0, 0);
    dialog.setNameFilter(description + QStringLiteral(" (*)"));
    dialog.setProxyModel(new OfferedFilesProxy(request, &dialog));
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> FileDialogs::openFile(QWidget* parent, const FileDialogRequest& request) {
    if (fileHandler())
        return fileHandler()(request);
    return runFileDialog(parent, request);
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

QStringList filterPatterns(const QString& filter) {
    return filter.section(QLatin1Char('|'), 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool dialogOffers(const FileDialogRequest& request, const QFileInfo& file) {
    if (file.isDir())
        return true;
    const QString name = file.fileName();
    for (QString pattern : filterPatterns(request.filter)) {
        pattern = pattern.trimmed();
        // "*.*" meant every file where names carry an extension; here many do not.
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                       QRegularExpression::CaseInsensitiveOption);
        if (match.match(name).hasMatch())
            return true;
    }
    if (!request.offerPrograms)
        return false;
    const QString suffix = file.suffix().toLower();
    return (file.isFile() && file.isExecutable()) || suffix == QLatin1String("sh") ||
           suffix == QLatin1String("desktop") || suffix == QLatin1String("appimage");
}

} // namespace velloran
