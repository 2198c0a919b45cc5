#include "task_store.h"

#include "common/datetime.h"
#include "files/atomic_file.h"
#include "files/file_io.h"

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace velloran {
namespace {

// What the store tells the user, in the translations' context of its own.
Message notice(const char* source, std::initializer_list<Message> arguments = {}) {
    return Message("TaskStore", source, arguments);
}

// "-YYYYMMDD-HHMMSS" of a file's last change, in local time.
std::string dateSuffix(std::int64_t modifiedNanoseconds) {
    const DateTime when = localDateTimeFromUnix(modifiedNanoseconds / 1000000000);
    const CivilDate date = decodeDate(when);
    const CivilTime time = decodeTime(when);
    char text[32];
    std::snprintf(text, sizeof text, "-%04d%02d%02d-%02d%02d%02d", date.year, date.month, date.day, time.hour,
                  time.minute, time.second);
    return text;
}

// The occurrences recorded as due and then moved on from, but never recorded as carried out. One whose
// task did not move on was cut short before it ran: the task is still due, and the scan runs it.
std::vector<Task> interruptedOccurrences(const std::vector<JournalEntry>& entries) {
    std::set<std::uint32_t> movedOn;
    std::set<std::pair<std::uint32_t, DateTime>> done;
    std::vector<Task> found;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        switch (entry->kind) {
        case JournalEntry::Kind::Reschedule:
        case JournalEntry::Kind::Remove:
            movedOn.insert(entry->taskId);
            break;
        case JournalEntry::Kind::Done:
            done.emplace(entry->taskId, entry->nextRun);
            break;
        case JournalEntry::Kind::Due:
            if (movedOn.count(entry->taskId) != 0 && done.count({entry->taskId, entry->nextRun}) == 0)
                found.push_back(entry->record);
            break;
        default:
            break;
        }
    }
    std::reverse(found.begin(), found.end());
    return found;
}

JournalEntry doneEntry(std::uint32_t taskId, DateTime due) {
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Done;
    entry.taskId = taskId;
    entry.nextRun = due;
    return entry;
}

// News that asks nothing of the user.
Message information(const char* source, std::initializer_list<Message> arguments = {}) {
    Message told = notice(source, arguments);
    told.setSeverity(Message::Severity::Information);
    return told;
}

// The journal that earlier releases kept under one name for whichever task file they ran, beside this
// task file's own; none where the two are the same.
std::string sharedJournalBeside(const std::string& journal) {
    const std::string shared = parentFolder(journal) + "/" + kSharedJournalName;
    return shared == journal ? std::string() : shared;
}

} // namespace

TaskStore::TaskStore() = default;

TaskStore::TaskStore(TaskList tasks) : tasks_(std::move(tasks)) {}

TaskStore::TaskStore(std::string taskFile, std::string journal, Disk& disk)
    : taskFile_(std::move(taskFile)), disk_(&disk),
      journal_(std::make_unique<TaskJournal>(std::move(journal), disk)) {}

TaskStore::TaskStore(std::string taskFile, std::string journal, TaskList loaded)
    : TaskStore(std::move(taskFile), std::move(journal)) {
    tasks_ = std::move(loaded);
    known_ = identityOfPath(taskFile_);
    knownStamp_ = stampOfPath(taskFile_);
}

TaskStore::~TaskStore() = default;
TaskStore::TaskStore(TaskStore&&) noexcept = default;
TaskStore& TaskStore::operator=(TaskStore&&) noexcept = default;

