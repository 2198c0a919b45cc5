#include "task_file_lock.h"

#include "file_io.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace velloran {
namespace {

std::string realPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

std::string lockPathFor(const std::string& taskFile) {
    if (const std::string target = realPath(taskFile); !target.empty())
        return target + ".lock";
    return taskFile + ".lock"; // no task file yet: the first save makes it here
}

} // namespace

TaskFileLock::TaskFileLock(const std::string& taskFile) : path_(lockPathFor(taskFile)) {}

Result<FileLock::State> TaskFileLock::tryLock(std::chrono::milliseconds waitWhileClosing,
                                              const LockPause& pause) {
    return lockOnceClosed(lock_, path_, FileLock::Sharing::LikeFolder, waitWhileClosing, pause);
}

} // namespace velloran
