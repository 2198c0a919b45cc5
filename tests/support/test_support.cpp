#include "test_support.h"

#include "common/text.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran::test {

namespace {
constexpr uid_t kNobody = 65534;
}

DateTime at(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    DateTime date = 0;
    if (!tryEncodeDate(year, month, day, date))
        throw std::invalid_argument("invalid test date");
    return composeDateTime(date, encodeTime(hour, minute, second, millisecond));
}

Task makeTask(TaskKind kind, DateTime nextRun, RepeatKind repeat, std::uint32_t flags, std::uint8_t dayMask) {
    Task task;
    task.TaskType = kind;
    task.NextRun = nextRun;
    task.RepeatType = repeat;
    task.Flags = flags;
    task.DayMask = dayMask;
    task.DayOfMonth = static_cast<std::int8_t>(decodeDate(nextRun).day);
    task.Target = kind == kAlarmClock ? "Alarm Clock" : kind == kMemo ? "Memo" : "/tmp/target";
    return task;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velloran-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = name.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    // A test may have taken the write bit away; give it back so that the folder can go.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

WithoutRootRights::WithoutRootRights()
    : wasRoot_(geteuid() == 0), ok_(!wasRoot_ || (setegid(kNobody) == 0 && seteuid(kNobody) == 0)) {}

WithoutRootRights::~WithoutRootRights() {
    // A test that went on as root's stand-in would pass for the wrong reason: stop here instead.
    if (wasRoot_ && (seteuid(0) != 0 || setegid(0) != 0))
        std::abort();
}

bool withoutWriteAccess(const std::string& folder, const std::function<void()>& body) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders{folder};
    std::vector<std::string> everything{folder};
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        everything.push_back(entry.path().string());
        if (entry.is_directory())
            folders.push_back(entry.path().string());
    }
    if (geteuid() == 0)
        for (const std::string& path : everything)
            if (::chown(path.c_str(), kNobody, kNobody) != 0)
                return false;
    for (const std::string& path : folders)
        ::chmod(path.c_str(), 0555);
    bool dropped = false;
    {
        const WithoutRootRights ordinaryUser;
        dropped = ordinaryUser.ok();
        if (dropped)
            body();
    }
    for (const std::string& path : folders)
        ::chmod(path.c_str(), 0755);
    return dropped;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

bool fileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

namespace {

const std::string kEarlierRelease = VELLORAN_FIXTURES_DIR "/release-before/";

} // namespace

bool pointEarlierJournalAt(const std::string& taskFile, const std::string& journal) {
    std::string bytes = readFile(journal);
    struct stat info {};
    if (bytes.size() < 60 || bytes.compare(0, 8, "VLRNJ001") != 0 || ::stat(taskFile.c_str(), &info) != 0 ||
        readFile(taskFile) != readFile(kEarlierRelease + "tasks.tsk"))
        return false;
    // Its header: magic, present, device, inode, size, modified seconds and nanoseconds (8 bytes each),
    // then the FNV-1a checksum of all that.
    const auto put = [&bytes](std::size_t at, std::uint64_t value) {
        bytes.replace(at, 8, reinterpret_cast<const char*>(&value), 8);
    };
    put(16, info.st_dev + 1);
    put(24, info.st_ino);
    put(40, static_cast<std::uint64_t>(info.st_mtim.tv_sec));
    put(48, static_cast<std::uint64_t>(info.st_mtim.tv_nsec));
    std::uint32_t sum = 2166136261u;
    for (std::size_t i = 0; i < 56; ++i) {
        sum ^= static_cast<unsigned char>(bytes[i]);
        sum *= 16777619u;
    }
    bytes.replace(56, 4, reinterpret_cast<const char*>(&sum), 4);
    writeFile(journal, bytes);
    return true;
}

void placeEarlierJournal(const std::string& taskFile, const std::string& journal) {
    writeFile(taskFile, readFile(kEarlierRelease + "tasks.tsk"));
    std::filesystem::create_directories(std::filesystem::path(journal).parent_path());
    writeFile(journal, readFile(kEarlierRelease + "tasks.journal"));
    if (!pointEarlierJournalAt(taskFile, journal))
        throw std::runtime_error("cannot place the earlier release's journal");
}

} // namespace velloran::test
