// The user's language: Qt's own texts (the standard dialogs' buttons) and the program's, both for the
// first of the user's languages that is English or has a translation of the program's texts.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace velloran {

// The languages of the translations built into the program ("de" for velloran_de.qm).
QStringList translatedLanguages();

// Which of `translated` the user's languages (QLocale::uiLanguages(), most wanted first) ask for: the
// first one that is translated, or "" when an English one or C comes first (the texts are written in
// English) or none is translated. "de-AT" asks for "de"; a language Qt does not know is passed over.
QString chooseLanguage(const QStringList& uiLanguages, const QStringList& translated);

// Installs Qt's translation and the program's for the locale's languages and returns the language
// installed, or "" when the texts stay as written: always under the C locale (LANG=C, whatever LANGUAGE
// says), as gettext does. Call before any window or text is made.
QString installTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

// The language that installTranslations installed last, "" while the texts are as written.
QString installedLanguage();

} // namespace velloran
