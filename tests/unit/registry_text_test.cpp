#include "registry/registry_text.h"

#include <gtest/gtest.h>

using namespace velloran;

namespace {

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Test";

RegistryData roundTrip(const RegistryData& data) {
    const RegistryTextRead read = parseRegistryText(formatRegistryText(data));
    EXPECT_EQ(read.damagedLines, 0) << formatRegistryText(data);
    return read.data;
}

std::string allBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    return bytes;
}

} // namespace

TEST(RegistryText, EveryValueTypeSurvivesTheFile) {
    RegistryData data;
    data.set(kKey, "Binary", RegistryValue::binary(allBytes()));
    data.set(kKey, "Empty", RegistryValue::binary(""));
    data.set(kKey, "Text", RegistryValue::text("plain"));
    data.set(kKey, "Quotes", RegistryValue::text("say \"hi\" to C:\\Temp\\ and \\\\server\\"));
    data.set(kKey, "Accents", RegistryValue::text("Grüße, ça va — 日本"));
    data.set(kKey, "Lines", RegistryValue::text("first\nsecond\r\n\tthird"));
    data.set(kKey, "Latin1", RegistryValue::text("caf\xE9")); // not UTF-8: kept byte for byte
    data.set(kKey, "Expand", RegistryValue::text("%HOME%/bin", kRegExpandText));
    data.set(kKey, "Number", RegistryValue::number(0xDEADBEEF));
    data.set(kKey, "Zero", RegistryValue::number(0));
    data.set(kKey, "", RegistryValue::text("the key's default value"));
    data.set(kKey, "Odd \"name\" \\ here", RegistryValue{11, std::string(8, '\x7F')});
    data.set(kKey, "ShortNumber", RegistryValue{kRegNumber, "\x01\x02"});
    data.set(kKey, "None", RegistryValue{kRegNone, ""});
    data.addKey("HKEY_CURRENT_USER\\Software\\Empty key");
    data.set("HKEY_CURRENT_USER\\Software\\Other]key", "v", RegistryValue::number(7));

    EXPECT_EQ(roundTrip(data), data);
}

TEST(RegistryText, WritesTheExportedRegistryFormat) {
    RegistryData data;
    data.set(kKey, "Name", RegistryValue::text("a \"b\" c:\\d"));
    data.set(kKey, "Count", RegistryValue::number(42));
    data.set(kKey, "Path", RegistryValue::text("%HOME%", kRegExpandText));
    data.set(kKey, "Bytes", RegistryValue::binary(std::string("\x01\xff", 2)));
    data.set(kKey, "", RegistryValue::text("default"));
    EXPECT_EQ(formatRegistryText(data), "REGEDIT4\n"
                                        "\n"
                                        "[HKEY_CURRENT_USER\\Software\\Test]\n"
                                        "\"Name\"=\"a \\\"b\\\" c:\\\\d\"\n"
                                        "\"Count\"=dword:0000002a\n"
                                        "\"Path\"=hex(2):25,48,4f,4d,45,25,00\n"
                                        "\"Bytes\"=hex:01,ff\n"
                                        "@=\"default\"\n");
}

TEST(RegistryText, LongBinaryValuesWrapIntoShortContinuedLines) {
    RegistryData data;
    data.set(kKey, "Settings", RegistryValue::binary(std::string(292, '\x5a')));
    const std::string text = formatRegistryText(data);
    std::size_t start = 0;
    int lines = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
        start = end + 1;
        ++lines;
    }
    EXPECT_GT(lines, 12);
    EXPECT_EQ(roundTrip(data), data);
}

TEST(RegistryText, ReadsHandWrittenFilesLeniently) {
    const RegistryTextRead read = parseRegistryText("\xEF\xBB\xBFREGEDIT4\r\n"
                                                    "; a comment\r\n"
                                                    "  [HKEY_CURRENT_USER\\Software\\Test\\]  \r\n"
                                                    "\"Bytes\" = HEX: 1, 02 ,\\\r\n"
                                                    "     a,FF\r\n"
                                                    "\"Num\"=DWORD:7\r\n"
                                                    "\"Kind\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                                                    "\"Text\"=hex(1):68,69,00\r\n"
                                                    "\"Gone\"=-\r\n");
    EXPECT_EQ(read.damagedLines, 0);
    const RegistryData& data = read.data;
    ASSERT_EQ(data.keys().size(), 1u);
    EXPECT_EQ(data.keys()[0].name, kKey);
    EXPECT_EQ(*data.find(kKey, "bytes"), RegistryValue::binary(std::string("\x01\x02\x0a\xff", 4)));
    EXPECT_EQ(*data.find(kKey, "NUM"), RegistryValue::number(7));
    EXPECT_EQ(data.find(kKey, "Kind")->type, 11u);
    EXPECT_EQ(*data.find(kKey, "Text"), RegistryValue::text("hi"));
    EXPECT_EQ(data.find(kKey, "Gone"), nullptr);
}

