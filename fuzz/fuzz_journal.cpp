// Arbitrary recovery journals against a small task list, read and replayed as a start-up does: nothing
// may crash or hang, no more changes are read than whole entries, and the store ends with either the
// task file as it was or the task file with a run of the journal's changes applied in order.
#include "files/file_io.h"
#include "store/task_journal.h"
#include "store/task_record.h"
#include "store/task_store.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace velloran;

namespace {

void emptyFolder(const std::string& folder);

// A folder in memory-backed /dev/shm where there is one: every input writes and replaces files. It goes
// when the run ends normally.
const std::string& scratchFolder() {
    // Never destroyed, so that it is still there for the removal at exit.
    static const std::string* const folder = [] {
        const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        auto* made = new std::string(base + "/velloran-fuzz-journal-" + std::to_string(getpid()));
        mkdir(made->c_str(), 0700);
        std::atexit([] {
            emptyFolder(scratchFolder());
            rmdir(scratchFolder().c_str());
        });
        return made;
    }();
    return *folder;
}

// A replay sets journals aside under new names: each input starts from an empty folder.
void emptyFolder(const std::string& folder) {
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                unlink((folder + "/" + entry->d_name).c_str());
        closedir(dir);
    }
}

void appendBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}

// Tasks are compared as the file holds them: a NaN NextRun from a journal is still the same task.
bool sameTasks(const TaskList& a, const TaskList& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        TaskRecord left, right;
        encodeTaskRecord(a[i], left);
        encodeTaskRecord(b[i], right);
        if (std::memcmp(&left, &right, sizeof left) != 0)
            return false;
    }
    return true;
}

// How many entries the bytes after the header could hold whole: a length, that many bytes and a
// checksum each. Whatever the reader makes of them, it can never find more.
std::size_t wholeFrames(const std::string& bytes, std::size_t from) {
    std::size_t frames = 0;
    while (bytes.size() - from >= 4) {
        std::uint32_t size;
        std::memcpy(&size, bytes.data() + from, 4);
        if (bytes.size() - from - 4 < std::size_t{size} + 4)
            break;
        from += 4 + std::size_t{size} + 4;
        ++frames;
    }
    return frames;
}

std::string fileBytes(const std::string& path);

// The size of the header a journal begins with, from one made for no task file.
std::size_t headerSizeOfAJournal() {
    static const std::size_t size = [] {
        const std::string path = scratchFolder() + "/header.journal";
        TaskJournal journal(path);
        journal.begin(FileIdentity{});
        if (!journal.sync())
            __builtin_trap();
        const std::size_t made = fileBytes(path).size();
        journal.drop();
        return made;
    }();
    return size;
}

// The file's bytes, or none where it cannot be read.
std::string fileBytes(const std::string& path) {
    const Result<std::optional<std::string>> bytes = readWholeFile(path, std::string::npos);
    return bytes && *bytes ? **bytes : std::string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first byte: how many tasks tasks.tsk holds, and whether the journal gets a true header for it
    // (so that its entries are replayed) or is the input bytes alone.
    const std::size_t taskCount = data[0] % 6;
    const bool trueHeader = (data[0] & 0x80) == 0;
    const std::uint8_t seed = data[1];
    data += 2;
    size -= 2;

    const std::string& folder = scratchFolder();
    headerSizeOfAJournal();
    emptyFolder(folder);
    const std::string taskFile = folder + "/tasks.tsk";
    const std::string journalFile = folder + "/tasks.journal";

    TaskList original;
    for (std::size_t i = 0; i < taskCount; ++i) {
        Task task;
        task.TaskId = 1000 + std::uint32_t(i);
        task.TaskType = std::uint8_t((seed + i) % 8);
        task.NextRun = 40000.0 + double(i);
        task.Flags = (seed >> i) & 1 ? 1u : 3u;
        task.Target = "target";
        original.appendLoaded(task);
    }
    if (taskCount > 0)
        if (!saveTaskFile(taskFile, original))
            __builtin_trap();

    const std::size_t headerSize = headerSizeOfAJournal();
    if (trueHeader) {
        TaskJournal header(journalFile);
        header.begin(identityOfPath(taskFile));
        if (!header.sync())
            __builtin_trap();
    }
    appendBytes(journalFile, data, size);

    // What the reader finds, and the list with each of its entries applied in turn while they fit.
    const JournalContents read = TaskJournal(journalFile).read();
    const std::string bytes = fileBytes(journalFile);
    // The earlier release's journals have a longer header.
    const std::size_t entriesFrom = bytes.compare(0, 8, "VLRNJ001") == 0 ? 60 : headerSize;
    if (read.entries.size() > wholeFrames(bytes, std::min(bytes.size(), entriesFrom)))
        __builtin_trap();
    std::vector<TaskList> steps{original};
    for (const JournalEntry& entry : read.entries) {
        TaskList next = steps.back();
        if (!applyJournalEntry(next, entry))
            break;
        steps.push_back(std::move(next));
    }
    if (steps.size() > read.entries.size() + 1)
        __builtin_trap();

    // The start-up's replay: the tasks it ends with are the file's, with no change or with some run of
    // the journal's changes in their order; never a change that no whole entry holds.
    TaskStore store(taskFile, journalFile);
    store.open();
    bool matched = false;
    for (const TaskList& step : steps)
        matched = matched || sameTasks(store.tasks(), step);
    if (!matched)
        __builtin_trap();
    store.takeNotices();
    return 0;
}
