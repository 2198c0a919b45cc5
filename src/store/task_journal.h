// The recovery journal: every change made to the task list between two saves of tasks.tsk, written down
// durably the moment it is made, with the identity of the tasks.tsk it applies to. A run that ends
// without its save (a crash, a kill, a power cut) loses none of them: the next start replays them.
// Before a save replaces tasks.tsk, the journal names the file about to take its place, so that a start
// that finds that file knows the journal is in it.
#pragma once

#include "files/disk.h"
#include "files/file_identity.h"
#include "task_list.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velloran {

struct JournalEntry {
    enum class Kind : std::uint8_t {
        Append = 1,     // a new task, whole
        Replace = 2,    // the task at index, whole, after an edit
        Reschedule = 3, // the task at index has a new NextRun and Flags
        Remove = 4,     // the task at index is gone
        Saving = 5,     // a save is about to make tasks.tsk the file named by saved
        // An occurrence of the task fell due and is about to run: the task as it fell due (its NextRun is
        // the occurrence), recorded before it moves on.
        Due = 6,
        // The occurrence of taskId at nextRun was carried out: its window is on the screen, or its
        // target was handed to the system.
        Done = 7,
    };
    Kind kind = Kind::Append;
    std::uint32_t index = 0;  // the task's place in the list when the change was made
    std::uint32_t taskId = 0; // its id, to check that the place still holds it
    DateTime nextRun = 0;
    std::uint32_t flags = 0;
    Task record;        // Append, Replace and Due
    FileIdentity saved; // Saving
};

// Makes the same change to a list; false when the list does not hold the task where the entry says.
// Saving, Due and Done entries change nothing.
bool applyJournalEntry(TaskList& tasks, const JournalEntry& entry);

struct JournalContents {
    bool exists = false;
    bool headerRead = false; // false: nothing in it can be trusted, not even which file it belongs to
    FileIdentity base;       // the tasks.tsk the entries apply to
    // Written by an earlier release, which knew tasks.tsk by what the system showed of it: its inode,
    // size and modification time (its device number, which a reboot may change, is not used). base is
    // then unknown.
    bool earlierFormat = false;
    FileStamp earlierBase;
    std::vector<JournalEntry> entries; // the whole entries, up to a torn or damaged part
    bool torn = false;    // it ends in part of an entry: a crash while recording; what came before counts
    bool damaged = false; // a part that is not a torn end could not be read; what came after it is lost
    Message error;        // it is there but could not be read at all
};

// What a journal's bytes hold.
JournalContents parseJournal(const std::string& bytes);

// Whether the journal's entries, from the first or from behind one of its Saving entries, apply to
// tasks.tsk as it was read (identity and stamp); the place where they begin, or nothing.
std::optional<std::size_t> journalStartFor(const JournalContents& contents, const FileIdentity& identity,
                                           const FileStamp& stamp);

// The journal of the task file at taskFile, in folder: named after the task file's full path, so that
// two copies of the program, each with its own task file, never take each other's journal.
std::string journalPathFor(const std::string& taskFile, const std::string& folder);
// The one name that earlier releases gave the journal of whichever task file they ran.
inline constexpr const char* kSharedJournalName = "tasks.journal";

class TaskJournal {
public:
    explicit TaskJournal(std::string path, Disk& disk = systemDisk()) : path_(std::move(path)), disk_(disk) {}
    ~TaskJournal();
    TaskJournal(const TaskJournal&) = delete;
    TaskJournal& operator=(const TaskJournal&) = delete;

    const std::string& path() const { return path_; }
    JournalContents read() const;

    // Begins a journal for the task file as it is now, holding the given entries first. Nothing reaches
    // the disk before sync(), which writes the journal whole to a temporary and renames it over the old
    // one: an old journal is never replaced by one that holds less.
    void begin(const FileIdentity& base, const std::vector<JournalEntry>& entries = {});
    // Goes on recording behind a journal that was read whole (nothing torn or damaged in it); false when
    // it cannot be opened, and then the next sync() writes it whole again.
    Result<void> adopt(const JournalContents& contents);
    bool active() const { return begun_; }

    // Buffers an entry; sync() writes what is buffered and waits until it is on the disk. After a failed
    // write the next sync() restates the whole journal, so that no torn entry hides the ones behind it.
    void record(const JournalEntry& entry);
    Result<void> sync();

    // Before a save replaces tasks.tsk with the file next: recorded durably where a journal is on the disk.
    // Fails when it cannot be: the save must not go on, or the next start would take the new tasks.tsk
    // for one put there by another program.
    Result<void> recordSaving(const FileIdentity& next);
    // After a save of the task file: the entries are in it now.
    void drop();
    // Moves a journal that belongs to another task file out of the way; returns its new name.
    Result<std::string> setAside();

private:
    Result<void> restate();
    Failure<Message> fail(int errorNumber);
    void closeFile();

    std::string path_;
    Disk& disk_;
    bool begun_ = false;
    bool onDisk_ = false;     // a journal of this run's, or one adopted, may be on the disk
    std::string content_;     // the whole journal as it should be on the disk
    std::size_t durable_ = 0; // how much of it is there, when fd_ is open
    int fd_ = -1;
};

} // namespace velloran
