#include "task_journal.h"

#include "files/atomic_file.h"
#include "files/file_io.h"
#include "task_record.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

// "VLRNJ" and a format number; a header of a different kind is not this program's journal.
constexpr char kMagic[8] = {'V', 'L', 'R', 'N', 'J', '0', '0', '1'};
constexpr std::size_t kHeaderSize = sizeof kMagic + 8 + 5 * 8 + 4;
// No entry is larger than a kind, an index and a whole record.
constexpr std::size_t kLargestPayload = 1 + 4 + sizeof(TaskRecord);

// FNV-1a: enough to tell a torn or damaged entry from a whole one.
std::uint32_t checksum(const char* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= 16777619u;
    }
    return hash;
}

template <typename T> void put(std::string& out, T value) {
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof value);
}

class Reader {
public:
    Reader(const std::string& bytes, std::size_t from) : bytes_(bytes), at_(from) {}
    template <typename T> bool get(T& value) {
        if (bytes_.size() - at_ < sizeof value)
            return false;
        std::memcpy(&value, bytes_.data() + at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    std::size_t at() const { return at_; }
    std::size_t left() const { return bytes_.size() - at_; }
    void skip(std::size_t count) { at_ += count; }

private:
    const std::string& bytes_;
    std::size_t at_;
};

std::string header(const FileIdentity& base) {
    std::string out(kMagic, sizeof kMagic);
    put<std::uint64_t>(out, base.present ? 1 : 0);
    put(out, base.device);
    put(out, base.inode);
    put(out, base.size);
    put(out, base.modifiedSeconds);
    put(out, base.modifiedNanoseconds);
    put(out, checksum(out.data(), out.size()));
    return out;
}

// A whole task goes in as its record, as tasks.tsk holds it.
void appendRecord(std::string& out, const Task& task) {
    TaskRecord record;
    encodeTaskRecord(task, record);
    out.append(reinterpret_cast<const char*>(&record), sizeof record);
}

Task readRecord(const char* bytes) {
    TaskRecord record;
    std::memcpy(&record, bytes, sizeof record);
    return decodeTaskRecord(record);
}

std::string payloadOf(const JournalEntry& entry) {
    std::string out;
    put(out, static_cast<std::uint8_t>(entry.kind));
    switch (entry.kind) {
    case JournalEntry::Kind::Append:
        appendRecord(out, entry.record);
        break;
    case JournalEntry::Kind::Replace:
        put(out, entry.index);
        appendRecord(out, entry.record);
        break;
    case JournalEntry::Kind::Reschedule:
        put(out, entry.index);
        put(out, entry.taskId);
        put(out, entry.nextRun);
        put(out, entry.flags);
        break;
    case JournalEntry::Kind::Remove:
        put(out, entry.index);
        put(out, entry.taskId);
        break;
    }
    return out;
}

bool parsePayload(const std::string& bytes, std::size_t from, std::size_t size, JournalEntry& entry) {
    Reader in(bytes, from);
    std::uint8_t kind = 0;
    in.get(kind);
    entry = JournalEntry{};
    entry.kind = static_cast<JournalEntry::Kind>(kind);
    switch (entry.kind) {
    case JournalEntry::Kind::Append:
    case JournalEntry::Kind::Replace:
        if (entry.kind == JournalEntry::Kind::Replace && !in.get(entry.index))
            return false;
        if (in.left() < sizeof(TaskRecord))
            return false;
        entry.record = readRecord(bytes.data() + in.at());
        in.skip(sizeof(TaskRecord));
        entry.taskId = entry.record.TaskId;
        break;
    case JournalEntry::Kind::Reschedule:
        if (!in.get(entry.index) || !in.get(entry.taskId) || !in.get(entry.nextRun) || !in.get(entry.flags))
            return false;
        break;
    case JournalEntry::Kind::Remove:
        if (!in.get(entry.index) || !in.get(entry.taskId))
            return false;
        break;
    default:
        return false;
    }
    return in.at() == from + size;
}

} // namespace

bool applyJournalEntry(TaskList& tasks, const JournalEntry& entry) {
    if (entry.kind == JournalEntry::Kind::Append) {
        tasks.appendLoaded(entry.record);
        return true;
    }
    if (entry.index >= tasks.size() || tasks[entry.index].TaskId != entry.taskId)
        return false;
    Task& task = tasks[entry.index];
    switch (entry.kind) {
    case JournalEntry::Kind::Replace:
        task = entry.record;
        return true;
    case JournalEntry::Kind::Reschedule:
        task.NextRun = entry.nextRun;
        task.Flags = entry.flags;
        return true;
    case JournalEntry::Kind::Remove:
        tasks.removeAt(entry.index);
        return true;
    default:
        return false;
    }
}

TaskJournal::~TaskJournal() {
    closeFile();
}

JournalContents TaskJournal::read() const {
    JournalContents contents;
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return contents; // no journal, or not even its folder
    std::string bytes;
    std::string error;
    // A journal holds at most the changes of one run; a larger file is not one of ours.
    switch (readWholeFile(path_, std::size_t{1} << 30, bytes, error)) {
    case FileRead::Missing:
        return contents;
    case FileRead::Failed:
        contents.exists = true;
        contents.error = error;
        return contents;
    case FileRead::Read:
        break;
    }
    contents.exists = true;
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        contents.damaged = true;
        return contents;
    }
    Reader in(bytes, sizeof kMagic);
    std::uint64_t present = 0;
    std::uint32_t sum = 0;
    in.get(present);
    in.get(contents.base.device);
    in.get(contents.base.inode);
    in.get(contents.base.size);
    in.get(contents.base.modifiedSeconds);
    in.get(contents.base.modifiedNanoseconds);
    in.get(sum);
    contents.base.present = present != 0;
    if (sum != checksum(bytes.data(), kHeaderSize - 4)) {
        contents.damaged = true;
        contents.base = {};
        return contents;
    }
    while (in.left() > 0) {
        std::uint32_t size = 0;
        if (!in.get(size) || size > kLargestPayload || in.left() < std::size_t{size} + 4) {
            contents.damaged = true;
            break;
        }
        const std::size_t start = in.at();
        in.skip(size);
        in.get(sum);
        JournalEntry entry;
        if (sum != checksum(bytes.data() + start, size) || !parsePayload(bytes, start, size, entry)) {
            contents.damaged = true;
            break;
        }
        contents.entries.push_back(entry);
    }
    return contents;
}

