// Pictures of the preferences, about and splash windows, and a check that no caption is cut off.
#include "look/fonts.h"
#include "prefs/about_form.h"
#include "prefs/preferences_form.h"
#include "prefs/splash_form.h"
#include "prefs_test_support.h"
#include "registry/registry_memory.h"

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

namespace {

// Every caption that needs more room than its control has, and every control that reaches beyond its
// parent.
QStringList clippedCaptions(QWidget& window) {
    QStringList clipped;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const int frame = 2 * label->frameWidth();
        const QSize need = label->wordWrap()
                               ? QSize(0, label->heightForWidth(label->width()))
                               : QSize(label->fontMetrics().horizontalAdvance(label->text()) + frame,
                                       label->fontMetrics().height() + frame);
        if (need.width() > label->width() || need.height() > label->height())
            clipped << label->objectName();
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        QSize need = button->sizeHint();
        if (qobject_cast<QPushButton*>(button) != nullptr) {
            // The style's minimum width of a push button does not matter; its caption must stay clear of
            // the frame.
            const int frame = 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            const QString caption = QString(button->text()).remove(QLatin1Char('&'));
            need = QSize(button->fontMetrics().horizontalAdvance(caption) + frame + 6,
                         button->fontMetrics().height() + frame);
        }
        if (need.width() > button->width() || need.height() > button->height())
            clipped << button->objectName();
    }
    for (QGroupBox* group : window.findChildren<QGroupBox*>())
        if (group->fontMetrics().horizontalAdvance(group->title()) + 16 > group->width())
            clipped << group->objectName();
    for (QComboBox* list : window.findChildren<QComboBox*>())
        for (int i = 0; i < list->count(); ++i)
            if (list->fontMetrics().horizontalAdvance(list->itemText(i)) + 30 > list->width())
                clipped << list->objectName() + QLatin1Char(':') + list->itemText(i);
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QWidget* parent = widget->parentWidget();
        if (widget->isVisibleTo(&window) && parent != nullptr && !widget->isWindow() &&
            !parent->rect().contains(widget->geometry()))
            clipped << widget->objectName() + QStringLiteral(" outside ") + parent->objectName();
    }
    return clipped;
}

void picture(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("VELLORAN_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(window.grab().save(QDir(folder).filePath(name)));
}

} // namespace

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
        TPreferencesForm form(nullptr, settings, registry, "/opt/velloran/velloran");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        picture(form, QStringLiteral("preferences.png"));
        const QStringList clipped = clippedCaptions(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
        form.AlarmOffCK->setChecked(true);
        form.DateTimeDisplayLong->setChecked(true);
        form.StartupOnRB->setChecked(true);
        picture(form, QStringLiteral("preferences-changed.png"));
    }

    void about() {
        test::RecordingOpener opener;
        TAboutForm form(nullptr, opener);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        picture(form, QStringLiteral("about.png"));
        const QStringList clipped = clippedCaptions(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
    }

    void splash() {
        int ticks = 0;
        TSplashForm form(nullptr, ticks);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        picture(form, QStringLiteral("splash.png"));
    }
};

QTEST_MAIN(PrefsScreenshotTest)
#include "prefs_screenshot_test.moc"
