#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

// Q_INIT_RESOURCE must be used outside any namespace; the resource is a static library's, which the
// linker would otherwise leave out.
static void registerTranslationResource() {
    Q_INIT_RESOURCE(translations);
}

namespace velloran {
namespace {

const QString kResourceFolder = QStringLiteral(":/translations");
const QString kProgramPrefix = QStringLiteral("velloran_");

bool install(QCoreApplication& app, const QString& file, const QString& folder) {
    auto translator = std::make_unique<QTranslator>(&app);
    if (!translator->load(file, folder))
        return false;
    app.installTranslator(translator.release());
    return true;
}

} // namespace

QStringList translatedLanguages() {
    registerTranslationResource();
    QStringList languages;
    for (const QString& file : QDir(kResourceFolder).entryList({kProgramPrefix + QStringLiteral("*.qm")}))
        languages.append(file.mid(kProgramPrefix.size()).chopped(3));
    return languages;
}

QString chooseLanguage(const QStringList& uiLanguages, const QStringList& translated) {
    for (const QString& wanted : uiLanguages) {
        const QLocale locale(wanted);
        if (locale.language() == QLocale::English || wanted == QLatin1String("C"))
            return {};
        // A language Qt does not know reads as C: it has no translation either.
        if (locale.language() == QLocale::C)
            continue;
        // The whole name first (pt_BR), then the language alone (de for de_AT).
        const QString name = locale.name();
        if (translated.contains(name))
            return name;
        const QString language = name.section(QLatin1Char('_'), 0, 0);
        if (translated.contains(language))
            return language;
    }
    return {};
}

namespace {
QString& installed() {
    static QString language;
    return language;
}
} // namespace

QString installedLanguage() {
    return installed();
}

QString installTranslations(QCoreApplication& app, const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return {};
    const QString language = chooseLanguage(locale.uiLanguages(), translatedLanguages());
    if (language.isEmpty())
        return {};
    if (!install(app, kProgramPrefix + language, kResourceFolder))
        return {};
    // Without Qt's (qt6-translations-l10n not installed) the standard buttons stay in English.
    install(app, QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    installed() = language;
    return language;
}

} // namespace velloran
