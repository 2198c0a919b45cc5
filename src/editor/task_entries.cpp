#include "task_entries.h"

#include "common/text.h"

#include <cstring>

namespace velloran {
namespace {

std::size_t countCharacters(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

bool usesPathBox(int page) {
    return page == kExecutable || page == kAudio || page == kVideo || page == kDocument || page == kGeneral;
}

std::uint8_t dayMaskOf(const std::array<bool, 7>& days) {
    std::uint8_t mask = 0;
    for (int i = 0; i < 7; ++i) {
        if (days[static_cast<std::size_t>(i)])
            mask = static_cast<std::uint8_t>(mask | dayMaskBit(i + 1));
    }
    return mask;
}

// Each text as its record field keeps it: cut to leave room for the NUL, never inside a character.
std::string_view longText(std::string_view text) {
    return cutUtf8(text, kLongTextBytes);
}
std::string_view shortText(std::string_view text) {
    return cutUtf8(text, kArgumentBytes);
}

Task buildRecord(const TaskEntries& entries, DateTime start) {
    Task task;
    task.TaskType = static_cast<std::uint8_t>(entries.page);
    switch (entries.page) {
    case kAlarmClock:
        task.Target = "Alarm Clock";
        task.AlarmSound = shortText(entries.alarmSound);
        task.Description = longText(entries.description);
        break;
    case kMemo:
        task.Target = "Memo";
        task.Description = longText(recordLineBreaks(entries.description));
        break;
    default:
        task.Target = longText(entries.target);
        task.Description = longText(entries.description);
        if (entries.page == kExecutable)
            task.ExeArguments = shortText(entries.arguments);
        break;
    }
    // Every kind carries the memo box's font; only a memo gives it a meaning.
    task.MemoFont = TaskFont::fromBlock(entries.memoFont);
    task.NextRun = start;
    task.RepeatType = static_cast<std::uint8_t>(
        entries.repeatType >= kOnce && entries.repeatType <= kYearly ? entries.repeatType : kOnce);
    task.DayOfMonth = static_cast<std::int8_t>(decodeDate(start).day);
    task.DayMask = dayMaskOf(entries.days);
    task.Flags = (entries.statusEnabled ? kEnabled : 0u) | (entries.runIfMissed ? kRunIfMissed : 0u) |
                 (entries.autoDelete ? kAutoDelete : 0u);
    return task;
}

} // namespace

DateTime startMoment(DateTime date, DateTime time) {
    return composeDateTime(wholeDays(date), timeOfDay(time));
}

bool isValidWebAddress(std::string_view address) {
    // https:// is accepted beside the two schemes the message names: nearly every address uses it.
    return countCharacters(address) >= 12 && (startsWithIgnoringAsciiCase(address, "http://") ||
                                              startsWithIgnoringAsciiCase(address, "https://") ||
                                              startsWithIgnoringAsciiCase(address, "ftp://"));
}

SaveCheck checkEntries(const TaskEntries& entries, DateTime now, const PathExists& pathExists) {
    SaveCheck check;
    const DateTime start = startMoment(entries.date, entries.time);
    // A start that cannot be read as a date (a NaN from damaged input) has not elapsed, but is no
    // future either: refuse it with the same message.
    if (!(start > now) || !isValidDateTime(start)) {
        check.refusal = kElapsedStartMessage;
        return check;
    }
    if (entries.repeatType == kDaily && dayMaskOf(entries.days) == 0) {
        check.refusal = kNoDaysMessage;
        return check;
    }
    if (entries.page == kMemo && entries.description.empty()) {
        check.refusal = kEmptyMemoMessage;
        return check;
    }
    if (usesPathBox(entries.page) && !pathExists(entries.target)) {
        check.refusal = entries.target + kFileNotFoundSuffix;
        return check;
    }
    if (entries.page == kWebAddress && !isValidWebAddress(entries.target)) {
        check.refusal = kWebAddressMessage;
        return check;
    }
    if (entries.page < 0 || entries.page >= kTaskKindCount) {
        check.refusal = kNoPageMessage;
        return check;
    }
    check.record = buildRecord(entries, start);
    return check;
}

std::optional<std::uint32_t> storeTask(TaskStore& tasks, const Task& built, bool isNewTask,
                                       std::uint32_t editedTaskId, std::uint32_t unixSecondsNow) {
    if (isNewTask)
        return tasks.add(built, unixSecondsNow);
    if (!tasks.update(editedTaskId, built))
        return std::nullopt;
    return editedTaskId;
}

std::string recordLineBreaks(std::string_view text) {
    std::string stored;
    stored.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            stored += '\r';
        stored += text[i];
    }
    return stored;
}

std::string editorLineBreaks(std::string_view stored) {
    std::string text;
    text.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\r') {
            text += '\n';
            if (i + 1 < stored.size() && stored[i + 1] == '\n')
                ++i;
        } else {
            text += stored[i];
        }
    }
    return text;
}

} // namespace velloran
