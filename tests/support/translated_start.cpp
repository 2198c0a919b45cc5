// Linked into every Qt test program: with VELLORAN_TEST_TRANSLATED set, the program's and Qt's
// translations for the system's language (LANG=de_DE.UTF-8) are installed as the application starts, as
// the program does, so that the same window tests run in that language. A run that asks for a
// translation and gets none stops, rather than passing in English.
#include "platform/translations.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace {

void installAskedTranslations() {
    if (qEnvironmentVariableIsEmpty("VELLORAN_TEST_TRANSLATED"))
        return;
    if (velloran::installTranslations(*QCoreApplication::instance()).isEmpty()) {
        std::fprintf(stderr, "VELLORAN_TEST_TRANSLATED is set, but the locale %s has no translation\n",
                     qPrintable(QLocale::system().name()));
        std::abort();
    }
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAskedTranslations)
