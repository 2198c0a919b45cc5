#include "window_checks.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QWidget>

namespace velloran::test {
namespace {

QString describe(const QWidget& widget, const QString& caption, QSize need) {
    return QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
        .arg(widget.objectName(), caption)
        .arg(need.width())
        .arg(need.height())
        .arg(widget.width())
        .arg(widget.height());
}

bool tooSmall(const QWidget& widget, QSize need) {
    return need.width() > widget.width() || need.height() > widget.height();
}

} // namespace

QStringList clippedCaptions(const QWidget& window, const QStringList& reachingOut) {
    QStringList clipped;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(&window))
            continue;
        const int frame = 2 * label->frameWidth();
        const QFontMetrics metrics = label->fontMetrics();
        const QString shown = label->textFormat() == Qt::RichText ? QString() : label->text();
        const QSize need = label->wordWrap() || shown.isEmpty()
                               ? QSize(0, label->heightForWidth(label->width()))
                               : metrics.size(label->buddy() != nullptr ? Qt::TextShowMnemonic : 0, shown) +
                                     QSize(frame, frame);
        if (tooSmall(*label, need))
            clipped << describe(*label, label->text(), need);
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty() || !button->isVisibleTo(&window))
            continue;
        QSize need = button->sizeHint();
        if (qobject_cast<const QPushButton*>(button) != nullptr) {
            // A push button's hint holds the style's minimum width; what matters is that its caption
            // stays clear of the frame.
            const int frame = 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            need = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()) + QSize(frame + 6, frame);
        }
        if (tooSmall(*button, need))
            clipped << describe(*button, button->text(), need);
    }
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        const int need = group->fontMetrics().horizontalAdvance(group->title()) + 16;
        if (group->isVisibleTo(&window) && need > group->width())
            clipped << describe(*group, group->title(), {need, 0});
    }
    for (const QComboBox* list : window.findChildren<QComboBox*>())
        for (int i = 0; i < list->count(); ++i) {
            const int need = list->fontMetrics().horizontalAdvance(list->itemText(i)) + 30;
            if (list->isVisibleTo(&window) && need > list->width())
                clipped << describe(*list, list->itemText(i), {need, 0});
        }
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QWidget* parent = widget->parentWidget();
        if (widget->isVisibleTo(&window) && parent != nullptr && !widget->isWindow() &&
            !reachingOut.contains(widget->objectName()) && !parent->rect().contains(widget->geometry()))
            clipped << widget->objectName() + QStringLiteral(" outside ") + parent->objectName();
    }
    return clipped;
}

bool picture(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("VELLORAN_SCREENSHOTS");
    if (folder.isEmpty())
        return true;
    return QDir().mkpath(folder) && window.grab().save(QDir(folder).filePath(name));
}

void clickThroughItsWindow(QWidget& control) {
    QWidget* window = control.window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      control.mapTo(window, control.rect().center()));
}

void quietWindowMaskWarnings() {
    static QtMessageHandler previous = nullptr;
    previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtWarningMsg && text.contains(QLatin1String("does not support setting window masks")))
                return;
            if (previous != nullptr)
                previous(type, context, text);
        });
}

} // namespace velloran::test
