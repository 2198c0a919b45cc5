// Building blocks for the logic's tests: dates, tasks and a temporary folder.
#pragma once

#include "store/task_list.h"

#include <string>

namespace velloran::test {

// A local date-time; fails the test when the date is not valid.
DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

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

// Root may read and write anywhere: while alive, this acts with an ordinary user's rights instead.
class WithoutRootRights {
public:
    WithoutRootRights();
    ~WithoutRootRights();
    WithoutRootRights(const WithoutRootRights&) = delete;
    WithoutRootRights& operator=(const WithoutRootRights&) = delete;

private:
    bool wasRoot_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);

} // namespace velloran::test
