// Writes a tasks.tsk of typical tasks for the benchmarks: make_task_file FILE COUNT.
#include "common/text.h"
#include "store/task_file.h"

#include <cstdio>
#include <string>

using namespace velloran;

int main(int argc, char* argv[]) {
    if (argc != 3)
        return 2;
    const int count = std::stoi(argv[2]);
    TaskList tasks;
    for (int i = 0; i < count; ++i) {
        TaskRecord task = emptyTaskRecord();
        task.TaskType = static_cast<std::uint8_t>(i % kTaskKindCount);
        if (task.TaskType == kAlarmClock) {
            setFieldText(task.Target, "Alarm Clock");
            setFieldText(task.AlarmSound, "Alarm.wav");
        } else if (task.TaskType == kMemo) {
            setFieldText(task.Target, "Memo");
            setFieldText(task.MemoFont.FontName, "MS Sans Serif");
            task.MemoFont.FontSize = 8;
        } else {
            setFieldText(task.Target, "/home/user/Documents/report-" + std::to_string(i) + ".odt");
        }
        setFieldText(task.Description, "Call about the quarterly report, part " + std::to_string(i));
        task.NextRun = 60000.0 + i / 100.0; // far in the future: nothing falls due while measuring
        task.RepeatType = static_cast<std::uint8_t>(i % 5);
        task.DayMask = kEveryDay;
        task.DayOfMonth = 15;
        task.Flags = kEnabled;
        tasks.appendLoaded(task).TaskId = static_cast<std::uint32_t>(1000 + i);
    }
    const std::string error = saveTaskFile(argv[1], tasks);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
