// The 272-byte font block shared by the memo font of a task, the memo window and the default memo font.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velloran {

enum FontStyleBits : std::uint32_t {
    kFontBold = 0x1,
    kFontItalic = 0x2,
    kFontUnderline = 0x4,
    kFontStrikeOut = 0x8,
};

struct FontBlock {
    std::uint8_t FontCharset; // platform character-set code: 0 ANSI, 1 default
    std::uint8_t Padding[3];
    std::int32_t FontColor; // 0x00BBGGRR, or 0x80000000 + a system colour index
    char FontName[256];
    std::int32_t FontSize;   // points
    std::uint32_t FontStyle; // FontStyleBits
};

static_assert(sizeof(FontBlock) == 272);
static_assert(offsetof(FontBlock, FontColor) == 4);
static_assert(offsetof(FontBlock, FontName) == 8);
static_assert(offsetof(FontBlock, FontSize) == 264);
static_assert(offsetof(FontBlock, FontStyle) == 268);

// The font dialogs' face field holds 31 characters: a longer stored face name counts only that far.
inline constexpr std::size_t kFaceNameLength = 31;
// The block with its face name cut to what counts.
FontBlock withCountedFaceName(const FontBlock& block);

} // namespace velloran
