#include "task_file.h"

#include "files/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran {
namespace {

// Records moved per read or write call: enough that big lists stream at disk speed, few enough (120 KB)
// that the buffer is taken from and given back to the heap rather than kept mapped after a save.
constexpr std::size_t kRecordsPerChunk = 32;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

TaskFileLoad unreadable(int errorNumber) {
    TaskFileLoad load;
    load.state = TaskFileState::Unreadable;
    load.reason = std::strerror(errorNumber);
    return load;
}

} // namespace

TaskFileLoad readTaskRecords(std::FILE* file, TaskList& tasks) {
    tasks.clear();
    // Bytes, not records: a short read must tell a partial last record from the end of the file.
    std::vector<char> buffer(kRecordsPerChunk * sizeof(TaskRecord));
    std::size_t held = 0;
    ContentChecksum content;
    for (;;) {
        const std::size_t got = std::fread(buffer.data() + held, 1, buffer.size() - held, file);
        content.add(buffer.data() + held, got);
        held += got;
        std::size_t used = 0;
        for (; held - used >= sizeof(TaskRecord); used += sizeof(TaskRecord)) {
            TaskRecord record;
            std::memcpy(&record, buffer.data() + used, sizeof record);
            tasks.appendLoaded(decodeTaskRecord(record));
        }
        std::memmove(buffer.data(), buffer.data() + used, held - used);
        held -= used;
        if (std::ferror(file)) {
            const int errorNumber = errno != 0 ? errno : EIO;
            tasks.clear();
            return unreadable(errorNumber);
        }
        if (got == 0 || std::feof(file))
            break;
    }
    TaskFileLoad load;
    load.state = held == 0 ? TaskFileState::Loaded : TaskFileState::PartialLastRecord;
    load.strayBytes = held;
    load.identity = identityOf(content);
    return load;
}

TaskFileLoad loadTaskFile(const std::string& path, TaskList& tasks) {
    tasks.clear();
    // Non-blocking, so that a pipe put in its place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        return unreadable(errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int errorNumber = errno;
        ::close(fd);
        return unreadable(errorNumber);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return unreadable(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    ::fcntl(fd, F_SETFL, 0);
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(fd, "rb"));
    if (!file) {
        const int errorNumber = errno;
        ::close(fd);
        return unreadable(errorNumber);
    }
    errno = 0;
    TaskFileLoad load = readTaskRecords(file.get(), tasks);
    load.stamp = stampOf(info);
    return load;
}

Result<void> saveTaskFile(const std::string& path, const TaskList& tasks, FileIdentity* written, Disk& disk,
                          const BeforeReplace& beforeReplace) {
    if (tasks.empty()) {
        if (beforeReplace) {
            if (Result<void> ready = beforeReplace(FileIdentity{}); !ready)
                return ready;
        }
        // A link's file goes and the link stays, for the next save to write through.
        Result<void> removed = removeFileIfPresent(writtenPath(path), disk);
        if (removed && written != nullptr)
            *written = FileIdentity{};
        return removed;
    }
    // Memo texts and program lines are the user's own: a new file is theirs alone, as the journal is.
    // A link to tasks.tsk (into a synchronised folder, say) is the user's way of keeping it elsewhere.
    AtomicFile file(path, 0600, disk, AtomicFile::LinkWrite::Through);
    if (Result<void> opened = file.open(); !opened)
        return opened;
    std::vector<TaskRecord> chunk(kRecordsPerChunk);
    std::size_t held = 0;
    const auto flush = [&] {
        Result<void> wrote = file.write(chunk.data(), held * sizeof(TaskRecord));
        held = 0;
        return wrote;
    };
    for (const Task& task : tasks) {
        encodeTaskRecord(task, chunk[held++]);
        if (held == kRecordsPerChunk) {
            if (Result<void> wrote = flush(); !wrote)
                return wrote;
        }
    }
    if (held != 0) {
        if (Result<void> wrote = flush(); !wrote)
            return wrote;
    }
    if (Result<void> flushed = file.flush(); !flushed)
        return flushed;
    if (beforeReplace) {
        if (Result<void> ready = beforeReplace(file.written()); !ready) {
            file.discard();
            return ready;
        }
    }
    if (Result<void> committed = file.commit(); !committed)
        return committed;
    if (written != nullptr)
        *written = file.written();
    return {};
}

std::string taskFileBytes(const TaskList& tasks) {
    std::string bytes;
    for (const Task& task : tasks) {
        TaskRecord record;
        encodeTaskRecord(task, record);
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    }
    return bytes;
}

} // namespace velloran
