// The task store: the one owner of the task list, of tasks.tsk and of the recovery journal beside it.
// Everything that reads or changes tasks goes through it. tasks.tsk is written only at the save points;
// every change in between is recorded in the journal at once, so that a run that ends without saving
// neither loses a change nor runs a task twice at the next start. A task file that could not be read is
// never written, replaced or deleted: that run's tasks go to a file beside it.
#pragma once

#include "task_file.h"
#include "task_journal.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velloran {

class TaskStore {
public:
    // A store that keeps its tasks in memory only, for tools and tests.
    TaskStore();
    explicit TaskStore(TaskList tasks);
    // taskFile is tasks.tsk; journal is the recovery journal's path (journalPathFor() names it after the
    // task file). A journal that an earlier release left beside it under the shared name tasks.journal is
    // taken over when it was recorded against this tasks.tsk. Every change to the disk goes through disk.
    TaskStore(std::string taskFile, std::string journal, Disk& disk = systemDisk());
    // A store holding tasks that were read already, with tasks.tsk taken as it is now; for tests.
    TaskStore(std::string taskFile, std::string journal, TaskList loaded);
    ~TaskStore();
    TaskStore(TaskStore&&) noexcept;
    TaskStore& operator=(TaskStore&&) noexcept;

    // Once, at start-up: removes what interrupted saves left, loads tasks.tsk and replays the journal of
    // a run that ended without saving. What the user should be told goes to takeNotices().
    void open();

    const TaskList& tasks() const { return tasks_; }
    bool empty() const { return tasks_.empty(); }
    std::size_t size() const { return tasks_.size(); }
    const Task& operator[](std::size_t index) const { return tasks_[index]; }
    const Task* find(std::uint32_t taskId) const { return tasks_.findTask(taskId); }

    // The editor's save: a new task, whose id is returned, or an edit of the task with taskId, which
    // keeps its id, reserved fields and place (false when the task is gone meanwhile).
    std::uint32_t add(const Task& built, std::uint32_t unixSecondsNow);
    bool update(std::uint32_t taskId, const Task& built);
    // The main window's commands on the first task with this id; false when there is none.
    bool remove(std::uint32_t taskId);
    bool toggleEnabled(std::uint32_t taskId);

    // The scan's changes, by place in the list; recorded, and on the disk after flushChanges().
    void reschedule(std::size_t index, DateTime nextRun, std::uint32_t flags);
    void removeAt(std::size_t index);
    // Waits until every change recorded so far is on the disk; the scan calls it before a task's action
    // runs, so that a crash after the action cannot run it again.
    void flushChanges();

    // The scan's record of an occurrence that runs: the task at index as it falls due (before it moves
    // on), then, once its window is on the screen or its target was handed to the system, that it was
    // carried out. A run that ends between the two leaves the occurrence to the next start.
    void recordDue(std::size_t index);
    void recordDone(std::uint32_t taskId, DateTime due);
    // What an earlier run recorded as due but never carried out, as the tasks fell due (NextRun is the
    // occurrence). An alarm or memo is to be shown now; any other kind is not started again, and the user
    // is to be told that it may not have run. recordDone() after each, or the next start finds it again.
    std::vector<Task> takeInterrupted() { return std::exchange(interrupted_, {}); }

    // A save point: writes tasks.tsk (or the file beside an unreadable one) and drops the journal.
    // Fails with why, and where the tasks were written beside tasks.tsk instead.
    Result<void> save();

    // Called after each change to the list is recorded, so that the crash tests can follow every state
    // the list passes through.
    void setChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

    // What happened that the user should know, each told once: a task file that could not be read, a
    // damaged one, recovered changes, where tasks were saved instead.
    std::vector<Message> takeNotices();
    // What the program found before the store opened (where its task file lives), told with the rest.
    void addNotice(Message notice) { tell(std::move(notice)); }

private:
    void record(const JournalEntry& entry);
    void replayJournal();
    JournalContents takeSharedJournal();
    void tellNotApplied(const Message& why, const std::string& keptIn, const Message& notMoved = {});
    bool keepDamagedJournal(bool anyRecovered);
    void tellJournalFailure(const Message& why);
    Result<void> saveBeside();
    std::vector<std::string> unsavedCopies() const;
    void tidyUnsavedCopies();
    std::string copyOfFailedSave() const;
    void keepReplacedFile();
    void tell(Message notice) { notices_.push_back(std::move(notice)); }

    std::string taskFile_;
    Disk* disk_ = &systemDisk();
    std::unique_ptr<TaskJournal> journal_; // none for a store in memory only
    TaskList tasks_;
    FileIdentity known_;          // tasks.tsk as this run last read or wrote it
    FileStamp knownStamp_;        // and as the system showed it then
    bool fileUnreadable_ = false; // then tasks.tsk is left alone and saves go to unsavedFile_
    std::string unsavedFile_;     // this run's file beside tasks.tsk, once one was written
    std::string unsavedToldFor_;
    bool journalFailureTold_ = false;
    bool journalHeld_ = false; // a journal of another file that could not be set aside stays as it is
    std::vector<Message> notices_;
    std::vector<Task> interrupted_;
    std::function<void()> changed_;
};

} // namespace velloran
