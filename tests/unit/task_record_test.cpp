// The record of tasks.tsk and the task in memory: what a record holds survives the trip through memory
// byte for byte, and what memory holds fits the record's fields.
#include "common/text.h"
#include "store/task_file.h"
#include "store/task_record.h"
#include "test_support.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace velloran {
namespace {

std::string bytesOf(const TaskRecord& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// A text followed by its NUL and then leftovers, as a program that reused its buffers leaves a field.
template <std::size_t N> void fillField(char (&field)[N], std::string_view text) {
    std::memset(field, '#', N);
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
}

template <std::size_t N> void clearBehindText(char (&field)[N]) {
    const std::size_t length = strnlen(field, N);
    if (length < N)
        std::memset(field + length, 0, N - length);
}

// Every field set, none to zero, each text with leftovers behind its NUL.
TaskRecord everyFieldSet() {
    TaskRecord record = emptyTaskRecord();
    record.TaskId = 0xF1E2D3C4;
    record.TaskType = kExecutable;
    fillField(record.Target, "/opt/Zeiterfassung/bin/stempeln");
    fillField(record.ExeArguments, "--project \"Brücke Süd\" -v");
    // A signalling NaN with a payload: only bit-exact copying keeps it.
    record.NextRun = std::bit_cast<double>(std::uint64_t{0x7FF4000000000123});
    record.Reserved1 = -123456789;
    record.RepeatType = kYearly;
    record.DayOfMonth = -7;
    fillField(record.Description, "Stunden eintragen\r\nund abschicken");
    fillField(record.AlarmSound, "Glocke.wav");
    record.DayMask = 0xFF;
    record.Flags = 0xFFFFFFF8 | kEnabled | kRunIfMissed | kAutoDelete;
    record.MemoFont.FontCharset = 238;
    record.MemoFont.FontColor = static_cast<std::int32_t>(0x80000012);
    fillField(record.MemoFont.FontName, "DejaVu Serif Condensed");
    record.MemoFont.FontSize = -2147483647 - 1;
    record.MemoFont.FontStyle = kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut | 0x100;
    return record;
}

TEST(TaskRecordCodec, EveryFieldComesBackByteForByteButTheLeftoversBehindTexts) {
    const TaskRecord stored = everyFieldSet();
    TaskRecord expected = stored;
    clearBehindText(expected.Target);
    clearBehindText(expected.ExeArguments);
    clearBehindText(expected.Description);
    clearBehindText(expected.AlarmSound);
    clearBehindText(expected.MemoFont.FontName);

    const Task task = decodeTaskRecord(stored);
    EXPECT_EQ(task.Target, "/opt/Zeiterfassung/bin/stempeln");
    EXPECT_EQ(task.Description, "Stunden eintragen\r\nund abschicken");
    EXPECT_EQ(task.Reserved1, -123456789);
    TaskRecord saved;
    std::memset(&saved, 0x5A, sizeof saved); // whatever the buffer held before must not show
    encodeTaskRecord(task, saved);
    EXPECT_EQ(bytesOf(saved), bytesOf(expected));

    // A copy of the task is the same task, and encodes to the same bytes.
    const Task copy = task;
    TaskRecord again;
    encodeTaskRecord(copy, again);
    EXPECT_EQ(bytesOf(again), bytesOf(expected));
}

TEST(TaskRecordCodec, FileWithEveryFieldSetIsSavedBackAsItWasButTheLeftoversBehindTexts) {
    TaskRecord first = everyFieldSet();
    TaskRecord second = everyFieldSet();
    second.TaskId = 1;
    second.TaskType = kMemo;
    fillField(second.Target, "Memo");
    fillField(second.ExeArguments, "");
    second.NextRun = -693593.75; // 1 January of year 1, 18:00: the earliest date there is
    second.Reserved1 = 1;
    second.DayOfMonth = 31;
    second.DayMask = 0x41;
    second.Flags = kEnabled;
    second.MemoFont.FontColor = 0x00336699;
    const std::string stored = bytesOf(first) + bytesOf(second);
    test::TempDir dir;
    const std::string path = dir.file("tasks.tsk");
    test::writeFile(path, stored);

    TaskList tasks;
    ASSERT_EQ(loadTaskFile(path, tasks).state, TaskFileState::Loaded);
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(tasks[1].Target, "Memo");
    EXPECT_TRUE(tasks[1].ExeArguments.empty());
    ASSERT_EQ(saveTaskFile(path, tasks), "");
    for (TaskRecord* record : {&first, &second}) {
        clearBehindText(record->Target);
        clearBehindText(record->ExeArguments);
        clearBehindText(record->Description);
        clearBehindText(record->AlarmSound);
        clearBehindText(record->MemoFont.FontName);
    }
    EXPECT_EQ(test::readFile(path), bytesOf(first) + bytesOf(second));
}

TEST(TaskRecordCodec, PaddingAndTheReservedTailAreWrittenAsZero) {
    TaskRecord stored = everyFieldSet();
    std::memset(stored.Padding1, 0xEE, sizeof stored.Padding1);
    stored.Padding2 = 0xEE;
    std::memset(stored.MemoFont.Padding, 0xEE, sizeof stored.MemoFont.Padding);
    std::memset(stored.Reserved2, 0xEE, sizeof stored.Reserved2);
    TaskRecord saved;
    encodeTaskRecord(decodeTaskRecord(stored), saved);
    TaskRecord clean;
    encodeTaskRecord(decodeTaskRecord(everyFieldSet()), clean);
    EXPECT_EQ(bytesOf(saved), bytesOf(clean));
    EXPECT_EQ(bytesOf(saved).substr(1285, 3), std::string(3, '\0'));
    EXPECT_EQ(bytesOf(saved).substr(2860), std::string(1028, '\0'));
}

TEST(TaskRecordCodec, TextsThatFillTheirWholeFieldGoBackUnchanged) {
    // Only a damaged record has a text without a NUL; it is read to the field's end and kept as it was.
    TaskRecord stored = emptyTaskRecord();
    std::memset(stored.Target, 'T', sizeof stored.Target);
    std::memset(stored.ExeArguments, 'A', sizeof stored.ExeArguments);
    std::memset(stored.Description, 'D', sizeof stored.Description);
    std::memset(stored.AlarmSound, 'S', sizeof stored.AlarmSound);
    std::memset(stored.MemoFont.FontName, 'F', sizeof stored.MemoFont.FontName);
    const Task task = decodeTaskRecord(stored);
    EXPECT_EQ(task.Target.size(), 1024u);
    EXPECT_EQ(task.ExeArguments.size(), 256u);
    EXPECT_EQ(task.MemoFont.FontName.size(), 256u);
    TaskRecord saved;
    encodeTaskRecord(task, saved);
    EXPECT_EQ(bytesOf(saved), bytesOf(stored));
}

TEST(TaskRecordCodec, TextsLongerThanTheirFieldsAreCutBetweenCharactersAndEndInANul) {
    Task task;
    std::string longTarget(1022, 'x');
    longTarget += "éz"; // the NUL's place, byte 1023, falls inside the "é"
    task.Target = longTarget;
    task.ExeArguments = std::string(300, 'a');
    task.AlarmSound = std::string(254, 's') + "€"; // three bytes from offset 254
    task.MemoFont.FontName = std::string(400, 'f');
    TaskRecord record;
    encodeTaskRecord(task, record);
    EXPECT_EQ(fieldText(record.Target), std::string(1022, 'x'));
    EXPECT_EQ(record.Target[1022], '\0');
    EXPECT_EQ(fieldText(record.ExeArguments), std::string(255, 'a'));
    EXPECT_EQ(fieldText(record.AlarmSound), std::string(254, 's'));
    EXPECT_EQ(fieldText(record.MemoFont.FontName), std::string(255, 'f'));
    // Nothing spilled into the fields behind.
    EXPECT_EQ(fieldText(record.Description), "");
    EXPECT_EQ(record.NextRun, 0.0);
    EXPECT_EQ(record.DayMask, 0);
}

TEST(TaskRecordCodec, MemoFontTravelsAsTheSharedFontBlock) {
    TaskRecord stored = everyFieldSet();
    const Task task = decodeTaskRecord(stored);
    const FontBlock block = task.MemoFont.block();
    EXPECT_EQ(std::memcmp(&block, &stored.MemoFont, 8), 0) << "charset, padding and colour";
    EXPECT_EQ(fieldText(block.FontName), "DejaVu Serif Condensed");
    EXPECT_EQ(block.FontName[sizeof block.FontName - 1], '\0');
    EXPECT_EQ(block.FontSize, stored.MemoFont.FontSize);
    EXPECT_EQ(block.FontStyle, stored.MemoFont.FontStyle);
    EXPECT_EQ(TaskFont::fromBlock(block), task.MemoFont);

    TaskFont longName;
    longName.FontName = std::string(300, 'n');
    EXPECT_EQ(fieldText(longName.block().FontName), std::string(255, 'n'))
        << "the block always ends in a NUL";
}

TEST(TaskText, HoldsTheTextUpToItsFirstNulAndNothingWhenEmpty) {
    TaskText text(std::string_view("Memo\0hidden", 11));
    EXPECT_EQ(text.view(), "Memo");
    EXPECT_EQ(text.size(), 4u);
    text = "";
    EXPECT_TRUE(text.empty());
    EXPECT_STREQ(text.c_str(), "");
    text = std::string_view("\0after", 6);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(text, TaskText());
}

TEST(TaskText, CopiesAreIndependentAndATextMayTakeAPartOfItself) {
    TaskText original("/home/user/report.odt");
    TaskText copy = original;
    copy = "changed";
    EXPECT_EQ(original, "/home/user/report.odt");
    EXPECT_EQ(copy, "changed");
    original = original.view().substr(11);
    EXPECT_EQ(original, "report.odt");
    TaskText& self = original;
    original = self;
    EXPECT_EQ(original, "report.odt");
    TaskText moved = std::move(original);
    EXPECT_EQ(moved, "report.odt");
}

} // namespace
} // namespace velloran
