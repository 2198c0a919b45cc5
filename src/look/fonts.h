// Fonts and colours of the stored font block on screen, and the windows' designed font.
#pragma once

#include "common/font_block.h"

#include <QColor>
#include <QFont>

namespace velloran {

// The face the windows are designed in; stored data keeps this name.
inline constexpr const char* kDesignFace = "MS Sans Serif";

// Maps the designed face (and any face a stored font names but this machine lacks) to installed faces
// of similar metrics. Call once before the first window.
void installFontSubstitutes();

// "MS Sans Serif" at 11 pixels, the windows' font.
QFont designFont();

// The font a block describes, built on base: an empty face keeps base's face, a size of 0 or less
// keeps base's size.
QFont fontFromBlock(const FontBlock& block, const QFont& base);
QColor colorFromValue(std::int32_t value);
std::int32_t valueFromColor(const QColor& color);
// Fills a block from a font and colour; the character set is the default one (1).
void fontToBlock(const QFont& font, const QColor& color, FontBlock& block);

} // namespace velloran
