#include "task_rows.h"

#include "common/text.h"
#include "store/task_kinds.h"

#include <algorithm>

namespace velloran {
namespace {

// "weekly" is written in lower case in the list, unlike the editor's "Weekly".
constexpr std::string_view kRepeatNames[] = {"Once", "Daily", "weekly", "Monthly", "Yearly"};

} // namespace

std::string_view kindName(int kind) {
    const TaskKindInfo* info = taskKind(kind);
    return info != nullptr ? info->name : std::string_view();
}

std::string_view repeatName(int repeat) {
    return repeat >= 0 && repeat < static_cast<int>(std::size(kRepeatNames)) ? kRepeatNames[repeat]
                                                                             : std::string_view();
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

TaskRow makeTaskRow(const Task& task, bool longDisplay, const DateNames& names) {
    TaskRow row;
    row.caption = kindName(task.TaskType);
    row.imageIndex = task.TaskType;
    row.target = displayUtf8(shortTarget(task));
    row.nextRun =
        formatDateTime(longDisplay ? kLongDisplayFormat : kNormalDisplayFormat, task.NextRun, names);
    row.repeat = repeatName(task.RepeatType);
    row.status = task.enabled() ? "Enabled" : "Disabled";
    row.description = displayUtf8(task.Description.view());
    row.taskId = task.TaskId;
    return row;
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

std::vector<TaskRow> buildTaskRows(const TaskList& tasks, bool sortByDate, bool longDisplay,
                                   const DateNames& names) {
    // The order first, by the sort key ("yymmdd a/p hh:mm", which no column shows), so that the rows are
    // made once, in place, and the keys are gone when the rows stay.
    std::vector<std::size_t> order(tasks.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (sortByDate) {
        std::vector<std::string> keys;
        keys.reserve(tasks.size());
        for (const Task& task : tasks)
            keys.push_back(formatDateTime(kSortKeyFormat, task.NextRun, names));
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return compareSortKeys(keys[a], keys[b]) < 0; });
    }
    std::vector<TaskRow> rows;
    rows.reserve(tasks.size());
    for (const std::size_t index : order)
        rows.push_back(makeTaskRow(tasks[index], longDisplay, names));
    return rows;
}

} // namespace velloran
