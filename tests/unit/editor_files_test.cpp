#include "editor/editor_files.h"
#include "editor/text_limit.h"

#include "test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace velloran {
namespace {

namespace fs = std::filesystem;

TEST(AlarmSounds, OrdinaryWavFilesOnlySortedIgnoringCase) {
    test::TempDir dir;
    for (const char* name : {"rooster.wav", "Bell.wav", "alarm.WAV", "notes.txt", ".hidden.wav", "wav",
                             "chime.wav.bak", "b.wav"})
        test::writeFile(dir.file(name), "RIFF");
    fs::create_directory(dir.file("folder.wav"));
    fs::create_symlink(dir.file("folder.wav"), dir.file("linked-folder.wav"));
    fs::create_symlink(dir.file("Bell.wav"), dir.file("linked.wav"));
    fs::create_symlink(dir.file("gone"), dir.file("dangling.wav"));
    EXPECT_EQ(listAlarmSounds(dir.path()),
              (std::vector<std::string>{"alarm.WAV", "b.wav", "Bell.wav", "linked.wav", "rooster.wav"}));
}

TEST(AlarmSounds, MissingOrEmptyFolderGivesNothing) {
    test::TempDir dir;
    EXPECT_TRUE(listAlarmSounds(dir.path()).empty());
    EXPECT_TRUE(listAlarmSounds(dir.file("Sounds")).empty());
    test::writeFile(dir.file("Sounds"), "a file, not a folder");
    EXPECT_TRUE(listAlarmSounds(dir.file("Sounds")).empty());
}

TEST(PathExistence, FilesAndFoldersAsTyped) {
    test::TempDir dir;
    test::writeFile(dir.file("a b.txt"), "");
    EXPECT_TRUE(pathExists(dir.file("a b.txt")));
    EXPECT_TRUE(pathExists(dir.path()));
    EXPECT_TRUE(pathExists(dir.path() + "/"));
    EXPECT_FALSE(pathExists(dir.file("a b.txt") + "/"));
    EXPECT_FALSE(pathExists(dir.file("a*.txt")));
    EXPECT_FALSE(pathExists(""));
    EXPECT_FALSE(pathExists(std::string("/tmp\0/x", 7)));
}

TEST(TextLimit, FittingEditsAreKept) {
    const FittedEdit fit = fitEdit("abc", "abXc", 4, false);
    EXPECT_EQ(fit.text, "abXc");
    EXPECT_EQ(fitEdit("", std::string(1023, 'x'), 1023, false).text.size(), 1023u);
}

TEST(TextLimit, InsertionIsCutAndTheRestStays) {
    // A paste into the middle keeps the text around it and as much of itself as fits.
    const FittedEdit fit = fitEdit("head tail", "head PASTED tail", 12, false);
    EXPECT_EQ(fit.text, "head PAStail");
    EXPECT_EQ(fit.cursor, 8u);
    // Replacing a selection: the removed part frees room.
    EXPECT_EQ(fitEdit("aaaaXXXX", "aaaa123456789", 10, false).text, "aaaa123456");
}

TEST(TextLimit, CharactersAreNeverSplit) {
    // "é" takes two bytes: with one byte of room it is dropped whole.
    EXPECT_EQ(fitEdit("abc", "abc\xC3\xA9", 4, false).text, "abc");
    EXPECT_EQ(fitEdit("abc", "abc\xC3\xA9", 5, false).text, "abc\xC3\xA9");
    // An insertion that shares a lead byte with the text after it.
    EXPECT_EQ(fitEdit("\xC3\xA9", "\xC3\xA8\xC3\xA9", 2, false).text, "\xC3\xA9");
    // A four-byte character set from outside into a field with room for three.
    EXPECT_EQ(fitEdit("", "\xF0\x9F\x94\x94", 3, false).text, "");
}

TEST(TextLimit, LineBreaksCountTwiceInAMemo) {
    EXPECT_EQ(storedSize("a\nb", true), 4u);
    EXPECT_EQ(storedSize("a\nb", false), 3u);
    EXPECT_EQ(fitEdit("abc", "abc\n\n", 6, true).text, "abc\n");
    EXPECT_EQ(fitEdit("abc", "abc\nd", 5, true).text, "abc\n");
}

TEST(TextLimit, TextSetFromOutsideIsCutAtTheLimit) {
    // Nothing in common with the old text, and the old text itself too long: the whole is cut.
    const FittedEdit fit = fitEdit(std::string(20, 'a'), std::string(30, 'b'), 10, false);
    EXPECT_EQ(fit.text, std::string(10, 'b'));
    EXPECT_EQ(fitEdit(std::string(20, 'a'), std::string(30, 'a'), 10, false).text, std::string(10, 'a'));
}

} // namespace
} // namespace velloran
