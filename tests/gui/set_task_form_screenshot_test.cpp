// Pictures of the task editor on every page, and a check that no caption is cut off.
#include "editor/button_page_control.h"
#include "editor_test_support.h"
#include "look/fonts.h"

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
private:
    // Whether every caption of the window fits the place its control has.
    static QStringList clippedCaptions(QWidget& window) {
        QStringList clipped;
        for (QLabel* label : window.findChildren<QLabel*>()) {
            const QSize need =
                label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
            if (need.width() > label->width() || need.height() > label->height())
                clipped << label->text();
        }
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            QSize need = button->sizeHint();
            if (qobject_cast<QPushButton*>(button) != nullptr) {
                // A push button's hint holds the style's minimum width; what matters is that its caption
                // stays clear of the frame.
                const QStyle* style = button->style();
                const QString caption = QString(button->text()).remove(QLatin1Char('&'));
                need = QSize(button->fontMetrics().horizontalAdvance(caption) +
                                 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) + 6,
                             button->fontMetrics().height() +
                                 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth));
            }
            if (need.width() > button->width() || need.height() > button->height())
                clipped << QStringLiteral("%1 needs %2x%3, has %4x%5")
                               .arg(button->text())
                               .arg(need.width())
                               .arg(need.height())
                               .arg(button->width())
                               .arg(button->height());
        }
        for (QGroupBox* group : window.findChildren<QGroupBox*>()) {
            const int need = group->fontMetrics().horizontalAdvance(group->title()) + 16;
            if (need > group->width())
                clipped << group->title();
        }
        // Nothing may reach beyond the control it sits in.
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            const QWidget* parent = widget->parentWidget();
            if (widget->isVisibleTo(&window) && parent != nullptr &&
                !parent->rect().contains(widget->geometry()))
                clipped << widget->objectName() + QStringLiteral(" outside ") + parent->objectName();
        }
        return clipped;
    }

private slots:
    void initTestCase() { installFontSubstitutes(); }

    void everyPageFitsAndIsPictured() {
        test::EditorBench bench;
        bench.addSound(QStringLiteral("Alarm Bell.wav"));
        bench.addSound(QStringLiteral("Rooster.wav"));
        const QString folder = qEnvironmentVariable("VELLORAN_SCREENSHOTS");
        for (int page = -1; page < kTaskKindCount; ++page) {
            auto form = bench.makeForm();
            form->prepareNewTask(page);
            form->Pages.AlarmDescription->setText(QStringLiteral("Time for the meeting"));
            form->Pages.MemoDescription->setPlainText(QStringLiteral("Call the garage\nabout the tyres"));
            form->Pages.ExePath->setText(QStringLiteral("/usr/bin/gnome-calculator"));
            form->Pages.ExeArg->setText(QStringLiteral("--mode=advanced"));
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            const QStringList clipped = clippedCaptions(*form);
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
