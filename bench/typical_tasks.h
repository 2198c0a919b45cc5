// Tasks as a user has them, for the benchmarks: texts of a few dozen bytes, every kind, all enabled and
// due far in the future so that nothing runs while measuring.
#pragma once

#include "store/task.h"

#include <string>

namespace velloran::bench {

inline Task typicalTask(int i) {
    Task task;
    task.TaskId = static_cast<std::uint32_t>(1000 + i);
    task.TaskType = static_cast<std::uint8_t>(i % kTaskKindCount);
    if (task.TaskType == kAlarmClock) {
        task.Target = "Alarm Clock";
        task.AlarmSound = "Alarm.wav";
    } else if (task.TaskType == kMemo) {
        task.Target = "Memo";
    } else {
        task.Target = "/home/user/Documents/report-" + std::to_string(i) + ".odt";
    }
    task.Description = "Call about the quarterly report, part " + std::to_string(i);
    // The editor gives every kind the memo box's font.
    task.MemoFont.FontName = "MS Sans Serif";
    task.MemoFont.FontSize = 8;
    task.NextRun = 60000.0 + i / 100.0;
    task.RepeatType = static_cast<std::uint8_t>(i % 5);
    task.DayMask = kEveryDay;
    task.DayOfMonth = 15;
    task.Flags = kEnabled;
    return task;
}

} // namespace velloran::bench
