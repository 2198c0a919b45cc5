// Load, save and scan of a large task list, beside `cp` of the same file for scale, and the memory a
// task takes.
#include "scheduler/due_scan.h"
#include "store/task_file.h"
#include "typical_tasks.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

using namespace velloran;

namespace {

constexpr int kTasks = 100000;

struct NoActions : TaskActionSink {
    void carryOut(const Task&, DateTime) override {}
};

std::string benchFolder() {
    static const std::string folder = [] {
        std::string path = (std::filesystem::temp_directory_path() / "velloran-bench").string();
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

TaskList makeTasks(int count = kTasks) {
    TaskList tasks;
    for (int i = 0; i < count; ++i)
        tasks.appendLoaded(bench::typicalTask(i));
    return tasks;
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

const std::string& savedFile() {
    static const std::string path = [] {
        std::string file = benchFolder() + "/tasks.tsk";
        if (!saveTaskFile(file, makeTasks()))
            throw std::runtime_error("cannot write " + file);
        return file;
    }();
    return path;
}

void BM_SaveTaskFile(benchmark::State& state) {
    const TaskList tasks = makeTasks();
    const std::string path = benchFolder() + "/saved.tsk";
    for (auto _ : state) {
        if (const Result<void> saved = saveTaskFile(path, tasks); !saved)
            state.SkipWithError(saved.error().english().c_str());
    }
    state.SetBytesProcessed(state.iterations() * kTasks * static_cast<std::int64_t>(sizeof(TaskRecord)));
}

void BM_LoadTaskFile(benchmark::State& state) {
    const std::string& path = savedFile();
    for (auto _ : state) {
        TaskList tasks;
        loadTaskFile(path, tasks);
        benchmark::DoNotOptimize(tasks.size());
    }
    state.SetBytesProcessed(state.iterations() * kTasks * static_cast<std::int64_t>(sizeof(TaskRecord)));
}

// The same bytes copied by cp, flushed like the save, for scale.
void BM_CopyWithCp(benchmark::State& state) {
    const std::string command =
        "cp '" + savedFile() + "' '" + benchFolder() + "/copy.tsk' && sync '" + benchFolder() + "/copy.tsk'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(state.iterations() * kTasks * static_cast<std::int64_t>(sizeof(TaskRecord)));
}

void BM_ScanNothingDue(benchmark::State& state) {
    TaskStore tasks(makeTasks());
    NoActions actions;
    for (auto _ : state)
        benchmark::DoNotOptimize(scanDueTasks(tasks, 45000.0, actions));
    state.SetItemsProcessed(state.iterations() * kTasks);
}

// Heap bytes that one typical task takes in the task list, with everything the list keeps for it.
void BM_MemoryPerTask(benchmark::State& state) {
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        const TaskList tasks = makeTasks();
        state.counters["bytes_per_task"] = static_cast<double>(heapInUse() - before) / kTasks;
    }
}

// One change between two saves, recorded durably in the journal: the same cost for any number of tasks.
void BM_RecordOneChange(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string file = benchFolder() + "/journalled.tsk";
    const std::string journal = benchFolder() + "/state/tasks.journal";
    TaskStore tasks(file, journal, makeTasks(count));
    std::size_t index = 0;
    for (auto _ : state) {
        const Task& task = tasks[index];
        tasks.reschedule(index, task.NextRun + 1.0, task.Flags);
        tasks.flushChanges();
        index = (index + 7919) % tasks.size();
    }
    if (!tasks.takeNotices().empty())
        state.SkipWithError("the journal could not be written");
    state.SetItemsProcessed(state.iterations());
}

// The system's disk, counting the waits for data to reach it.
class CountingDisk final : public Disk {
public:
    int openForWriting(const std::string& path, int flags, mode_t mode) override {
        return system_.openForWriting(path, flags, mode);
    }
    int createTemporary(std::string& name) override { return system_.createTemporary(name); }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        return system_.write(fd, data, size);
    }
    int changeMode(int fd, mode_t mode) override { return system_.changeMode(fd, mode); }
    int fsync(int fd) override { return ++syncs, system_.fsync(fd); }
    int fdatasync(int fd) override { return ++syncs, system_.fdatasync(fd); }
    int close(int fd) override { return system_.close(fd); }
    int rename(const std::string& from, const std::string& to) override { return system_.rename(from, to); }
    int link(const std::string& from, const std::string& to) override { return system_.link(from, to); }
    int unlink(const std::string& path) override { return system_.unlink(path); }
    int mkdir(const std::string& path, mode_t mode) override { return system_.mkdir(path, mode); }
    int syncFolder(const std::string& path) override { return ++syncs, system_.syncFolder(path); }

    std::int64_t syncs = 0;

private:
    Disk& system_ = systemDisk();
};

// A scan in which one alarm of a thousand tasks falls due: recorded durably before its window shows, and
// as shown after; what that costs, in time and in waits for the disk.
void BM_ScanOneAlarmDue(benchmark::State& state) {
    const std::string file = benchFolder() + "/alarm.tsk";
    TaskList list = makeTasks(1000);
    Task& alarm = list[0];
    alarm.TaskType = kAlarmClock;
    alarm.RepeatType = kDaily;
    alarm.NextRun = 30000.0; // decades before the others, which never fall due here
    if (!saveTaskFile(file, list))
        throw std::runtime_error("cannot write " + file);
    // The journal an earlier measurement left would be replayed and told.
    const std::string journal = benchFolder() + "/state/alarm.journal";
    std::filesystem::remove(journal);
    CountingDisk disk;
    TaskStore tasks(file, journal, disk);
    tasks.open();
    NoActions actions;
    for (auto _ : state) {
        // A day on each time: every scan finds the alarm due at its own time.
        const DateTime now = tasks[0].NextRun;
        benchmark::DoNotOptimize(scanDueTasks(tasks, now, actions));
    }
    state.counters["syncs_per_alarm"] =
        static_cast<double>(disk.syncs) / static_cast<double>(state.iterations());
    if (!tasks.takeNotices().empty())
        state.SkipWithError("the journal could not be written");
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_MemoryPerTask)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordOneChange)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SaveTaskFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadTaskFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScanNothingDue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanOneAlarmDue)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
