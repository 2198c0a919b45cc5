#include "task_journal.h"

#include "files/atomic_file.h"
#include "files/file_io.h"
#include "task_record.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

// "VLRNJ" and a format number; a header of a different kind is not this program's journal. Format 2
// knows tasks.tsk by its size and checksum.
constexpr char kMagic[8] = {'V', 'L', 'R', 'N', 'J', '0', '0', '2'};
constexpr std::size_t kHeaderSize = sizeof kMagic + 3 * 8 + 4;
// Format 1, which earlier releases wrote, knew it by device, inode, size and modification time (seconds
// and nanoseconds); its entries are framed and encoded as format 2's.
constexpr char kEarlierMagic[8] = {'V', 'L', 'R', 'N', 'J', '0', '0', '1'};
constexpr std::size_t kEarlierHeaderSize = sizeof kEarlierMagic + 6 * 8 + 4;
// What both begin with.
constexpr std::size_t kMagicStem = 7;
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

void putIdentity(std::string& out, const FileIdentity& identity) {
    put<std::uint64_t>(out, identity.present ? 1 : 0);
    put(out, identity.size);
    put(out, identity.checksum);
}

std::string header(const FileIdentity& base) {
    std::string out(kMagic, sizeof kMagic);
    putIdentity(out, base);
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
    case JournalEntry::Kind::Saving:
        putIdentity(out, entry.saved);
        break;
    case JournalEntry::Kind::Due:
        appendRecord(out, entry.record);
        break;
    case JournalEntry::Kind::Done:
        put(out, entry.taskId);
        put(out, entry.nextRun);
        break;
    }
    return out;
}

void appendFramed(std::string& out, const JournalEntry& entry) {
    const std::string payload = payloadOf(entry);
    put(out, static_cast<std::uint32_t>(payload.size()));
    out += payload;
    put(out, checksum(payload.data(), payload.size()));
}

bool allZero(const std::string& bytes, std::size_t from) {
    return bytes.find_first_not_of('\0', from) == std::string::npos;
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
    case JournalEntry::Kind::Due:
        if (entry.kind == JournalEntry::Kind::Replace && !in.get(entry.index))
            return false;
        if (in.left() < sizeof(TaskRecord))
            return false;
        entry.record = readRecord(bytes.data() + in.at());
        in.skip(sizeof(TaskRecord));
        entry.taskId = entry.record.TaskId;
        entry.nextRun = entry.record.NextRun;
        break;
    case JournalEntry::Kind::Reschedule:
        if (!in.get(entry.index) || !in.get(entry.taskId) || !in.get(entry.nextRun) || !in.get(entry.flags))
            return false;
        break;
    case JournalEntry::Kind::Remove:
        if (!in.get(entry.index) || !in.get(entry.taskId))
            return false;
        break;
    case JournalEntry::Kind::Done:
        if (!in.get(entry.taskId) || !in.get(entry.nextRun))
            return false;
        break;
    case JournalEntry::Kind::Saving: {
        std::uint64_t present = 0;
        if (!in.get(present) || present > 1 || !in.get(entry.saved.size) || !in.get(entry.saved.checksum))
            return false;
        entry.saved.present = present == 1;
        break;
    }
    default:
        return false;
    }
    return in.at() == from + size;
}

} // namespace

