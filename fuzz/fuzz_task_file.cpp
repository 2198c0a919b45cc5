// Arbitrary bytes as tasks.tsk, scanned at arbitrary times: nothing may crash, hang or run away.
#include "files/file_io.h"
#include "scheduler/due_scan.h"
#include "store/task_file.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace velloran;

namespace {

struct CountingSink : TaskActionSink {
    std::size_t runs = 0;
    void carryOut(const Task&, DateTime) override { ++runs; }
};

// A file in memory-backed /dev/shm where there is one: the file is rewritten on every input.
std::string scratchFile() {
    const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder + "/velloran-fuzz-" + std::to_string(getpid()) + ".tsk";
}

// The file's bytes, or none where it cannot be read.
std::string fileBytes(const std::string& path) {
    const Result<std::optional<std::string>> bytes = readWholeFile(path, std::string::npos);
    return bytes && *bytes ? **bytes : std::string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first eight bytes pick the moment of the scans; the rest is the file.
    double now = 40000.0;
    if (size >= sizeof now) {
        std::memcpy(&now, data, sizeof now);
        data += sizeof now;
        size -= sizeof now;
    }
    static const std::string path = scratchFile();
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    TaskList loaded;
    loadTaskFile(path, loaded);
    if (loaded.size() != size / sizeof(TaskRecord))
        __builtin_trap();
    // What a save writes loads back as the same tasks and saves as the same bytes.
    // Saves go to a scratch file in memory: one that fails is a finding, not a full disk.
    if (!saveTaskFile(path, loaded))
        __builtin_trap();
    const std::string saved = fileBytes(path);
    TaskList reloaded;
    loadTaskFile(path, reloaded);
    if (!saveTaskFile(path, reloaded))
        __builtin_trap();
    if (reloaded.size() != loaded.size() || fileBytes(path) != saved)
        __builtin_trap();
    TaskStore tasks(std::move(loaded));
    CountingSink sink;
    // Enough ticks for every task to catch up a few occurrences; each must end.
    for (int tick = 0; tick < 8; ++tick) {
        scanDueTasks(tasks, now, sink);
        now += 0.4;
    }
    if (!saveTaskFile(path, tasks.tasks()))
        __builtin_trap();
    return 0;
}
