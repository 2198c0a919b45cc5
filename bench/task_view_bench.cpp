// Rebuilding the task list view with sorting on, as after every scan that found a due task.
#include "common/text.h"
#include "platform/locale_dates.h"
#include "shell/task_list_view.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace velloran;

namespace {

TaskList makeTasks(int count) {
    TaskList tasks;
    for (int i = 0; i < count; ++i) {
        Task task;
        task.TaskType = static_cast<std::uint8_t>(i % kTaskKindCount);
        task.Target = "/home/user/Documents/report-" + std::to_string(i) + ".odt";
        task.Description = "Task number " + std::to_string(i);
        // Scattered over years and hours so that the sort has work to do.
        task.NextRun = 40000.0 + (i * 7919 % 20000) + (i % 24) / 24.0;
        task.RepeatType = static_cast<std::uint8_t>(i % 5);
        task.Flags = kEnabled;
        tasks.appendLoaded(task).TaskId = static_cast<std::uint32_t>(i);
    }
    return tasks;
}

void BM_RefreshTaskViewSorted(benchmark::State& state) {
    const TaskList tasks = makeTasks(static_cast<int>(state.range(0)));
    const DateStyle names = dateStyleOf(QLocale::system());
    TaskListView view;
    view.setIconForKind([](int) { return QIcon(); });
    view.resize(650, 295);
    for (auto _ : state)
        view.refresh(tasks, true, false, names);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_RefreshTaskViewSorted)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