TEST(RegistryText, ReadsUtf16ExportsOfNewerTools) {
    // "Windows Registry Editor Version 5.00" files keep hex(2) texts in UTF-16; the whole file may be too.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
                              "\"P\"=hex(2):25,00,48,00,00,00\r\n\"T\"=\"x\"\r\n"))
        utf16 += {c, '\0'};
    const RegistryTextRead read = parseRegistryText(utf16);
    EXPECT_EQ(read.damagedLines, 0);
    EXPECT_EQ(*read.data.find("HKEY_CURRENT_USER\\A", "P"), RegistryValue::text("%H", kRegExpandText));
    EXPECT_EQ(*read.data.find("HKEY_CURRENT_USER\\A", "T"), RegistryValue::text("x"));
}

TEST(RegistryText, DamagedLinesAreSkippedAndEverythingElseKept) {
    const RegistryTextRead read = parseRegistryText("REGEDIT4\n"
                                                    "\"Orphan\"=dword:1\n"
                                                    "[HKEY_CURRENT_USER\\Good]\n"
                                                    "\"A\"=dword:00000001\n"
                                                    "\"B\"=hex:zz,01\n"
                                                    "\"C\"=dword:123456789\n"
                                                    "\"D\"=\"unterminated\n"
                                                    "\"E\"=\"text\" trailing\n"
                                                    "\"F\"=hex(:01\n"
                                                    "\"G\"=hex:01,,02\n"
                                                    "\"H\"=something\n"
                                                    "garbage line\n"
                                                    "\"I\"=hex:0a\n"
                                                    "[HKEY_CURRENT_USER\\Broken\n"
                                                    "\"J\"=dword:2\n"
                                                    "[]\n"
                                                    "\"K\"=dword:3\n"
                                                    "[-HKEY_CURRENT_USER\\Deleted]\n"
                                                    "\"L\"=dword:4\n"
                                                    "[HKEY_CURRENT_USER\\good]\n"
                                                    "\"A\"=dword:00000005\n"
                                                    "\"M\"=\"last\"");
    EXPECT_EQ(read.damagedLines, 13);
    const RegistryData& data = read.data;
    ASSERT_EQ(data.keys().size(), 1u) << formatRegistryText(data);
    const auto& values = data.keys()[0].values;
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].first, "A");
    EXPECT_EQ(values[0].second, RegistryValue::number(5)); // the later line wins, as on an import
    EXPECT_EQ(values[1].second, RegistryValue::binary("\n"));
    EXPECT_EQ(values[2].second, RegistryValue::text("last"));
}

TEST(RegistryText, BinaryGarbageNeverFails) {
    std::string noise;
    for (int i = 0; i < 5000; ++i)
        noise.push_back(static_cast<char>((i * 7919 + i / 13) & 0xFF));
    const RegistryTextRead read = parseRegistryText(noise);
    EXPECT_EQ(roundTrip(read.data), read.data);
    EXPECT_EQ(parseRegistryText("").damagedLines, 0);
    EXPECT_TRUE(parseRegistryText("").data.empty());
}

TEST(RegistryData, NamesCompareWithoutLetterCaseAndKeepTheirFirstSpelling) {
    RegistryData data;
    data.set("HKEY_CURRENT_USER\\SOFTWARE\\Corvantis Software\\Velloran", "Settings",
             RegistryValue::number(1));
    data.set("hkey_current_user\\Software\\corvantis software\\VELLORAN\\", "SETTINGS",
             RegistryValue::number(2));
    ASSERT_EQ(data.keys().size(), 1u);
    EXPECT_EQ(data.keys()[0].name, "HKEY_CURRENT_USER\\SOFTWARE\\Corvantis Software\\Velloran");
    ASSERT_EQ(data.keys()[0].values.size(), 1u);
    EXPECT_EQ(data.keys()[0].values[0].first, "Settings");
    EXPECT_EQ(data.keys()[0].values[0].second, RegistryValue::number(2));

    EXPECT_TRUE(data.hasKey("HKEY_CURRENT_USER\\software"));
    EXPECT_TRUE(data.hasKey("HKEY_CURRENT_USER\\Software\\Corvantis Software"));
    EXPECT_FALSE(data.hasKey("HKEY_CURRENT_USER\\Soft"));
    EXPECT_FALSE(data.hasKey("HKEY_CURRENT_USER\\Software\\Corvantis Software\\Velloran\\Sub"));

    EXPECT_TRUE(data.erase("HKEY_CURRENT_USER\\software\\corvantis software\\velloran", "settings"));
    EXPECT_FALSE(data.erase("HKEY_CURRENT_USER\\software\\corvantis software\\velloran", "settings"));
    EXPECT_TRUE(data.hasKey("HKEY_CURRENT_USER\\SOFTWARE\\Corvantis Software\\Velloran")) << "the key stays";
}

TEST(RegistryData, StoredTextsEndAtTheirFirstNul) {
    RegistryData data;
    data.set(kKey, "T", RegistryValue{kRegText, std::string("ab\0cd", 5)});
    EXPECT_EQ(*data.find(kKey, "T"), RegistryValue::text("ab"));
}
