// Pictures of the preferences, about and splash windows, and a check that no caption is cut off.
#include "look/fonts.h"
#include "prefs/about_form.h"
#include "prefs/preferences_form.h"
#include "prefs/splash_form.h"
#include "prefs_test_support.h"
#include "registry/registry_memory.h"
#include "window_checks.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

using namespace velloran;

class PrefsScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        installFontSubstitutes();
        QApplication::setFont(designFont());
    }

    void preferences() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        PreferencesForm form(nullptr, settings, registry, "/opt/velloran/velloran");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(test::picture(form, QStringLiteral("preferences.png")));
        const QStringList clipped = test::clippedCaptions(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
        test::part<QCheckBox>(form, "AlarmOffCK")->click();
        test::part<QRadioButton>(form, "DateTimeDisplayLong")->click();
        test::part<QRadioButton>(form, "StartupOnRB")->click();
        QVERIFY(test::picture(form, QStringLiteral("preferences-changed.png")));
    }

    void about() {
        test::RecordingOpener opener;
        AboutForm form(nullptr, opener);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(test::picture(form, QStringLiteral("about.png")));
        const QStringList clipped = test::clippedCaptions(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
    }

    void splash() {
        int ticks = 0;
        SplashForm form(nullptr, ticks);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(test::picture(form, QStringLiteral("splash.png")));
        const QStringList clipped = test::clippedCaptions(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(PrefsScreenshotTest)
#include "prefs_screenshot_test.moc"