bool applyJournalEntry(TaskList& tasks, const JournalEntry& entry) {
    if (entry.kind == JournalEntry::Kind::Saving || entry.kind == JournalEntry::Kind::Due ||
        entry.kind == JournalEntry::Kind::Done)
        return true;
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

namespace {

// Reads the header; false when it is not whole or not sound. in is left behind it.
bool parseHeader(const std::string& bytes, Reader& in, JournalContents& contents) {
    const bool earlier = std::memcmp(bytes.data(), kEarlierMagic, sizeof kEarlierMagic) == 0;
    const std::size_t size = earlier ? kEarlierHeaderSize : kHeaderSize;
    std::uint64_t present = 0;
    std::uint32_t sum = 0;
    in.get(present);
    if (earlier) {
        std::uint64_t device = 0;
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        in.get(device);
        in.get(contents.earlierBase.inode);
        in.get(contents.earlierBase.size);
        in.get(seconds);
        in.get(nanoseconds);
        contents.earlierBase.modified = seconds * 1000000000 + nanoseconds;
        contents.earlierBase.present = present == 1;
    } else {
        in.get(contents.base.size);
        in.get(contents.base.checksum);
        contents.base.present = present == 1;
    }
    in.get(sum);
    contents.earlierFormat = earlier;
    return present <= 1 && sum == checksum(bytes.data(), size - 4);
}

} // namespace

JournalContents parseJournal(const std::string& bytes) {
    JournalContents contents;
    contents.exists = true;
    const bool current =
        bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
    const bool earlier = bytes.size() >= sizeof kEarlierMagic &&
                         std::memcmp(bytes.data(), kEarlierMagic, sizeof kEarlierMagic) == 0;
    const std::size_t headerSize = earlier ? kEarlierHeaderSize : kHeaderSize;
    if (bytes.size() < headerSize) {
        // A header cut off while it was written records nothing yet.
        const bool ours =
            current || earlier || std::memcmp(bytes.data(), kMagic, std::min(bytes.size(), kMagicStem)) == 0;
        (ours ? contents.torn : contents.damaged) = true;
        return contents;
    }
    if (!current && !earlier) {
        contents.damaged = true;
        return contents;
    }
    Reader in(bytes, sizeof kMagic);
    if (!parseHeader(bytes, in, contents)) {
        JournalContents unsound;
        unsound.exists = true;
        unsound.damaged = true;
        return unsound;
    }
    contents.headerRead = true;
    while (in.left() > 0) {
        const std::size_t start = in.at();
        std::uint32_t size = 0;
        std::uint32_t sum = 0;
        const bool lengthRead = in.get(size);
        const bool sized = lengthRead && size > 0 && size <= kLargestPayload;
        // What a crash while appending leaves: the beginning of the last entry, or zeros to the end.
        const bool last = !lengthRead || (sized && in.left() <= std::size_t{size} + 4);
        bool whole = sized && in.left() >= std::size_t{size} + 4;
        JournalEntry entry;
        if (whole) {
            const std::size_t payload = in.at();
            in.skip(size);
            in.get(sum);
            whole =
                sum == checksum(bytes.data() + payload, size) && parsePayload(bytes, payload, size, entry);
        }
        if (!whole) {
            (last || allZero(bytes, start) ? contents.torn : contents.damaged) = true;
            break;
        }
        contents.entries.push_back(entry);
    }
    return contents;
}

std::optional<std::size_t> journalStartFor(const JournalContents& contents, const FileIdentity& identity,
                                           const FileStamp& stamp) {
    std::optional<std::size_t> from;
    if (contents.earlierFormat) {
        const FileStamp& base = contents.earlierBase;
        if (base.present == stamp.present &&
            (!base.present ||
             (base.inode == stamp.inode && base.size == stamp.size && base.modified == stamp.modified)))
            from = 0;
    } else if (contents.base == identity) {
        from = 0;
    }
    // The entries still to apply begin behind the last save that made tasks.tsk what it is now.
    for (std::size_t i = 0; i < contents.entries.size(); ++i)
        if (contents.entries[i].kind == JournalEntry::Kind::Saving && contents.entries[i].saved == identity)
            from = i + 1;
    return from;
}

std::string journalPathFor(const std::string& taskFile, const std::string& folder) {
    // The folder's real path, so that a task file reached by two paths keeps one journal; the name of
    // the file itself as it is, so that making tasks.tsk a link does not lose its journal.
    const std::string taskFolder = parentFolder(taskFile);
    std::string full;
    if (char* real = ::realpath(taskFolder.c_str(), nullptr); real != nullptr) {
        full = real;
        std::free(real);
    } else {
        full = taskFolder;
    }
    const auto slash = taskFile.find_last_of('/');
    full += "/" + (slash == std::string::npos ? taskFile : taskFile.substr(slash + 1));
    // FNV-1a in 64 bits: two task files of one user never meet by chance.
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : full) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211u;
    }
    char name[40];
    std::snprintf(name, sizeof name, "tasks-%016llx.journal", static_cast<unsigned long long>(hash));
    return (folder.empty() || folder.back() == '/' ? folder : folder + "/") + name;
}

