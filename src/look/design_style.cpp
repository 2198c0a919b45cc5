#include "design_style.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOptionGroupBox>

namespace velloran {
namespace {

constexpr int kCaptionIndent = 8;

const QStyleOptionGroupBox* captionedGroupBox(QStyle::ComplexControl control,
                                              const QStyleOptionComplex* option) {
    if (control != QStyle::CC_GroupBox)
        return nullptr;
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    return box != nullptr && !box->text.isEmpty() ? box : nullptr;
}

} // namespace

QRect DesignStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                  const QWidget* widget) const {
    QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
    if (captionedGroupBox(control, option) == nullptr)
        return rect;
    if (part == SC_GroupBoxFrame) {
        const QRect caption = QProxyStyle::subControlRect(control, option, SC_GroupBoxLabel, widget);
        rect.setTop(caption.center().y());
    } else if ((part == SC_GroupBoxLabel || part == SC_GroupBoxCheckBox) && rect.left() < kCaptionIndent) {
        // The caption stands a little in from the frame's corner.
        rect.translate(kCaptionIndent - rect.left(), 0);
    }
    return rect;
}

void DesignStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    const QStyleOptionGroupBox* box = captionedGroupBox(control, option);
    if (box == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The frame first, with a gap where the caption will stand; then the caption over the gap.
    const SubControls captionParts = SC_GroupBoxLabel | SC_GroupBoxCheckBox;
    QStyleOptionGroupBox frame(*box);
    frame.subControls &= ~captionParts;
    QRegion outside(box->rect);
    outside -= subControlRect(control, option, SC_GroupBoxLabel, widget).adjusted(-2, 0, 2, 0);
    if (box->subControls & SC_GroupBoxCheckBox)
        outside -= subControlRect(control, option, SC_GroupBoxCheckBox, widget).adjusted(-2, 0, 2, 0);
    painter->save();
    painter->setClipRegion(outside, Qt::IntersectClip);
    QProxyStyle::drawComplexControl(control, &frame, painter, widget);
    painter->restore();
    QStyleOptionGroupBox caption(*box);
    caption.subControls &= captionParts;
    QProxyStyle::drawComplexControl(control, &caption, painter, widget);
}

void DesignStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QRect frame = option->rect.adjusted(0, 0, -1, -1);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(option->palette.color(QPalette::Light));
    painter->drawRect(frame.translated(1, 1));
    painter->setPen(option->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    painter->restore();
}

void installDesignStyle() {
    QApplication::setStyle(new DesignStyle(QApplication::style()->name()));
    // The style keeps a picture of every button face and header section it has drawn, in every state,
    // to repaint them faster; the program spends its days in the tray with no window shown, so those
    // pictures would be held for nothing. Drawing them again costs less than a millisecond.
    QPixmapCache::setCacheLimit(0);
}

} // namespace velloran