void TaskStore::open() {
    if (taskFile_.empty())
        return;
    removeLeftTemporaries(taskFile_, *disk_);
    if (journal_) {
        // What a kill while the journal was rewritten left; never this task file's journal itself.
        removeLeftTemporaries(journal_->path(), *disk_);
        if (const std::string shared = sharedJournalBeside(journal_->path()); !shared.empty())
            removeLeftTemporaries(shared, *disk_);
    }
    const TaskFileLoad load = loadTaskFile(taskFile_, tasks_);
    if (load.state == TaskFileState::Unreadable) {
        // Its journal, if any, waits for a run that can read the file it belongs to.
        fileUnreadable_ = true;
        tell(notice(QT_TRANSLATE_NOOP("TaskStore",
                                      "The task file \"%1\" could not be read: %2.\nVelloran leaves it as it "
                                      "is and starts without its tasks. Tasks you create or change now are "
                                      "saved beside it."),
                    {taskFile_, load.reason}));
        return;
    }
    known_ = load.identity;
    knownStamp_ = load.stamp;
    tidyUnsavedCopies();
    if (load.state == TaskFileState::PartialLastRecord) {
        const Result<std::string> kept = keepCopyOf(taskFile_, taskFile_ + ".damaged", *disk_);
        const auto strayBytes = static_cast<long long>(load.strayBytes);
        tell(kept
                 ? Message::counted("TaskStore",
                                    QT_TRANSLATE_N_NOOP(
                                        "TaskStore", "The last task in \"%1\" is incomplete (%n byte(s)) and "
                                                     "could not be read; the other tasks were loaded.\n"
                                                     "The file as it was is kept as \"%2\"."),
                                    strayBytes, {taskFile_, *kept})
                 : Message::counted("TaskStore",
                                    QT_TRANSLATE_N_NOOP(
                                        "TaskStore", "The last task in \"%1\" is incomplete (%n byte(s)) and "
                                                     "could not be read; the other tasks were loaded.\n"
                                                     "No copy of the file as it was could be kept: %2."),
                                    strayBytes, {taskFile_, kept.error()}));
    }
    if (journal_)
        replayJournal();
}

// Earlier releases kept one journal for whichever task file they ran. Where it belongs to this task file
// (recorded against tasks.tsk as it is now), it becomes this task file's journal; one that belongs to
// another copy of the program is left to it, and one that nobody can read is set aside.
JournalContents TaskStore::takeSharedJournal() {
    const std::string shared = sharedJournalBeside(journal_->path());
    if (shared.empty())
        return {};
    JournalContents journal = TaskJournal(shared, *disk_).read();
    if (!journal.exists)
        return journal;
    if (!journal.headerRead && journal.torn) {
        // Its header cut off while it was written: it recorded nothing.
        static_cast<void>(removeFileIfPresent(shared, *disk_));
        return {};
    }
    const bool unreadable = !journal.error.empty() || !journal.headerRead;
    if (!unreadable && !journalStartFor(journal, known_, knownStamp_))
        return {};
    // One step: the journal is under one name or the other, never both, whenever the start is stopped.
    if (disk_->rename(shared, journal_->path()) != 0 || disk_->syncFolder(parentFolder(shared)) != 0) {
        const Message why = notice(QT_TRANSLATE_NOOP("TaskStore", "they could not be moved to \"%1\" (%2)"),
                                   {journal_->path(), std::string(std::strerror(errno))});
        if (!unreadable) {
            journalHeld_ = true; // its folder takes no new journal either
            tellNotApplied(why, shared);
        }
        return {};
    }
    return journal;
}

void TaskStore::tellNotApplied(const Message& why, const std::string& keptIn, const Message& notMoved) {
    const Message what =
        notice(QT_TRANSLATE_NOOP("TaskStore", "Changes recorded by an earlier run of Velloran were not "
                                              "applied, because %1. Tasks added, edited or deleted in that "
                                              "run after its last save are as they were before, and tasks "
                                              "that ran in it may run again."),
               {why});
    tell(notMoved.empty()
             ? notice(QT_TRANSLATE_NOOP("TaskStore", "%1\nThe changes are kept in \"%2\"."), {what, keptIn})
             : notice(QT_TRANSLATE_NOOP("TaskStore", "%1\nThe changes are still in \"%2\" (%3)."),
                      {what, keptIn, notMoved}));
}

