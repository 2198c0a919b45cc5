// The crash-consistency checker: a scenario is run once on a recording disk; from the record every crash
// state and every power-cut state is built, a fresh store is started on each, and what it recovers is
// held against the invariants: a change reported done before the crash is there; no occurrence runs
// twice; a removed task never returns; nothing is lost without a copy the user is told of; the user is
// told that changes were set aside only when they really were not applied; an alarm or memo whose window
// was not yet shown is shown at the next start, and a program that was being started is not started
// again but told of.
#pragma once

#include "disk_model.h"
#include "recording_disk.h"
#include "store/task_file_place.h"
#include "store/task_store.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velloran::crash {

inline constexpr const char* kTaskFile = "prog/tasks.tsk";
// The task file's own journal. Its name is fixed here, not made from the task file's path, because the
// states are rebuilt in other folders; beside it, the name earlier releases shared.
inline constexpr const char* kJournal = "state/velloran/tasks-00000000c0ffee00.journal";
inline constexpr const char* kSharedJournal = "state/velloran/tasks.journal";

// What a scenario's run went through, as the program knew it.
class RunLog {
public:
    explicit RunLog(const TaskList& start);
    // A change to the list was made in memory (the journal has not necessarily got it).
    void changed(const TaskList& tasks, std::size_t step);
    // Everything so far was reported done: recorded durably, saved, or the task's action started.
    void acknowledged(std::size_t step);
    void ran(std::uint32_t taskId, std::size_t step);
    // The action of a task that ran is carried out: its window is on the screen, or the program was
    // handed to the system (or the user told that it may not have run). A crash at that very step
    // counts as one before it.
    void finished(std::uint32_t taskId, std::size_t step);

    struct State {
        std::string records; // the list, as tasks.tsk would hold it
        std::size_t madeAt = 0;
        bool acknowledged = false;
        std::size_t acknowledgedAt = 0;
    };
    const std::vector<State>& states() const { return states_; }
    // The states a recovery after a crash before step `prefix` may find: from the last one reported
    // done to the last one made.
    std::pair<std::size_t, std::size_t> allowed(std::size_t prefix) const;
    std::vector<std::uint32_t> ranBefore(std::size_t prefix) const;
    bool finishedBefore(std::uint32_t taskId, std::size_t prefix) const;
    std::size_t finishedCount(std::size_t prefix) const;

private:
    std::vector<State> states_;
    std::vector<std::pair<std::uint32_t, std::size_t>> runs_;
    std::vector<std::pair<std::uint32_t, std::size_t>> finishes_;
};

struct Scenario {
    std::string name;
    DateTime now = 0; // when the run and the recovered run scan
    // Makes the folder as the run finds it (nothing of this is recorded); returns the tasks a recovery
    // must find at least: tasks.tsk with what an earlier, crashed run recorded durably.
    std::function<TaskList(const std::string& root)> prepare;
    // The run: opens the store and uses it as the program does, telling the log what it reported done.
    std::function<void(TaskStore& store, RunLog& log, RecordingDisk& disk)> run;
    std::vector<std::uint32_t> ranInEarlierRun; // occurrences that ran before the run, in a crashed run
    // Of those, the ones the crashed run did not finish: to be shown or told unless the run finished them.
    std::vector<std::uint32_t> unfinishedInEarlierRun = {};
    // Where the program finds its task file, as each start does before the store opens (the first copy
    // into the data folder); none: kTaskFile. What it tells goes with the store's notices.
    std::function<TaskFilePlace(const std::string& root, Disk& disk)> place = {};
};

struct CheckFigures {
    std::size_t steps = 0;
    std::size_t crashStates = 0;
    std::size_t powerCutCombinations = 0; // all there are
    std::size_t powerCutStates = 0;       // those built and checked (after the bound)
    std::size_t distinctChecked = 0;
    std::size_t stopRunsCompared = 0; // runs stopped at a step whose folder was held against the model
    std::vector<std::string> failures;
};

// Runs the scenario, then checks every state; power cuts with more than `limit` combinations at one
// step are bounded as DiskModel::powerCutStates says. Every `stopEvery`-th step the scenario is also run
// again and stopped there, and what it left is held against the model's crash state.
CheckFigures checkScenario(const Scenario& scenario, const std::string& scratch, std::size_t limit,
                           std::size_t stopEvery);

} // namespace velloran::crash
