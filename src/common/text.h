// Texts in fixed-size record fields: NUL-terminated bytes, UTF-8 on this platform.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace velloran {

// The longest prefix of text that is at most maxBytes long and does not end inside a UTF-8 character.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

bool isValidUtf8(std::string_view text);

// One code point appended as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// ASCII letter case, the same in every locale; every other byte stays as it is.
char lowerAscii(char c);
std::string upperAscii(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

// Without the spaces, tabs and carriage returns at either end.
std::string_view trimBlanks(std::string_view text);

// Text as UTF-8 for display: valid UTF-8 is kept, anything else (a file from an older program) is read as
// Windows-1252.
std::string displayUtf8(std::string_view stored);

// The text of a field: up to its first NUL, and never past the field, even when a damaged record has none.
template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

// Stores text in a field: at most N-1 bytes, cut at a character boundary, NUL-filled behind.
template <std::size_t N> void setFieldText(char (&field)[N], std::string_view text) {
    const std::string_view kept = cutUtf8(text.substr(0, text.find('\0')), N - 1);
    std::memset(field, 0, N);
    // An empty view may have no address at all, which memcpy must not be given.
    if (!kept.empty())
        std::memcpy(field, kept.data(), kept.size());
}

} // namespace velloran
