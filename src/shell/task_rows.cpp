#include "task_rows.h"

#include "common/message.h"
#include "common/text.h"
#include "store/task_kinds.h"

#include <algorithm>

namespace velloran {
namespace {

// "weekly" is written in lower case in the list, unlike the editor's "Weekly".
constexpr std::string_view kRepeatNames[] = {
    QT_TRANSLATE_NOOP("TaskRows", "Once"), QT_TRANSLATE_NOOP("TaskRows", "Daily"),
    QT_TRANSLATE_NOOP("TaskRows", "weekly"), QT_TRANSLATE_NOOP("TaskRows", "Monthly"),
    QT_TRANSLATE_NOOP("TaskRows", "Yearly")};

} // namespace

std::vector<TaskRowRef> orderTaskRows(const TaskList& tasks, bool sortByDate, const DateStyle& names) {
    std::vector<TaskRowRef> rows(tasks.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {static_cast<std::uint32_t>(i), tasks[i].TaskId};
    if (sortByDate) {
        // The sort key ("yymmdd a/p hh:mm", which no column shows) lives only while sorting.
        std::vector<std::string> keys;
        keys.reserve(tasks.size());
        for (const Task& task : tasks)
            keys.push_back(formatDateTime(kSortKeyFormat, task.NextRun, names));
        std::stable_sort(rows.begin(), rows.end(), [&](TaskRowRef a, TaskRowRef b) {
            return compareSortKeys(keys[a.place], keys[b.place]) < 0;
        });
    }
    return rows;
}

const Task* rowTask(const TaskList& tasks, TaskRowRef row) {
    if (row.place >= tasks.size())
        return nullptr;
    const Task& task = tasks[row.place];
    return task.TaskId == row.taskId ? &task : nullptr;
}

void removeTaskRow(std::vector<TaskRowRef>& rows, std::size_t row) {
    const std::uint32_t gone = rows[row].place;
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
    for (TaskRowRef& other : rows)
        if (other.place > gone)
            --other.place;
}

std::string_view kindName(int kind) {
    const TaskKindInfo* info = taskKind(kind);
    return info != nullptr ? info->name : std::string_view();
}

std::string targetText(const Task& task) {
    return displayUtf8(shortTarget(task));
}

std::string_view fixedTargetName(const Task& task) {
    const TaskKindInfo* kind = taskKind(task.TaskType);
    if (kind == nullptr || kind->target != KindTarget::Fixed || task.Target.view() != kind->fixedTarget)
        return {};
    return kind->fixedTarget;
}

std::string nextRunText(const Task& task, bool longDisplay, const DateStyle& names) {
    return displayText(task.NextRun, longDisplay, names);
}

std::string_view repeatName(int repeat) {
    return repeat >= 0 && repeat < static_cast<int>(std::size(kRepeatNames)) ? kRepeatNames[repeat]
                                                                             : std::string_view();
}

std::string_view statusName(const Task& task) {
    return task.enabled() ? QT_TRANSLATE_NOOP("TaskRows", "Enabled")
                          : QT_TRANSLATE_NOOP("TaskRows", "Disabled");
}

std::string descriptionText(const Task& task) {
    return displayUtf8(task.Description.view());
}

std::string_view shortTarget(const Task& task) {
    const std::string_view target = task.Target.view();
    // An address is shown whole; a path by its last part.
    if (const TaskKindInfo* kind = taskKind(task.TaskType);
        kind != nullptr && kind->target == KindTarget::WebAddress)
        return target;
    const std::size_t separator = target.find_last_of("\\/");
    return separator == std::string_view::npos ? target : target.substr(separator + 1);
}

int compareSortKeys(std::string_view a, std::string_view b) {
    const auto upper = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : static_cast<int>(byte);
    };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i)
        if (upper(a[i]) != upper(b[i]))
            return upper(a[i]) - upper(b[i]);
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

} // namespace velloran
