#include "task_file.h"

#include "platform/atomic_file.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace velloran {
namespace {

// Records moved per read or write call; large enough that big lists stream at disk speed.
constexpr std::size_t kRecordsPerChunk = 256;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

bool loadTaskFile(const std::string& path, TaskList& tasks) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rbe"));
    if (!file)
        return false;
    tasks.clear();
    std::vector<TaskRecord> chunk(kRecordsPerChunk);
    for (;;) {
        const std::size_t count = std::fread(chunk.data(), sizeof(TaskRecord), chunk.size(), file.get());
        for (std::size_t i = 0; i < count; ++i)
            tasks.appendLoaded(chunk[i]);
        if (count < chunk.size())
            break;
    }
    return true;
}

std::string saveTaskFile(const std::string& path, const TaskList& tasks) {
    if (tasks.empty())
        return removeFileIfPresent(path);
    AtomicFile file(path, 0644);
    if (!file.open())
        return file.error();
    std::vector<TaskRecord> chunk;
    chunk.reserve(kRecordsPerChunk);
    const auto flush = [&] {
        const bool ok = file.write(chunk.data(), chunk.size() * sizeof(TaskRecord));
        chunk.clear();
        return ok;
    };
    for (const TaskRecord& task : tasks) {
        chunk.push_back(task);
        if (chunk.size() == kRecordsPerChunk && !flush())
            return file.error();
    }
    if (!chunk.empty() && !flush())
        return file.error();
    if (!file.commit())
        return file.error();
    return {};
}

} // namespace velloran
