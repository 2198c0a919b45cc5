// Every crash state and power-cut state of the task store's scenarios, checked against the invariants.
// Each scenario's figures are printed; `make crashcheck` shows them.
#include "crash_check.h"
#include "scheduler/due_scan.h"
#include "store/task_file.h"
#include "store/task_file_place.h"
#include "store/task_journal.h"
#include "test_support.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace velloran::crash {
namespace {

namespace fs = std::filesystem;
using test::at;
using test::makeTask;

const DateTime kNine = at(2030, 3, 4, 9, 0);

Task task(std::uint32_t id, TaskKind kind, DateTime nextRun, RepeatKind repeat, std::uint32_t flags) {
    Task made = makeTask(kind, nextRun, repeat, flags);
    made.TaskId = id;
    made.Description = "task " + std::to_string(id);
    return made;
}

TaskList listOf(std::initializer_list<Task> tasks) {
    TaskList list;
    for (const Task& one : tasks)
        list.appendLoaded(one);
    return list;
}

// Folders as an installed program finds them; tasks.tsk holds the tasks given, if any.
TaskList startWith(const std::string& root, const TaskList& tasks, bool stateFolder = true) {
    fs::create_directories(root + "/prog");
    if (stateFolder)
        fs::create_directories(root + "/state/velloran");
    if (!tasks.empty() && !saveTaskFile(root + "/" + kTaskFile, tasks))
        throw std::runtime_error("cannot write the starting task file");
    return tasks;
}

// Due now: a Daily, a Once AutoDelete and a program task; one more for later.
TaskList dueTasks() {
    return listOf({task(100, kAlarmClock, kNine, kDaily, kEnabled),
                   task(101, kGeneral, kNine, kOnce, kEnabled | kAutoDelete),
                   task(102, kExecutable, kNine - 0.001, kOnce, kEnabled),
                   task(103, kMemo, kNine + 10, kOnce, kEnabled)});
}

struct LoggingSink : TaskActionSink {
    RunLog& log_;
    RecordingDisk& disk_;
    LoggingSink(RunLog& log, RecordingDisk& disk) : log_(log), disk_(disk) {}
    void carryOut(const Task& task, DateTime) override {
        // The scan has made the change durable before the action: it counts as done.
        log_.acknowledged(disk_.count());
        log_.ran(task.TaskId, disk_.count());
        log_.finished(task.TaskId, disk_.count());
    }
};

void openAndAcknowledge(TaskStore& store, RunLog& log, RecordingDisk& disk) {
    store.open();
    log.changed(store.tasks(), disk.count());
    log.acknowledged(disk.count());
}

// What the program does at start with what a killed run left undone: shows the alarm, tells of the
// program, and records each as done.
void finishInterrupted(TaskStore& store, RunLog& log, RecordingDisk& disk) {
    for (const Task& occurrence : store.takeInterrupted()) {
        log.finished(occurrence.TaskId, disk.count());
        store.recordDone(occurrence.TaskId, occurrence.NextRun);
    }
    store.flushChanges();
    log.acknowledged(disk.count());
}

// What an earlier run left when it was killed while it carried out the task killedIn: the occurrences
// before it done, that one recorded due, the tasks behind it not reached.
TaskList afterKillWhileCarryingOut(const std::string& root, const TaskList& tasks, std::uint32_t killedIn) {
    startWith(root, tasks);
    TaskStore earlier(root + "/" + kTaskFile, root + "/" + kJournal);
    earlier.open();
    struct Killed {};
    struct KilledIn : TaskActionSink {
        std::uint32_t id;
        explicit KilledIn(std::uint32_t task) : id(task) {}
        void carryOut(const Task& task, DateTime) override {
            if (task.TaskId == id)
                throw Killed{};
        }
    } sink(killedIn);
    try {
        scanDueTasks(earlier, kNine, sink);
    } catch (const Killed&) {
    }
    return earlier.tasks();
}

void startAfterKill(TaskStore& store, RunLog& log, RecordingDisk& disk) {
    openAndAcknowledge(store, log, disk);
    finishInterrupted(store, log, disk);
    LoggingSink sink(log, disk);
    scanDueTasks(store, kNine, sink);
    log.acknowledged(disk.count());
    if (store.save().ok())
        log.acknowledged(disk.count());
}

// What an earlier run left when it was killed after its scan: tasks.tsk and a journal of the scan.
TaskList afterKilledScan(const std::string& root) {
    startWith(root, dueTasks());
    TaskStore earlier(root + "/" + kTaskFile, root + "/" + kJournal);
    earlier.open();
    struct Quiet : TaskActionSink {
        void carryOut(const Task&, DateTime) override {}
    } quiet;
    scanDueTasks(earlier, kNine, quiet);
    return earlier.tasks();
}

// What a run of the release before left when it was killed: its tasks.tsk and its journal under the
// shared name, recorded against it; the tasks as that run left them.
TaskList afterKilledEarlierRelease(const std::string& root) {
    startWith(root, {});
    test::placeEarlierJournal(root + "/" + kTaskFile, root + "/" + kSharedJournal);
    TaskList tasks;
    loadTaskFile(root + "/" + kTaskFile, tasks);
    for (const JournalEntry& entry : parseJournal(test::readFile(root + "/" + kSharedJournal)).entries)
        applyJournalEntry(tasks, entry);
    return tasks;
}

// Another copy of the program, with its task file in another folder, killed after a change it recorded in
// the journal under the shared name, as an earlier release kept it: never this task file's.
void otherCopyKilled(const std::string& root) {
    fs::create_directories(root + "/other");
    TaskStore other(root + "/other/tasks.tsk", root + "/" + kSharedJournal);
    other.open();
    other.add(task(0, kGeneral, kNine - 0.001, kOnce, kEnabled), 4242);
}

// A program folder the user may not write to: tasks.tsk goes to the data folder, copied at the first start.
TaskFilePlace inDataFolder(const std::string& root, Disk& disk) {
    return placeTaskFile(root + "/prog", false, root + "/home/.local/share/velloran", disk);
}

TaskList beforeFirstCopy(const std::string& root) {
    fs::create_directories(root + "/home");
    return startWith(root, dueTasks());
}

std::vector<Scenario> scenarios() {
    std::vector<Scenario> all;
    const auto acknowledge = [](RunLog& log, RecordingDisk& disk) { log.acknowledged(disk.count()); };
    all.push_back({"scan running a Daily, a Once AutoDelete and a program task",
                   kNine,
                   [](const std::string& root) { return startWith(root, dueTasks()); },
                   [](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       LoggingSink sink(log, disk);
                       scanDueTasks(store, kNine, sink);
                       log.acknowledged(disk.count());
                   },
                   {}});
    all.push_back({"editor add and edit",
                   kNine,
                   [](const std::string& root) {
                       return startWith(root, listOf({task(1, kMemo, kNine + 5, kOnce, kEnabled)}));
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       const std::uint32_t id =
                           store.add(task(0, kAlarmClock, kNine + 2, kWeekly, kEnabled), 5000);
                       acknowledge(log, disk);
                       if (store.save().ok()) // the editor closes
                           acknowledge(log, disk);
                       Task edited = *store.find(id);
                       edited.Description = "edited";
                       edited.NextRun = kNine + 3;
                       store.update(id, edited);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"Delete",
                   kNine,
                   [](const std::string& root) {
                       return startWith(root, listOf({task(1, kGeneral, kNine - 0.5, kOnce, 0),
                                                      task(2, kGeneral, kNine + 1, kOnce, kEnabled),
                                                      task(3, kGeneral, kNine + 2, kOnce, kEnabled)}));
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.remove(1);
                       acknowledge(log, disk);
                       store.remove(3);
                       acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"Enable/Disable",
                   kNine,
                   [](const std::string& root) {
                       return startWith(root, listOf({task(1, kGeneral, kNine, kOnce, 0),
                                                      task(2, kGeneral, kNine + 1, kDaily, kEnabled)}));
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.toggleEnabled(2);
                       acknowledge(log, disk);
                       store.toggleEnabled(1); // due and late now: the scan must find it as the user left it
                       acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"replay after a crash",
                   kNine,
                   afterKilledScan,
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.toggleEnabled(103);
                       acknowledge(log, disk);
                   },
                   {100, 101, 102}});
    all.push_back({"replay cut short (a torn last entry)",
                   kNine,
                   [](const std::string& root) {
                       startWith(root, listOf({task(1, kGeneral, kNine + 1, kOnce, kEnabled),
                                               task(2, kGeneral, kNine + 1, kOnce, kEnabled),
                                               task(3, kGeneral, kNine + 1, kOnce, kEnabled)}));
                       TaskList durable;
                       {
                           TaskStore earlier(root + "/" + kTaskFile, root + "/" + kJournal);
                           earlier.open();
                           earlier.remove(1);
                           durable = earlier.tasks();
                           earlier.remove(2); // killed while this one was written
                       }
                       const std::string journal = root + "/" + kJournal;
                       fs::resize_file(journal, fs::file_size(journal) - 5);
                       return durable;
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.remove(3);
                       acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"save point",
                   kNine,
                   [](const std::string& root) {
                       return startWith(root,
                                        listOf({task(1, kGeneral, kNine - 1, kOnce, kEnabled | kAutoDelete),
                                                task(2, kGeneral, kNine + 1, kOnce, kEnabled)}));
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.remove(1);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                       store.toggleEnabled(2);
                       acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"empty-list save",
                   kNine,
                   [](const std::string& root) {
                       return startWith(root, listOf({task(1, kGeneral, kNine - 1, kOnce, kEnabled)}));
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.remove(1);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"first run with no state folder",
                   kNine,
                   [](const std::string& root) { return startWith(root, {}, false); },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.add(task(0, kGeneral, kNine - 0.001, kOnce, kEnabled | kAutoDelete), 7000);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"journal write that fails and then succeeds",
                   kNine,
                   [](const std::string& root) {
                       return startWith(root, listOf({task(1, kGeneral, kNine - 1, kOnce, kEnabled),
                                                      task(2, kGeneral, kNine - 1, kOnce, kEnabled),
                                                      task(3, kGeneral, kNine + 1, kOnce, kEnabled)}));
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.toggleEnabled(1);
                       acknowledge(log, disk);
                       store.toggleEnabled(3);
                       acknowledge(log, disk);
                       disk.failNextWrite(ENOSPC); // the folder fills up: the user is told, nothing is done
                       store.toggleEnabled(2);
                       store.remove(3); // space came back
                       acknowledge(log, disk);
                   },
                   {}});
    all.push_back({"start after a kill while an alarm was shown",
                   kNine,
                   [](const std::string& root) {
                       return afterKillWhileCarryingOut(
                           root,
                           listOf({task(104, kMemo, kNine, kOnce, kEnabled | kAutoDelete),
                                   task(100, kAlarmClock, kNine, kDaily, kEnabled),
                                   task(105, kGeneral, kNine, kOnce, kEnabled)}),
                           100);
                   },
                   startAfterKill,
                   {104, 100},
                   {100}});
    all.push_back({"start after a kill while a program was started",
                   kNine,
                   [](const std::string& root) {
                       return afterKillWhileCarryingOut(
                           root,
                           listOf({task(102, kExecutable, kNine, kOnce, kEnabled | kAutoDelete),
                                   task(100, kAlarmClock, kNine, kDaily, kEnabled)}),
                           102);
                   },
                   startAfterKill,
                   {102},
                   {102}});
    all.push_back({"journal of the release before, taken over",
                   at(2026, 12, 8, 10, 0),
                   afterKilledEarlierRelease,
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       LoggingSink sink(log, disk);
                       scanDueTasks(store, at(2026, 12, 8, 10, 0), sink);
                       store.toggleEnabled(2005);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                   },
                   {2001, 2002, 2003}});
    all.push_back({"another copy's journal under the shared name",
                   kNine,
                   [](const std::string& root) {
                       TaskList tasks = startWith(root, dueTasks());
                       otherCopyKilled(root);
                       return tasks;
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       LoggingSink sink(log, disk);
                       scanDueTasks(store, kNine, sink);
                       log.acknowledged(disk.count());
                       if (store.save().ok())
                           acknowledge(log, disk);
                   },
                   {}});
    for (const int failures : {1, 2})
        all.push_back({failures == 1 ? "Saving entry failing once (the journal restated)"
                                     : "Saving entry that cannot be written, then a save",
                       kNine,
                       [](const std::string& root) {
                           return startWith(root, listOf({task(1, kGeneral, kNine - 1, kOnce, kEnabled),
                                                          task(2, kGeneral, kNine + 1, kOnce, kEnabled)}));
                       },
                       [acknowledge, failures](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                           openAndAcknowledge(store, log, disk);
                           store.remove(1);
                           acknowledge(log, disk);
                           // The disk fills up as the save records that it is about to replace tasks.tsk.
                           disk.failNextWrite(ENOSPC, failures, ".journal");
                           if (store.save().ok())
                               acknowledge(log, disk);
                           store.toggleEnabled(2);
                           acknowledge(log, disk);
                           if (store.save().ok())
                               acknowledge(log, disk);
                       },
                       {}});
    all.push_back({"first copy into the data folder, a change and a save",
                   kNine,
                   beforeFirstCopy,
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.toggleEnabled(103);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                   },
                   {},
                   {},
                   inDataFolder});
    all.push_back({"first copy that fails to write (EIO), then a change",
                   kNine,
                   beforeFirstCopy,
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.toggleEnabled(103);
                       acknowledge(log, disk);
                   },
                   {},
                   {},
                   [](const std::string& root, Disk& disk) {
                       if (auto* recording = dynamic_cast<RecordingDisk*>(&disk))
                           recording->failNextWrite(EIO);
                       return inDataFolder(root, disk);
                   }});
    all.push_back({"saves through a symbolic link, down to an empty list",
                   kNine,
                   [](const std::string& root) {
                       const TaskList tasks = listOf({task(1, kGeneral, kNine + 1, kOnce, kEnabled),
                                                      task(2, kGeneral, kNine + 2, kOnce, kEnabled)});
                       startWith(root, {});
                       fs::create_directories(root + "/sync");
                       if (!saveTaskFile(root + "/sync/tasks.tsk", tasks))
                           throw std::runtime_error("cannot write the linked task file");
                       fs::create_symlink("../sync/tasks.tsk", root + "/" + kTaskFile);
                       return tasks;
                   },
                   [acknowledge](TaskStore& store, RunLog& log, RecordingDisk& disk) {
                       openAndAcknowledge(store, log, disk);
                       store.remove(1);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                       store.remove(2);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                       store.add(task(0, kMemo, kNine + 3, kOnce, kEnabled), 8000);
                       acknowledge(log, disk);
                       if (store.save().ok())
                           acknowledge(log, disk);
                   },
                   {}});
    return all;
}

std::string scratchFolder() {
    // Many small files are written for each state: memory is the place for them.
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "velloran-crash-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder");
    return pattern;
}

class CrashStates : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CrashStates, EveryCrashAndPowerCutStateRecoversWithinTheInvariants) {
    const Scenario scenario = scenarios()[GetParam()];
    const std::string scratch = scratchFolder();
    // Up to 4096 power-cut combinations at one step are all built; every step is also stopped at for real.
    const CheckFigures figures = checkScenario(scenario, scratch, 4096, 1);
    fs::remove_all(scratch);
    std::printf("crash check: %-58s %4zu steps %5zu crash states %7zu power-cut combinations, %6zu built, "
                "%6zu distinct states checked, %4zu stopped runs compared, %zu failures\n",
                scenario.name.c_str(), figures.steps, figures.crashStates, figures.powerCutCombinations,
                figures.powerCutStates, figures.distinctChecked, figures.stopRunsCompared,
                figures.failures.size());
    for (std::size_t i = 0; i < figures.failures.size() && i < 8; ++i)
        ADD_FAILURE() << figures.failures[i];
    EXPECT_TRUE(figures.failures.empty()) << figures.failures.size() << " invariant failures";
}

INSTANTIATE_TEST_SUITE_P(Scenarios, CrashStates, ::testing::Range<std::size_t>(0, scenarios().size()));

} // namespace
} // namespace velloran::crash