void TaskStore::replayJournal() {
    const auto setAside = [&](const Message& why) {
        const Result<std::string> aside = journal_->setAside();
        // A journal that could not be moved is never written over: this run records nothing in its place.
        journalHeld_ = !aside;
        if (aside)
            tellNotApplied(why, *aside);
        else
            tellNotApplied(why, journal_->path(), aside.error());
    };
    JournalContents journal = journal_->read();
    if (!journal.exists)
        journal = takeSharedJournal();
    if (!journal.exists)
        return;
    if (!journal.error.empty())
        return setAside(
            notice(QT_TRANSLATE_NOOP("TaskStore", "they could not be read (%1)"), {journal.error}));
    if (!journal.headerRead) {
        // Nothing in it can be applied: a torn header recorded nothing, damage is kept and told.
        if (journal.damaged && !keepDamagedJournal(false))
            return;
        return journal_->drop();
    }
    const std::optional<std::size_t> from = journalStartFor(journal, known_, knownStamp_);
    if (!from)
        return setAside(
            notice(QT_TRANSLATE_NOOP("TaskStore", "\"%1\" has been replaced since"), {taskFile_}));
    TaskList replayed = tasks_;
    std::vector<JournalEntry> pending;
    for (std::size_t i = *from; i < journal.entries.size(); ++i) {
        const JournalEntry& entry = journal.entries[i];
        if (entry.kind == JournalEntry::Kind::Saving)
            continue;
        if (!applyJournalEntry(replayed, entry))
            return setAside(notice(QT_TRANSLATE_NOOP("TaskStore", "they do not fit \"%1\""), {taskFile_}));
        pending.push_back(entry);
    }
    // They stay in the journal until the program records them done: an alarm shown, a program told of.
    interrupted_ = interruptedOccurrences(journal.entries);
    if (journal.damaged && !keepDamagedJournal(!pending.empty())) {
        tasks_ = std::move(replayed);
        return;
    }
    if (pending.empty())
        return journal_->drop(); // all of it is in tasks.tsk already
    tasks_ = std::move(replayed);
    // A new journal holding the recovered entries, written whole before it replaces the old one, so that
    // nothing torn or damaged hides what is recorded next. Where the folder cannot take a new file, the
    // old journal, read whole and in this release's format, is written on behind its entries.
    journal_->begin(known_, pending);
    if (Result<void> synced = journal_->sync(); !synced) {
        Result<void> adopted = failure(synced.error());
        if (!journal.torn && !journal.damaged && !journal.earlierFormat)
            adopted = journal_->adopt(journal);
        if (!adopted)
            tellJournalFailure(adopted.error());
    }
    if (journal.damaged)
        return;
    // A close whose save failed leaves the journal as a crash does, and beside it a copy of the very list
    // recovered: then the save failed, the program did not.
    if (const std::string copy = copyOfFailedSave(); !copy.empty())
        return tell(information(
            QT_TRANSLATE_NOOP("TaskStore", "Your tasks could not be saved to \"%1\" when Velloran last ran. "
                                           "The changes made since they were last saved have been recovered "
                                           "and are saved at the next save; a copy of your tasks as they "
                                           "were then is in \"%2\"."),
            {taskFile_, copy}));
    tell(information(QT_TRANSLATE_NOOP("TaskStore",
                                       "Velloran did not end normally last time. The changes made to "
                                       "your tasks since they were last saved have been recovered.")));
}

std::vector<std::string> TaskStore::unsavedCopies() const {
    // tasks.tsk.unsaved, or tasks.tsk.unsaved-2 ... as saveBeside names them; dated ones are done with.
    const std::string folder = parentFolder(taskFile_);
    const std::string base = taskFile_.substr(taskFile_.find_last_of('/') + 1) + ".unsaved";
    std::vector<std::string> copies;
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return copies;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.compare(0, base.size(), base) != 0)
            continue;
        const std::string number = name.substr(base.size());
        const bool numbered = number.size() >= 2 && number.size() <= 4 && number[0] == '-' &&
                              number.find_first_not_of("0123456789", 1) == std::string::npos;
        if (number.empty() || numbered)
            copies.push_back(folder + "/" + name);
    }
    ::closedir(listing);
    return copies;
}

