// Building blocks that both test suites share: dates, tasks, temporary folders, files and running with
// an ordinary user's rights. No test framework here: the helpers report through their results.
#pragma once

#include "common/result.h"
#include "store/task_list.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

// What a message or a failed operation tells the user, as the whole English text; "" for success. Tests
// compare the full texts: EXPECT_EQ(registry.writeText(...), "Failed to set data for 'x'").
inline std::string told(const Message& message) {
    return message.english();
}
inline std::vector<std::string> told(const std::vector<Message>& messages) {
    std::vector<std::string> texts;
    for (const Message& message : messages)
        texts.push_back(message.english());
    return texts;
}
template <typename T> std::string told(const Result<T>& result) {
    return result ? std::string() : result.error().english();
}
inline bool operator==(const Message& message, std::string_view text) {
    return message.english().compare(text) == 0;
}
inline bool operator==(const Result<void>& result, std::string_view text) {
    return told(result).compare(text) == 0;
}
// A text read through a result, or the failure it told, for comparing in one line.
inline std::string textOf(const Result<std::string>& result) {
    return result ? *result : "failed: " + result.error().english();
}
inline void PrintTo(const Message& message, std::ostream* out) {
    *out << '"' << message.english() << '"';
}
template <typename T> void PrintTo(const Result<T>& result, std::ostream* out) {
    *out << (result ? "success" : '"' + result.error().english() + '"');
}

} // namespace velloran

namespace velloran::test {

// A local date-time built from its parts; throws when the date is not valid.
DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0);

// An enabled task due at nextRun, with a target that suits its kind.
Task makeTask(TaskKind kind, DateTime nextRun, RepeatKind repeat = kOnce, std::uint32_t flags = kEnabled,
              std::uint8_t dayMask = kEveryDay);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Root may read and write anywhere: while alive, this acts with the rights of "nobody" instead.
// ok() is false when the rights could not be given up.
class WithoutRootRights {
public:
    WithoutRootRights();
    ~WithoutRootRights();
    WithoutRootRights(const WithoutRootRights&) = delete;
    WithoutRootRights& operator=(const WithoutRootRights&) = delete;

    bool ok() const { return ok_; }

private:
    bool wasRoot_;
    bool ok_;
};

// Runs body where the folder tree cannot be written: its folders read-only and, for root, handed to
// "nobody" whose rights the body runs with. False when that could not be arranged.
bool withoutWriteAccess(const std::string& folder, const std::function<void()>& body);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);

// The store's whole notice for the changes of an earlier run that were set aside: why, then where they are.
inline std::string notAppliedNotice(const std::string& why, const std::string& where) {
    return "Changes recorded by an earlier run of Velloran were not applied, because " + why +
           ". Tasks added, edited or deleted in that run after its last save are as they were before, and "
           "tasks that ran in it may run again.\n" +
           where;
}

// What a run of the release before left when it was killed (tests/fixtures/release-before): its tasks.tsk
// copied to taskFile and its journal to journal, pointed at the copy as pointEarlierJournalAt() does.
// Throws when the fixture cannot be placed.
void placeEarlierJournal(const std::string& taskFile, const std::string& journal);
// That release knew tasks.tsk by its inode and time, which a copy has of its own: where taskFile holds the
// fixture's tasks.tsk and journal is in that release's format, the journal's record of tasks.tsk is made
// the copy's (with another device number, which is not to count). False where nothing was changed.
bool pointEarlierJournalAt(const std::string& taskFile, const std::string& journal);

} // namespace velloran::test
