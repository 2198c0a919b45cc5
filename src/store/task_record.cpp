#include "task_record.h"

#include "common/text.h"

#include <cstring>

namespace velloran {
namespace {

// A text as a field holds it. A text that fills the whole field comes only from a damaged record read
// as it was; it goes back unchanged rather than losing its last byte.
template <std::size_t N> void putText(char (&field)[N], std::string_view text) {
    if (text.empty())
        return; // an empty text has no bytes to copy, not even a valid address
    if (text.size() <= N) {
        std::memcpy(field, text.data(), text.size());
        return;
    }
    const std::string_view kept = cutUtf8(text, N - 1);
    std::memcpy(field, kept.data(), kept.size());
}

} // namespace

TaskRecord emptyTaskRecord() {
    TaskRecord record;
    std::memset(&record, 0, sizeof record);
    return record;
}

FontBlock TaskFont::block() const {
    FontBlock font{};
    font.FontCharset = FontCharset;
    font.FontColor = FontColor;
    setFieldText(font.FontName, FontName);
    font.FontSize = FontSize;
    font.FontStyle = FontStyle;
    return font;
}

TaskFont TaskFont::fromBlock(const FontBlock& block) {
    TaskFont font;
    font.FontCharset = block.FontCharset;
    font.FontColor = block.FontColor;
    font.FontName = fieldText(block.FontName);
    font.FontSize = block.FontSize;
    font.FontStyle = block.FontStyle;
    return font;
}

Task decodeTaskRecord(const TaskRecord& record) {
    Task task;
    task.NextRun = record.NextRun;
    task.Flags = record.Flags;
    task.TaskId = record.TaskId;
    task.TaskType = record.TaskType;
    task.RepeatType = record.RepeatType;
    task.DayOfMonth = record.DayOfMonth;
    task.DayMask = record.DayMask;
    task.Reserved1 = record.Reserved1;
    task.Target = fieldText(record.Target);
    task.ExeArguments = fieldText(record.ExeArguments);
    task.Description = fieldText(record.Description);
    task.AlarmSound = fieldText(record.AlarmSound);
    task.MemoFont = TaskFont::fromBlock(record.MemoFont);
    return task;
}

void encodeTaskRecord(const Task& task, TaskRecord& record) {
    std::memset(&record, 0, sizeof record);
    record.TaskId = task.TaskId;
    record.TaskType = task.TaskType;
    putText(record.Target, task.Target);
    putText(record.ExeArguments, task.ExeArguments);
    record.NextRun = task.NextRun;
    record.Reserved1 = task.Reserved1;
    record.RepeatType = task.RepeatType;
    record.DayOfMonth = task.DayOfMonth;
    putText(record.Description, task.Description);
    putText(record.AlarmSound, task.AlarmSound);
    record.DayMask = task.DayMask;
    record.Flags = task.Flags;
    record.MemoFont.FontCharset = task.MemoFont.FontCharset;
    record.MemoFont.FontColor = task.MemoFont.FontColor;
    putText(record.MemoFont.FontName, task.MemoFont.FontName);
    record.MemoFont.FontSize = task.MemoFont.FontSize;
    record.MemoFont.FontStyle = task.MemoFont.FontStyle;
}

} // namespace velloran