void TaskStore::tidyUnsavedCopies() {
    if (!knownStamp_.present)
        return;
    for (const std::string& copy : unsavedCopies()) {
        struct stat info {};
        if (::lstat(copy.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        const FileStamp stamp = stampOf(info);
        // Written before tasks.tsk was last saved: what it holds is out of date, and restoring from it
        // would bring back tasks deleted since. It keeps its date in its name and is no longer "unsaved".
        if (stamp.modified >= knownStamp_.modified)
            continue;
        const std::string dated = taskFile_ + ".unsaved" + dateSuffix(stamp.modified);
        std::string name = dated;
        for (int number = 2; stampOfPath(name).present && number < 1000; ++number)
            name = dated + "-" + std::to_string(number);
        if (stampOfPath(name).present || disk_->rename(copy, name) != 0)
            continue; // left as it is; the next start tries again
        disk_->syncFolder(parentFolder(name));
        tell(information(
            QT_TRANSLATE_NOOP("TaskStore",
                              "\"%1\" was written before your tasks were last saved, so it is out of "
                              "date: restoring from it would bring back tasks deleted since. It has "
                              "been renamed to \"%2\"."),
            {copy, name}));
    }
}

std::string TaskStore::copyOfFailedSave() const {
    const std::string recovered = taskFileBytes(tasks_);
    for (const std::string& copy : unsavedCopies()) {
        const FileStamp stamp = stampOfPath(copy);
        if (!stamp.present || (knownStamp_.present && stamp.modified < knownStamp_.modified))
            continue;
        TaskList held;
        if (loadTaskFile(copy, held).state == TaskFileState::Loaded && taskFileBytes(held) == recovered)
            return copy;
    }
    return {};
}

bool TaskStore::keepDamagedJournal(bool anyRecovered) {
    // Kept before anything is written over it, so that what could not be read is not lost; without a
    // copy it stays as it is, and this run records nothing in its place.
    const Result<std::string> kept = keepCopyOf(journal_->path(), journal_->path() + ".damaged", *disk_);
    journalHeld_ = !kept;
    const Message what =
        anyRecovered
            ? notice(QT_TRANSLATE_NOOP(
                  "TaskStore",
                  "Velloran did not end normally last time, and the record of the changes made to your "
                  "tasks since they were last saved is damaged. The changes recorded before the damage "
                  "have been recovered; those after it are lost: tasks added, edited or deleted then "
                  "are as they were before, and tasks that ran then may run again."))
            : notice(QT_TRANSLATE_NOOP(
                  "TaskStore",
                  "Velloran did not end normally last time, and the record of the changes made to your "
                  "tasks since they were last saved is damaged, so none of them could be recovered: "
                  "tasks added, edited or deleted since then are as they were at that save, and tasks "
                  "that ran since then may run again."));
    tell(kept
             ? notice(QT_TRANSLATE_NOOP("TaskStore", "%1\nThe damaged record \"%2\" is kept as \"%3\"."),
                      {what, journal_->path(), *kept})
             : notice(QT_TRANSLATE_NOOP("TaskStore", "%1\nNo copy of the damaged record \"%2\" could be kept "
                                                     "(%3); it is left as it is."),
                      {what, journal_->path(), kept.error()}));
    return !journalHeld_;
}

void TaskStore::record(const JournalEntry& entry) {
    if (changed_)
        changed_();
    // Nothing is recorded against a task file that could not be read: its journal is not this run's.
    if (!journal_ || fileUnreadable_ || journalHeld_)
        return;
    if (!journal_->active())
        journal_->begin(known_);
    journal_->record(entry);
}

void TaskStore::flushChanges() {
    if (!journal_ || !journal_->active())
        return;
    if (Result<void> synced = journal_->sync(); !synced)
        tellJournalFailure(synced.error());
}

void TaskStore::recordDue(std::size_t index) {
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Due;
    entry.record = tasks_[index];
    entry.taskId = entry.record.TaskId;
    entry.nextRun = entry.record.NextRun;
    record(entry);
}

void TaskStore::recordDone(std::uint32_t taskId, DateTime due) {
    record(doneEntry(taskId, due));
}

void TaskStore::tellJournalFailure(const Message& why) {
    if (journalFailureTold_)
        return;
    journalFailureTold_ = true;
    tell(
        notice(QT_TRANSLATE_NOOP("TaskStore", "Changes to your tasks cannot be recorded for recovery after a "
                                              "crash: %1.\nThey are kept when Velloran saves your tasks."),
               {why}));
}

std::uint32_t TaskStore::add(const Task& built, std::uint32_t unixSecondsNow) {
    const Task& added = tasks_.appendNew(built, unixSecondsNow);
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Append;
    entry.record = added;
    record(entry);
    flushChanges();
    return added.TaskId;
}

bool TaskStore::update(std::uint32_t taskId, const Task& built) {
    const auto index = tasks_.indexOf(taskId);
    if (!index)
        return false;
    Task& task = tasks_[*index];
    // The id, the reserved field and the place in the list stay the task's own.
    task.TaskType = built.TaskType;
    task.Target = built.Target;
    task.ExeArguments = built.ExeArguments;
    task.NextRun = built.NextRun;
    task.RepeatType = built.RepeatType;
    task.DayOfMonth = built.DayOfMonth;
    task.Description = built.Description;
    task.AlarmSound = built.AlarmSound;
    task.DayMask = built.DayMask;
    task.Flags = built.Flags;
    task.MemoFont = built.MemoFont;
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Replace;
    entry.index = static_cast<std::uint32_t>(*index);
    entry.taskId = taskId;
    entry.record = task;
    record(entry);
    flushChanges();
    return true;
}

bool TaskStore::remove(std::uint32_t taskId) {
    const auto index = tasks_.indexOf(taskId);
    if (!index)
        return false;
    removeAt(*index);
    flushChanges();
    return true;
}

bool TaskStore::toggleEnabled(std::uint32_t taskId) {
    const auto index = tasks_.indexOf(taskId);
    if (!index)
        return false;
    const Task& task = tasks_[*index];
    reschedule(*index, task.NextRun, task.Flags ^ kEnabled);
    flushChanges();
    return true;
}

void TaskStore::reschedule(std::size_t index, DateTime nextRun, std::uint32_t flags) {
    Task& task = tasks_[index];
    task.NextRun = nextRun;
    task.Flags = flags;
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Reschedule;
    entry.index = static_cast<std::uint32_t>(index);
    entry.taskId = task.TaskId;
    entry.nextRun = nextRun;
    entry.flags = flags;
    record(entry);
}

void TaskStore::removeAt(std::size_t index) {
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Remove;
    entry.index = static_cast<std::uint32_t>(index);
    entry.taskId = tasks_[index].TaskId;
    tasks_.removeAt(index);
    record(entry);
}

Result<void> TaskStore::save() {
    if (taskFile_.empty())
        return {};
    if (fileUnreadable_) {
        Result<void> saved = saveBeside();
        if (saved && !unsavedFile_.empty() && unsavedToldFor_ != unsavedFile_) {
            unsavedToldFor_ = unsavedFile_;
            tell(notice(QT_TRANSLATE_NOOP("TaskStore",
                                          "\"%1\" could not be read when Velloran started, so it is "
                                          "left as it was. Your tasks were saved to \"%2\"."),
                        {taskFile_, unsavedFile_}));
        }
        return saved;
    }
    keepReplacedFile();
    FileIdentity written;
    const auto markSaving = [this](const FileIdentity& next) -> Result<void> {
        if (!journal_)
            return {};
        return journal_->recordSaving(next);
    };
    if (Result<void> saved = saveTaskFile(taskFile_, tasks_, &written, *disk_, markSaving); !saved) {
        // The journal keeps the changes until a save succeeds; a copy the user can reach keeps the tasks.
        const Result<void> beside = saveBeside();
        if (tasks_.empty())
            return saved;
        if (beside)
            return failure(notice(QT_TRANSLATE_NOOP("TaskStore", "%1\nThey were saved to \"%2\"."),
                                  {saved.error(), unsavedFile_}));
        return failure(notice(QT_TRANSLATE_NOOP("TaskStore", "%1\nNor could they be saved beside it: %2"),
                              {saved.error(), beside.error()}));
    }
    known_ = written;
    knownStamp_ = stampOfPath(taskFile_);
    if (journal_ && !journalHeld_)
        journal_->drop();
    return {};
}

void TaskStore::keepReplacedFile() {
    struct stat info {};
    // Only a file holds tasks: whatever else stands there makes the save fail and is reported then.
    if (::stat(taskFile_.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || stampOf(info) == knownStamp_)
        return;
    // Touched or put back as it was: still the file this run knows.
    if (identityOfPath(taskFile_) == known_) {
        knownStamp_ = stampOf(info);
        return;
    }
    // Another program put a file there since this run read or wrote it: it is kept before it is replaced.
    const Result<std::string> kept = keepCopyOf(taskFile_, taskFile_ + ".replaced", *disk_);
    tell(kept ? notice(QT_TRANSLATE_NOOP("TaskStore",
                                         "\"%1\" was changed by another program while Velloran ran. "
                                         "That version is kept as \"%2\". Velloran's tasks were "
                                         "saved in its place."),
                       {taskFile_, *kept})
              : notice(QT_TRANSLATE_NOOP("TaskStore",
                                         "\"%1\" was changed by another program while Velloran ran. "
                                         "No copy of that version could be kept: %2. Velloran's "
                                         "tasks were saved in its place."),
                       {taskFile_, kept.error()}));
}

Result<void> TaskStore::saveBeside() {
    if (tasks_.empty())
        return {}; // nothing of this run to keep
    if (unsavedFile_.empty()) {
        // A name of this run's own: an earlier run's unsaved tasks are never written over.
        std::string name = taskFile_ + ".unsaved";
        for (int number = 2; stampOfPath(name).present && number < 1000; ++number)
            name = taskFile_ + ".unsaved-" + std::to_string(number);
        Result<void> saved = saveTaskFile(name, tasks_, nullptr, *disk_);
        if (saved)
            unsavedFile_ = name;
        return saved;
    }
    return saveTaskFile(unsavedFile_, tasks_, nullptr, *disk_);
}

std::vector<Message> TaskStore::takeNotices() {
    return std::exchange(notices_, {});
}

} // namespace velloran
