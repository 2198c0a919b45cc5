// Pictures of the task editor on every page, and a check that no caption is cut off.
#include "editor/button_page_control.h"
#include "editor_test_support.h"
#include "look/fonts.h"
#include "window_checks.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>

using namespace velloran;

class SetTaskFormScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    void everyPageFitsAndIsPictured() {
        test::EditorBench bench;
        bench.addSound(QStringLiteral("Alarm Bell.wav"));
        bench.addSound(QStringLiteral("Rooster.wav"));
        const QString folder = qEnvironmentVariable("VELLORAN_SCREENSHOTS");
        for (int page = -1; page < kTaskKindCount; ++page) {
            auto form = bench.makeForm();
            const test::EditorControls ui = test::controls(*form);
            form->prepareNewTask(page);
            ui.AlarmDescription->setText(QStringLiteral("Time for the meeting"));
            ui.MemoDescription->setPlainText(QStringLiteral("Call the garage\nabout the tyres"));
            ui.ExePath->setText(QStringLiteral("/usr/bin/gnome-calculator"));
            ui.ExeArg->setText(QStringLiteral("--mode=advanced"));
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            const QStringList clipped = test::clippedCaptions(*form);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
            if (!folder.isEmpty()) {
                QDir().mkpath(folder);
                const QString name = page < 0 ? QStringLiteral("editor-no-page.png")
                                              : QStringLiteral("editor-page-%1.png").arg(page);
                QVERIFY(form->grab().save(QDir(folder).filePath(name)));
            }
        }
    }
};

QTEST_MAIN(SetTaskFormScreenshotTest)
#include "set_task_form_screenshot_test.moc"
