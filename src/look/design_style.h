// The look the windows are laid out for: a group box's caption sits on its frame line, so the first
// control placed a little below the caption has room, as the layouts expect.
#pragma once

#include <QProxyStyle>

namespace velloran {

class DesignStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
    // A group box frame is an etched line around exactly the frame's rectangle.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

// Applies the design style over the desktop's own style.
void installDesignStyle();

} // namespace velloran
