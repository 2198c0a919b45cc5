#include "crash_check.h"

#include "scheduler/due_scan.h"
#include "store/task_file.h"
#include "test_support.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

namespace velloran::crash {
namespace {

namespace fs = std::filesystem;

struct RecordingSink : TaskActionSink {
    std::vector<std::uint32_t> runs;
    void carryOut(const Task& task, DateTime) override { runs.push_back(task.TaskId); }
};

std::string describe(const TaskList& tasks) {
    std::string text;
    for (const Task& task : tasks)
        text += std::to_string(task.TaskId) + (task.enabled() ? "" : "(off)") + "@" +
                std::to_string(task.NextRun) + " ";
    return text.empty() ? "no tasks" : text;
}

bool mentions(const std::vector<std::string>& notices, const std::string& words) {
    return std::any_of(notices.begin(), notices.end(),
                       [&](const std::string& notice) { return notice.find(words) != std::string::npos; });
}

// The task file a start in root opens, found as the program finds it; what that tells goes to the store.
TaskStore startedStore(const Scenario& scenario, const std::string& root, Disk& disk) {
    TaskFilePlace place{root + "/" + kTaskFile, {}};
    if (scenario.place)
        place = scenario.place(root, disk);
    TaskStore store(place.taskFile, root + "/" + kJournal, disk);
    for (Message& notice : place.notices)
        store.addNotice(std::move(notice));
    return store;
}

// The links the scenario made are links still: a save writes through them.
std::string linksKept(const FolderTree& tree, const std::string& folder) {
    for (const auto& [path, target] : tree.links)
        if (!fs::is_symlink(folder + "/" + path))
            return path + " is no longer a symbolic link";
    return {};
}

// A fresh store on the state, as the next start of the program; then its scan, a save point and one more
// start. Returns what is wrong, if anything.
std::string checkRecovery(const Scenario& scenario, const RunLog& log, std::size_t prefix,
                          const std::string& folder, const FolderTree& tree) {
    // The state is a copy: a journal of the release before is pointed at this copy of its tasks.tsk.
    for (const char* earlier : {kJournal, kSharedJournal})
        test::pointEarlierJournalAt(folder + "/" + kTaskFile, folder + "/" + earlier);
    TaskStore store = startedStore(scenario, folder, systemDisk());
    store.open();
    const std::vector<std::string> notices = told(store.takeNotices());
    // What a kill while tasks.tsk or the journal was rewritten left: gone once the start is done.
    const auto temporaryOf = [](const std::string& name, const std::string& of) {
        return name.size() == of.size() + 8 && name.rfind("." + of + ".", 0) == 0;
    };
    for (const char* place : {"prog", "state/velloran", "home/.local/share/velloran", "sync"}) {
        if (!fs::is_directory(folder + "/" + place))
            continue;
        for (const auto& entry : fs::directory_iterator(folder + "/" + place))
            for (const char* of : {kTaskFile, kJournal, kSharedJournal})
                if (const std::string name = entry.path().filename().string();
                    temporaryOf(name, fs::path(of).filename().string()))
                    return "the start left " + name + " behind";
    }
    const auto [first, last] = log.allowed(prefix);
    const std::string found = taskFileBytes(store.tasks());
    bool allowed = false;
    for (std::size_t i = first; i <= last && !allowed; ++i)
        allowed = log.states()[i].records == found;
    if (!allowed)
        return "recovered " + describe(store.tasks()) +
               ", which is none of the states from the last one reported done (" + std::to_string(first) +
               ") to the last one made (" + std::to_string(last) + ")";
    if (mentions(notices, "were not applied") || mentions(notices, "is damaged"))
        return "told \"" + notices.front() + "\" though nothing was set aside or damaged";
    std::vector<std::uint32_t> ran = log.ranBefore(prefix);
    ran.insert(ran.end(), scenario.ranInEarlierRun.begin(), scenario.ranInEarlierRun.end());
    const std::vector<Task> interrupted = store.takeInterrupted();
    std::vector<std::uint32_t> unfinished;
    for (const std::uint32_t id : ran)
        if (!log.finishedBefore(id, prefix) &&
            (std::count(scenario.ranInEarlierRun.begin(), scenario.ranInEarlierRun.end(), id) == 0 ||
             std::count(scenario.unfinishedInEarlierRun.begin(), scenario.unfinishedInEarlierRun.end(), id) !=
                 0))
            unfinished.push_back(id);
    for (const std::uint32_t id : unfinished)
        if (std::none_of(interrupted.begin(), interrupted.end(),
                         [id](const Task& occurrence) { return occurrence.TaskId == id; }))
            return "task " + std::to_string(id) +
                   " was being carried out when the run ended; the next start neither shows nor tells it";
    // As the program does once the window is shown or the user told.
    for (const Task& occurrence : interrupted)
        store.recordDone(occurrence.TaskId, occurrence.NextRun);
    store.flushChanges();
    RecordingSink sink;
    scanDueTasks(store, scenario.now, sink);
    for (const Task& occurrence : interrupted)
        if (std::count(sink.runs.begin(), sink.runs.end(), occurrence.TaskId) != 0)
            return "the next start shows or tells task " + std::to_string(occurrence.TaskId) +
                   " as interrupted and runs it too";
    for (const std::uint32_t id : sink.runs)
        if (std::count(ran.begin(), ran.end(), id) != 0)
            return "task " + std::to_string(id) + " ran again after the recovery";
    store.takeNotices();
    if (const Result<void> saved = store.save(); !saved)
        return "the save point after the recovery failed: " + saved.error().english();
    TaskStore again = startedStore(scenario, folder, systemDisk());
    again.open();
    if (taskFileBytes(again.tasks()) != taskFileBytes(store.tasks()))
        return "the start after the next save found " + describe(again.tasks()) + ", not " +
               describe(store.tasks());
    std::vector<std::string> toldAgain = told(again.takeNotices());
    // A copy that a failed save left beside tasks.tsk is out of date once the tasks were saved: told once.
    std::erase_if(toldAgain, [](const std::string& notice) {
        return notice.find("was written before your tasks were last saved") != std::string::npos;
    });
    if (!toldAgain.empty())
        return "the start after the next save told \"" + toldAgain.front() + "\"";
    if (!again.takeInterrupted().empty())
        return "the start after the next save found an occurrence not carried out";
    return linksKept(tree, folder);
}

// A journal of the release before records its tasks.tsk's inode and time, which each run's copy has of its
// own: two runs' folders are alike when all else is.
FolderTree withoutEarlierStamps(FolderTree tree) {
    for (auto& [path, bytes] : tree.files)
        if (bytes.size() >= 60 && bytes.compare(0, 8, "VLRNJ001") == 0)
            bytes.replace(16, 44, 44, '\0');
    return tree;
}

void freshFolder(const std::string& path) {
    fs::remove_all(path);
    fs::create_directories(path);
}

// One run of the scenario in root, on the disk given; the log follows it.
TaskList runOnce(const Scenario& scenario, const std::string& root, RecordingDisk& disk, RunLog*& log,
                 std::unique_ptr<RunLog>& owned) {
    const TaskList start = scenario.prepare(root);
    owned = std::make_unique<RunLog>(start);
    log = owned.get();
    std::optional<TaskStore> store;
    try {
        store.emplace(startedStore(scenario, root, disk));
    } catch (const ProgramStopped&) {
        return start; // stopped before the store was there
    }
    store->setChangeListener([&store, &disk, log] { log->changed(store->tasks(), disk.count()); });
    try {
        scenario.run(*store, *log, disk);
    } catch (const ProgramStopped&) {
    }
    // The listener sees the change after it is made: the last state is the list as the run left it.
    log->changed(store->tasks(), disk.count());
    return start;
}

} // namespace

RunLog::RunLog(const TaskList& start) {
    states_.push_back({taskFileBytes(start), 0, true, 0});
}

void RunLog::changed(const TaskList& tasks, std::size_t step) {
    std::string records = taskFileBytes(tasks);
    if (records != states_.back().records)
        states_.push_back({std::move(records), step, false, 0});
}

void RunLog::acknowledged(std::size_t step) {
    if (!states_.back().acknowledged)
        states_.back() = {states_.back().records, states_.back().madeAt, true, step};
}

void RunLog::ran(std::uint32_t taskId, std::size_t step) {
    runs_.emplace_back(taskId, step);
}

void RunLog::finished(std::uint32_t taskId, std::size_t step) {
    finishes_.emplace_back(taskId, step);
}

bool RunLog::finishedBefore(std::uint32_t taskId, std::size_t prefix) const {
    return std::any_of(finishes_.begin(), finishes_.end(),
                       [&](const auto& finish) { return finish.first == taskId && finish.second < prefix; });
}

std::size_t RunLog::finishedCount(std::size_t prefix) const {
    return static_cast<std::size_t>(std::count_if(
        finishes_.begin(), finishes_.end(), [&](const auto& finish) { return finish.second < prefix; }));
}

std::pair<std::size_t, std::size_t> RunLog::allowed(std::size_t prefix) const {
    std::size_t first = 0;
    std::size_t last = 0;
    for (std::size_t i = 0; i < states_.size(); ++i) {
        if (states_[i].acknowledged && states_[i].acknowledgedAt <= prefix)
            first = i;
        if (i == 0 || states_[i].madeAt < prefix)
            last = i;
    }
    return {first, std::max(first, last)};
}

std::vector<std::uint32_t> RunLog::ranBefore(std::size_t prefix) const {
    std::vector<std::uint32_t> ids;
    for (const auto& [id, step] : runs_)
        if (step <= prefix)
            ids.push_back(id);
    return ids;
}

CheckFigures checkScenario(const Scenario& scenario, const std::string& scratch, std::size_t limit,
                           std::size_t stopEvery) {
    CheckFigures figures;
    const std::string root = scratch + "/run";
    const std::string state = scratch + "/state";
    freshFolder(root);
    RecordingDisk disk;
    RunLog* log = nullptr;
    std::unique_ptr<RunLog> owned;
    // The folder as the run found it is read before the run, inside runOnce's prepare.
    FolderTree start;
    Scenario recorded = scenario;
    recorded.prepare = [&](const std::string& folder) {
        TaskList tasks = scenario.prepare(folder);
        start = FolderTree::readFrom(folder);
        return tasks;
    };
    runOnce(recorded, root, disk, log, owned);
    if (const std::string lost = linksKept(start, root); !lost.empty())
        figures.failures.push_back(scenario.name + ": the run left " + lost);
    const DiskModel model(root, start, disk.steps());
    figures.steps = model.stepCount();

    std::set<std::string> seen;
    const auto check = [&](const FolderTree& tree, std::size_t prefix, const char* kind) {
        const auto [first, last] = log->allowed(prefix);
        std::string key = tree.key() + '|' + std::to_string(first) + '|' + std::to_string(last) + '|' +
                          std::to_string(log->ranBefore(prefix).size()) + '|' +
                          std::to_string(log->finishedCount(prefix));
        if (!seen.insert(std::move(key)).second)
            return;
        ++figures.distinctChecked;
        freshFolder(state);
        tree.writeTo(state);
        const std::string wrong = checkRecovery(scenario, *log, prefix, state, tree);
        if (!wrong.empty()) {
            std::string files;
            for (const auto& [path, bytes] : tree.files)
                files += " " + path + "(" + std::to_string(bytes.size()) + ")";
            figures.failures.push_back(scenario.name + ", " + kind + " before step " +
                                       std::to_string(prefix) + " of " + std::to_string(figures.steps) +
                                       " [" + files + " ]: " + wrong);
        }
    };
    for (std::size_t prefix = 0; prefix <= model.stepCount(); ++prefix) {
        const FolderTree crashed = model.crashState(prefix);
        ++figures.crashStates;
        check(crashed, prefix, "crash");
        figures.powerCutCombinations += model.powerCutStates(prefix, limit, [&](const FolderTree& tree) {
            if (tree == crashed)
                return;
            ++figures.powerCutStates;
            check(tree, prefix, "power cut");
        });
        // The model's crash state is what a program stopped there really leaves.
        if (stopEvery != 0 && prefix % stopEvery == 0 && prefix < model.stepCount()) {
            const std::string again = scratch + "/stopped";
            freshFolder(again);
            RecordingDisk stopping;
            stopping.stopAt(prefix);
            RunLog* ignored = nullptr;
            std::unique_ptr<RunLog> ignoredOwned;
            runOnce(scenario, again, stopping, ignored, ignoredOwned);
            ++figures.stopRunsCompared;
            FolderTree left = FolderTree::readFrom(again);
            if (!(withoutEarlierStamps(left) == withoutEarlierStamps(crashed)))
                figures.failures.push_back(scenario.name + ": stopped before step " + std::to_string(prefix) +
                                           ", the folder differs from the model's crash state");
        }
    }
    return figures;
}

} // namespace velloran::crash
