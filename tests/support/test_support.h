// Building blocks that both test suites share: dates, tasks, temporary folders, files and running with
// an ordinary user's rights. No test framework here: the helpers report through their results.
#pragma once

#include "store/task_list.h"

#include <functional>
#include <string>

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

} // namespace velloran::test
