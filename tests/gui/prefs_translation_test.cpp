// Every text that the preferences, about and splash windows show comes through the translator, and
// nothing they store depends on it.
#include "look/fonts.h"
#include "marking_translator.h"
#include "prefs/about_form.h"
#include "prefs/link_label.h"
#include "prefs/preferences_form.h"
#include "prefs/settings_store.h"
#include "prefs/splash_form.h"
#include "prefs_test_support.h"
#include "registry/registry_memory.h"
#include "window_checks.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

using namespace velloran;

namespace {

// Every text of the window that a person or a screen reader meets and that did not come through the
// translator, as "name: text"; those of the controls named in untranslated are left out.
QStringList textsNotTranslated(const QWidget& window, const QStringList& untranslated = {}) {
    QStringList found;
    const auto check = [&](const QObject& owner, const QString& text) {
        if (!text.isEmpty() && !test::marked(text) && !untranslated.contains(owner.objectName()))
            found << (owner.objectName().isEmpty() ? QString::fromLatin1(owner.metaObject()->className())
                                                   : owner.objectName()) +
                         QStringLiteral(": ") + text;
    };
    QList<const QWidget*> widgets{&window};
    for (const QWidget* child : window.findChildren<QWidget*>())
        widgets << child;
    for (const QWidget* widget : widgets) {
        check(*widget, widget->accessibleName());
        check(*widget, widget->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            check(*label, label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            check(*button, button->text());
        if (const auto* group = qobject_cast<const QGroupBox*>(widget))
            check(*group, group->title());
        if (const auto* list = qobject_cast<const QComboBox*>(widget))
            for (int i = 0; i < list->count(); ++i)
                check(*list, list->itemText(i));
    }
    check(window, window.windowTitle());
    return found;
}

} // namespace

class PrefsTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void init() { QVERIFY(QCoreApplication::installTranslator(&translator_)); }
    void cleanup() { QCoreApplication::removeTranslator(&translator_); }

    void preferencesTextsAreTranslated() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        PreferencesForm form(nullptr, settings, registry, "/opt/velloran/velloran");
        form.show();
        const QStringList missed = textsNotTranslated(form);
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QStringLiteral(" | "))));
        QCOMPARE(form.windowTitle(), QStringLiteral("[Preferences]"));
        QCOMPARE(test::part<QComboBox>(form, "SnoozeTimeCB")->itemText(1), QStringLiteral("[10 min]"));
        QCOMPARE(test::part<QComboBox>(form, "AlarmOffTimeCB")->lineEdit()->accessibleName(),
                 QStringLiteral("[Automatically turn off after]"));
    }

    // The addresses are the same in every language; the rest is translated, the version kept whole.
    void aboutTextsAreTranslated() {
        test::RecordingOpener opener;
        AboutForm form(nullptr, opener);
        form.show();
        const QStringList missed =
            textsNotTranslated(form, {QStringLiteral("Label5"), QStringLiteral("Label6")});
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QStringLiteral(" | "))));
        QCOMPARE(test::part<QLabel>(form, "Label1")->text(), QStringLiteral("[Velloran (vesion 1.2)]"));
        QCOMPARE(test::part<LinkLabel>(form, "Label5")->text(), QStringLiteral("https://velloran.org/"));
        QCOMPARE(test::part<LinkLabel>(form, "Label6")->text(), QStringLiteral("support@velloran.org"));
    }

    // A longer translation of the name line makes the line longer, not cut off.
    void aboutNameLineGrowsWithItsTranslation() {
        test::RecordingOpener opener;
        AboutForm form(nullptr, opener);
        form.show();
        auto* name = test::part<QLabel>(form, "Label1");
        QCOMPARE(name->size(), name->sizeHint());
        const QStringList clipped = test::clippedCaptions(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
    }

    // The splash's title is how the desktop and its tests know the window; it is never shown.
    void splashNameIsTranslatedAndItsTitleIsNot() {
        int ticks = 0;
        SplashForm form(nullptr, ticks);
        const QStringList missed = textsNotTranslated(form, {QStringLiteral("SplashForm")});
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QStringLiteral(" | "))));
        QCOMPARE(form.windowTitle(), QStringLiteral("SplashForm"));
        QCOMPARE(test::part<QWidget>(form, "Image1")->accessibleName(),
                 QStringLiteral("[Velloran is starting]"));
    }

    // The record and the registry hold item numbers, never the words of the language shown.
    void storedSettingsDoNotDependOnTheLanguage() {
        SettingsRecord settings = defaultSettings();
        settings.SnoozeTime = 4;
        settings.AlarmOffEnabled = 1;
        settings.AlarmOffTime = 2;
        QByteArray stored[2];
        for (const bool translated : {true, false}) {
            if (!translated)
                QCoreApplication::removeTranslator(&translator_);
            MemoryRegistry registry;
            SettingsRecord shown = settings;
            PreferencesForm form(nullptr, shown, registry, "/opt/velloran/velloran");
            form.show();
            test::part<QPushButton>(form, "SaveBT")->click();
            QVERIFY(!form.isVisible());
            const auto value = registry.readValue(kSettingsKey, kSettingsValue);
            QVERIFY(value);
            stored[translated ? 0 : 1] = QByteArray::fromStdString(value->data);
            QCOMPARE(shown.SnoozeTime, 4);
            QCOMPARE(shown.AlarmOffTime, 2);
        }
        QCOMPARE(stored[0], stored[1]);
    }

    // Typing a translated item's words selects that item.
    void typedSwitchOffTimeMatchesTheTranslatedItems() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        settings.AlarmOffEnabled = 1;
        PreferencesForm form(nullptr, settings, registry, "/opt/velloran/velloran");
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* list = test::part<QComboBox>(form, "AlarmOffTimeCB");
        QLineEdit* edit = list->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("[25 min]"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(list->currentIndex(), 4);
        test::part<QPushButton>(form, "SaveBT")->click();
        QCOMPARE(settings.AlarmOffTime, 4);
    }

private:
    test::MarkingTranslator translator_{false};
};

QTEST_MAIN(PrefsTranslationTest)
#include "prefs_translation_test.moc"
