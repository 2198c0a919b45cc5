#include "fonts.h"

#include "common/text.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>

namespace velloran {

void installFontSubstitutes() {
    // Liberation Sans and DejaVu Sans come with the project's packages; either fits 11-pixel layouts.
    QFont::insertSubstitutions(kDesignFace, {"Liberation Sans", "DejaVu Sans", "Sans Serif"});
    QFont::insertSubstitutions("MS Serif", {"Liberation Serif", "DejaVu Serif", "Serif"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "DejaVu Serif"});
    QFont::insertSubstitutions("Courier New", {"Liberation Mono", "DejaVu Sans Mono"});
}

QFont designFont() {
    QFont font(kDesignFace);
    font.setPixelSize(11);
    return font;
}

QFont fontFromBlock(const FontBlock& block, const QFont& base) {
    QFont font = base;
    const std::string face = displayUtf8(fieldText(block.FontName));
    if (!face.empty())
        font.setFamilies({QString::fromStdString(face)});
    if (block.FontSize > 0 && block.FontSize <= 1000)
        font.setPointSize(block.FontSize);
    font.setBold((block.FontStyle & kFontBold) != 0);
    font.setItalic((block.FontStyle & kFontItalic) != 0);
    font.setUnderline((block.FontStyle & kFontUnderline) != 0);
    font.setStrikeOut((block.FontStyle & kFontStrikeOut) != 0);
    return font;
}

QColor colorFromValue(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    if ((bits & 0x80000000u) == 0)
        return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                      static_cast<int>((bits >> 16) & 0xFF));
    // A system colour by its index; the ones a text can sensibly take, from the desktop's palette.
    const QPalette palette = QApplication::palette();
    switch (bits & 0xFF) {
    case 5: // window
        return palette.color(QPalette::Base);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    default: // window text, button text and the rest
        return palette.color(QPalette::WindowText);
    }
}

std::int32_t valueFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) |
                                     static_cast<std::uint32_t>(rgb.green()) << 8 |
                                     static_cast<std::uint32_t>(rgb.blue()) << 16);
}

void fontToBlock(const QFont& font, const QColor& color, FontBlock& block) {
    block.FontCharset = 1;
    block.FontColor = valueFromColor(color);
    setFieldText(block.FontName, font.family().toStdString());
    block.FontSize =
        font.pointSize() > 0 ? font.pointSize() : static_cast<std::int32_t>(font.pixelSize() * 72 / 96);
    block.FontStyle = (font.bold() ? kFontBold : 0u) | (font.italic() ? kFontItalic : 0u) |
                      (font.underline() ? kFontUnderline : 0u) | (font.strikeOut() ? kFontStrikeOut : 0u);
}

} // namespace velloran
