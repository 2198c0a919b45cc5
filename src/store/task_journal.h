// The recovery journal: every change made to the task list between two saves of tasks.tsk, written down
// durably the moment it is made, with the identity of the tasks.tsk it applies to. A run that ends
// without its save (a crash, a kill, a power cut) loses none of them: the next start replays them.
#pragma once

#include "files/file_identity.h"
#include "task_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velloran {

struct JournalEntry {
    enum class Kind : std::uint8_t {
        Append = 1,     // a new task, whole
        Replace = 2,    // the task at index, whole, after an edit
        Reschedule = 3, // the task at index has a new NextRun and Flags
        Remove = 4,     // the task at index is gone
    };
    Kind kind = Kind::Append;
    std::uint32_t index = 0;  // the task's place in the list when the change was made
    std::uint32_t taskId = 0; // its id, to check that the place still holds it
    DateTime nextRun = 0;
    std::uint32_t flags = 0;
    Task record; // Append and Replace
};

// Makes the same change to a list; false when the list does not hold the task where the entry says.
bool applyJournalEntry(TaskList& tasks, const JournalEntry& entry);

struct JournalContents {
    bool exists = false;
    FileIdentity base; // the tasks.tsk the entries apply to
    std::vector<JournalEntry> entries;
    bool damaged = false; // a part could not be read (a crash while recording): only what came before counts
    std::string error;    // it is there but could not be read at all
};

class TaskJournal {
public:
    explicit TaskJournal(std::string path) : path_(std::move(path)) {}
    ~TaskJournal();
    TaskJournal(const TaskJournal&) = delete;
    TaskJournal& operator=(const TaskJournal&) = delete;

    const std::string& path() const { return path_; }
    JournalContents read() const;

    // Begins a new journal for the task file as it is now (its folder is made 0700, the file 0600).
    bool start(const FileIdentity& base);
    // Goes on recording behind what an earlier run recorded, for the same task file.
    bool resume();
    bool active() const { return fd_ >= 0; }

    // Buffers an entry; sync() writes what is buffered and waits until it is on the disk.
    void record(const JournalEntry& entry);
    bool sync();

    // After a save of the task file: the entries are in it now.
    void drop();
    // Moves a journal that belongs to another task file out of the way; returns its new name.
    std::string setAside(std::string& error);

    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& what, int errorNumber);
    void closeFile();

    std::string path_;
    int fd_ = -1;
    std::string pending_;
    std::string error_;
};

} // namespace velloran
