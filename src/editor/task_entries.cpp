#include "task_entries.h"

#include "common/text.h"
#include "files/file_io.h"
#include "store/task_kinds.h"

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

// What the page's kind is; nullptr for no page.
bool kindIs(int page, KindTarget target) {
    const TaskKindInfo* kind = taskKind(page);
    return kind != nullptr && kind->target == target;
}

bool kindDoes(int page, KindAction action) {
    const TaskKindInfo* kind = taskKind(page);
    return kind != nullptr && kind->action == action;
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
    const TaskKindInfo& kind = *taskKind(entries.page);
    Task task;
    task.TaskType = static_cast<std::uint8_t>(entries.page);
    task.Target = kind.target == KindTarget::Fixed ? kind.fixedTarget : longText(entries.target);
    task.Description = longText(entries.description);
    switch (kind.action) {
    case KindAction::ShowAlarm:
        task.AlarmSound = shortText(entries.alarmSound);
        break;
    case KindAction::ShowMemo:
        task.Description = longText(recordLineBreaks(entries.description));
        break;
    case KindAction::RunProgram:
        task.ExeArguments = shortText(entries.arguments);
        break;
    case KindAction::OpenTarget:
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

Result<Task> checkEntries(const TaskEntries& typed, DateTime now, const PathExists& pathExists,
                          const PathExists& programExists) {
    const auto refuse = [](const char* message, std::initializer_list<Message> arguments = {}) {
        return failure(Message(kEditorContext, message, arguments));
    };
    // A path typed as "~/..." means the home folder, as in a shell: checked and stored so, and told as typed.
    TaskEntries entries = typed;
    if (kindIs(entries.page, KindTarget::File))
        entries.target = expandHomePrefix(entries.target, entries.home);
    const DateTime start = startMoment(entries.date, entries.time);
    // A start that cannot be read as a date (a NaN from damaged input) has not elapsed, but is no
    // future either: refuse it with the same message.
    if (!(start > now) || !isValidDateTime(start)) {
        return refuse(kElapsedStartMessage);
    }
    if (entries.repeatType == kDaily && dayMaskOf(entries.days) == 0) {
        return refuse(kNoDaysMessage);
    }
    if (kindDoes(entries.page, KindAction::ShowMemo) && entries.description.empty()) {
        return refuse(kEmptyMemoMessage);
    }
    if (kindIs(entries.page, KindTarget::File) &&
        !(kindDoes(entries.page, KindAction::RunProgram) ? programExists : pathExists)(entries.target)) {
        return refuse(kFileNotFoundMessage, {typed.target});
    }
    if (kindIs(entries.page, KindTarget::WebAddress) && !isValidWebAddress(entries.target)) {
        return refuse(kWebAddressMessage);
    }
    if (taskKind(entries.page) == nullptr) {
        return refuse(kNoPageMessage);
    }
    return buildRecord(entries, start);
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