JournalContents TaskJournal::read() const {
    JournalContents contents;
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return contents; // no journal, or not even its folder
    // A journal holds at most the changes of one run; a larger file is not one of ours.
    const Result<std::optional<std::string>> bytes = readWholeFile(path_, std::size_t{1} << 30);
    if (!bytes) {
        contents.exists = true;
        contents.error = bytes.error();
        return contents;
    }
    if (!*bytes)
        return contents;
    return parseJournal(**bytes);
}

void TaskJournal::begin(const FileIdentity& base, const std::vector<JournalEntry>& entries) {
    closeFile();
    begun_ = true;
    content_ = header(base);
    for (const JournalEntry& entry : entries)
        appendFramed(content_, entry);
    durable_ = 0;
}

Result<void> TaskJournal::adopt(const JournalContents& contents) {
    begin(contents.base, contents.entries);
    onDisk_ = true;
    fd_ = disk_.openForWriting(path_, O_WRONLY | O_APPEND, 0);
    // What a crashed run wrote may not have reached the disk yet: it does before anything relies on it.
    if (fd_ < 0 || disk_.fdatasync(fd_) != 0)
        return fail(errno);
    durable_ = content_.size();
    return {};
}

void TaskJournal::record(const JournalEntry& entry) {
    appendFramed(content_, entry);
}

Result<void> TaskJournal::sync() {
    if (!begun_)
        return {};
    if (fd_ < 0)
        return restate();
    if (durable_ == content_.size())
        return {};
    if (!writeAll(disk_, fd_, content_.data() + durable_, content_.size() - durable_) ||
        disk_.fdatasync(fd_) != 0)
        return fail(errno);
    durable_ = content_.size();
    return {};
}

Result<void> TaskJournal::restate() {
    if (Result<void> made = makeFolders(parentFolder(path_), 0700, disk_); !made)
        return made;
    // Whole or not at all: the old journal stays until the new one, holding all it held, replaces it.
    if (Result<void> written = writeFileAtomically(path_, content_, 0600, disk_); !written)
        return written;
    onDisk_ = true;
    fd_ = disk_.openForWriting(path_, O_WRONLY | O_APPEND, 0);
    if (fd_ < 0)
        return fail(errno);
    durable_ = content_.size();
    return {};
}

Result<void> TaskJournal::recordSaving(const FileIdentity& next) {
    if (!begun_ || !onDisk_)
        return {}; // no journal on the disk that a start could take for this run's
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Saving;
    entry.saved = next;
    record(entry);
    // A failed append closes the journal; the second try restates it whole in a new file, which a full
    // or failing disk may still take.
    if (Result<void> synced = sync(); synced)
        return synced;
    return sync();
}

void TaskJournal::drop() {
    closeFile();
    disk_.unlink(path_);
    begun_ = false;
    onDisk_ = false;
    content_.clear();
    durable_ = 0;
}

Result<std::string> TaskJournal::setAside() {
    closeFile();
    begun_ = false;
    onDisk_ = false;
    content_.clear();
    for (int number = 1; number < 1000; ++number) {
        const std::string name = path_ + ".unmatched" + (number == 1 ? "" : "-" + std::to_string(number));
        // link and unlink, not rename: rename would replace a journal set aside before.
        if (disk_.link(path_, name) == 0) {
            disk_.unlink(path_);
            disk_.syncFolder(parentFolder(path_));
            return name;
        }
        if (errno != EEXIST)
            return failure(std::string(std::strerror(errno)));
    }
    return failure(std::string(std::strerror(EEXIST)));
}

Failure<Message> TaskJournal::fail(int errorNumber) {
    closeFile();
    return failure(describeFileError(QT_TRANSLATE_NOOP("Files", "Cannot record changes in \"%1\": %2"), path_,
                                     errorNumber));
}

void TaskJournal::closeFile() {
    if (fd_ >= 0) {
        disk_.close(fd_);
        fd_ = -1;
    }
}

} // namespace velloran
