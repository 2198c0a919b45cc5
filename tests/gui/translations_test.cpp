// Which language the program speaks, and what installing it puts in place.
#include "platform/translated_message.h"
#include "platform/translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTest>
#include <QTranslator>

using namespace velloran;

class TranslationsTest : public QObject {
    Q_OBJECT

    static QList<QTranslator*> installed() {
        return QCoreApplication::instance()->findChildren<QTranslator*>();
    }

private slots:
    void cleanup() {
        for (QTranslator* translator : installed()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    void chooseLanguage_data() {
        QTest::addColumn<QStringList>("wanted");
        QTest::addColumn<QStringList>("translated");
        QTest::addColumn<QString>("chosen");
        const QStringList german{"de"};
        QTest::newRow("German") << QStringList{"de-DE", "de-Latn-DE", "de"} << german << "de";
        QTest::newRow("Austrian German has no plain de")
            << QStringList{"de-AT", "de-Latn-AT"} << german << "de";
        QTest::newRow("English first") << QStringList{"en-US", "en-Latn-US", "en", "de"} << german << "";
        QTest::newRow("British English first") << QStringList{"en-GB", "de-DE"} << german << "";
        QTest::newRow("untranslated French, then German")
            << QStringList{"fr", "fr-FR", "de", "de-DE"} << german << "de";
        QTest::newRow("only untranslated ones") << QStringList{"fr-FR", "es-ES"} << german << "";
        QTest::newRow("C") << QStringList{"C"} << german << "";
        QTest::newRow("C before German") << QStringList{"C", "de"} << german << "";
        QTest::newRow("an unknown language, then German") << QStringList{"xx-YY", "de-DE"} << german << "de";
        QTest::newRow("none wanted") << QStringList{} << german << "";
        QTest::newRow("nothing translated") << QStringList{"de-DE"} << QStringList{} << "";
        QTest::newRow("a country's own before the language's")
            << QStringList{"de-CH"} << QStringList{"de", "de_CH"} << "de_CH";
        QTest::newRow("another country's is not taken") << QStringList{"pt-PT"} << QStringList{"pt_BR"} << "";
    }

    void chooseLanguage() {
        QFETCH(QStringList, wanted);
        QFETCH(QStringList, translated);
        QFETCH(QString, chosen);
        QCOMPARE(velloran::chooseLanguage(wanted, translated), chosen);
    }

    void germanIsBuiltIn() { QVERIFY(translatedLanguages().contains(QStringLiteral("de"))); }

    void cAndEnglishInstallNothing() {
        QCOMPARE(installTranslations(*QCoreApplication::instance(), QLocale::c()), QString());
        QCOMPARE(installTranslations(*QCoreApplication::instance(),
                                     QLocale(QLocale::English, QLocale::UnitedStates)),
                 QString());
        QCOMPARE(installTranslations(*QCoreApplication::instance(),
                                     QLocale(QLocale::English, QLocale::UnitedKingdom)),
                 QString());
        QVERIFY(installed().isEmpty());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }

    void untranslatedLanguageInstallsNothing() {
        QCOMPARE(
            installTranslations(*QCoreApplication::instance(), QLocale(QLocale::Japanese, QLocale::Japan)),
            QString());
        QVERIFY(installed().isEmpty());
    }

    void germanInstallsTheProgramsAndQtsTranslation() {
        QCOMPARE(
            installTranslations(*QCoreApplication::instance(), QLocale(QLocale::German, QLocale::Austria)),
            QStringLiteral("de"));
        QStringList files;
        for (const QTranslator* translator : installed())
            files.append(translator->filePath());
        QVERIFY2(files.contains(QStringLiteral(":/translations/velloran_de.qm")),
                 qPrintable(files.join(", ")));
        const QString qtGerman = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm";
        if (!QFileInfo::exists(qtGerman))
            QSKIP("Qt's German translation is not installed (qt6-translations-l10n)");
        QVERIFY2(files.contains(qtGerman), qPrintable(files.join(", ")));
        // The standard buttons of message boxes and dialogs.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    }

    // A count takes its plural form: in English from the source, in German from the translation.
    void countsTakeTheirPluralForm() {
        const char* source =
            "The last task in \"%1\" is incomplete (%n byte(s)) and could not be read; the other "
            "tasks were loaded.\nThe file as it was is kept as \"%2\".";
        const auto text = [&](long long count) {
            return translated(
                       Message::counted("TaskStore", source, count, {std::string("a"), std::string("b")}))
                .section(QLatin1Char(';'), 0, 0);
        };
        QCOMPARE(text(1),
                 QStringLiteral("The last task in \"a\" is incomplete (1 byte) and could not be read"));
        QCOMPARE(text(2),
                 QStringLiteral("The last task in \"a\" is incomplete (2 bytes) and could not be read"));
        installTranslations(*QCoreApplication::instance(), QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(text(1),
                 QStringLiteral("Die letzte Aufgabe in „a“ ist unvollständig (1 Byte) und konnte nicht "
                                "gelesen werden"));
        QCOMPARE(text(100),
                 QStringLiteral("Die letzte Aufgabe in „a“ ist unvollständig (100 Bytes) und konnte "
                                "nicht gelesen werden"));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "translations_test.moc"