bool TaskJournal::start(const FileIdentity& base) {
    closeFile();
    pending_.clear();
    const std::string folderError = makeFolders(parentFolder(path_), 0700);
    if (!folderError.empty()) {
        error_ = folderError;
        return false;
    }
    // The header is written whole or not at all, so that a new journal never looks torn.
    const std::string error = writeFileAtomically(path_, header(base), 0600);
    if (!error.empty()) {
        error_ = error;
        return false;
    }
    return resume();
}

bool TaskJournal::resume() {
    closeFile();
    fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd_ < 0)
        return fail("Cannot record changes in", errno);
    return true;
}

void TaskJournal::record(const JournalEntry& entry) {
    const std::string payload = payloadOf(entry);
    put(pending_, static_cast<std::uint32_t>(payload.size()));
    pending_ += payload;
    put(pending_, checksum(payload.data(), payload.size()));
}

bool TaskJournal::sync() {
    if (pending_.empty())
        return true;
    if (fd_ < 0)
        return false;
    const char* data = pending_.data();
    std::size_t left = pending_.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return fail("Cannot record changes in", errno);
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    pending_.clear();
    if (::fdatasync(fd_) != 0)
        return fail("Cannot record changes in", errno);
    return true;
}

void TaskJournal::drop() {
    closeFile();
    pending_.clear();
    ::unlink(path_.c_str());
}

std::string TaskJournal::setAside(std::string& error) {
    closeFile();
    pending_.clear();
    for (int number = 1; number < 1000; ++number) {
        const std::string name = path_ + ".unmatched" + (number == 1 ? "" : "-" + std::to_string(number));
        // link and unlink, not rename: rename would replace a journal set aside before.
        if (::link(path_.c_str(), name.c_str()) == 0) {
            ::unlink(path_.c_str());
            return name;
        }
        if (errno != EEXIST) {
            error = std::strerror(errno);
            return {};
        }
    }
    error = std::strerror(EEXIST);
    return {};
}

bool TaskJournal::fail(const std::string& what, int errorNumber) {
    error_ = describeFileError(what, path_, errorNumber);
    closeFile();
    pending_.clear();
    return false;
}

void TaskJournal::closeFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace velloran
