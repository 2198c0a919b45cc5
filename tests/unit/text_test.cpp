#include "common/text.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

TEST(Utf8, CutNeverSplitsACharacter) {
    EXPECT_EQ(cutUtf8("abc", 5), "abc");
    EXPECT_EQ(cutUtf8("abcdef", 3), "abc");
    EXPECT_EQ(cutUtf8("aé", 2), "a") << "é is two bytes";
    EXPECT_EQ(cutUtf8("a€", 3), "a");
    EXPECT_EQ(cutUtf8("a€", 4), "a€");
    EXPECT_EQ(cutUtf8("😀😀", 7), "😀");
    EXPECT_EQ(cutUtf8("é", 0), "");
}

TEST(Utf8, Validation) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("Grüße 😀"));
    EXPECT_FALSE(isValidUtf8("caf\xe9"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf")) << "overlong";
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80")) << "surrogate";
    EXPECT_FALSE(isValidUtf8("\xe2\x82")) << "cut short";
}

TEST(Utf8, OlderTextsShowAsWindows1252) {
    EXPECT_EQ(displayUtf8("caf\xe9 \x80 \x96"), "café € –");
    EXPECT_EQ(displayUtf8("café"), "café");
}

TEST(FieldText, SetFieldFillsBehindTheText) {
    char field[8];
    std::memset(field, 'z', sizeof field);
    setFieldText(field, "ab");
    EXPECT_EQ(std::string(field, 8), std::string("ab\0\0\0\0\0\0", 8));
    setFieldText(field, "0123456789");
    EXPECT_EQ(fieldText(field), "0123456");
    setFieldText(field, std::string("x\0y", 3));
    EXPECT_EQ(fieldText(field), "x") << "an embedded NUL ends the text";
}

} // namespace
} // namespace velloran
