// Where tasks.tsk lives when the program directory is read-only (and its first copy there), and which help
// file "&Help" opens.
#include "files/program_directory.h"
#include "store/task_file_place.h"
#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace velloran {
namespace {

using test::fileExists;
using test::readFile;
using test::TempDir;
using test::writeFile;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(ProgramDirectory, EndsWithSlashAndHoldsTheRunningProgram) {
    const std::string folder = programDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder.front(), '/');
}

TEST(UserDataFolder, FollowsXdgDataHomeOnlyWhenAbsolute) {
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/data");
        EXPECT_EQ(userDataFolder(), "/srv/data/velloran/");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/data/");
        EXPECT_EQ(userDataFolder(), "/srv/data/velloran/");
    }
    ScopedEnv home("HOME", "/home/ada");
    for (const char* ignored : {"relative/data", ""}) {
        ScopedEnv data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(userDataFolder(), "/home/ada/.local/share/velloran/") << ignored;
    }
    ScopedEnv unset("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(userDataFolder(), "/home/ada/.local/share/velloran/");
}

TEST(UserDataFolder, WithoutHomeUsesThePasswordEntry) {
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    const std::string folder = userDataFolder();
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.find("/.local/share/velloran/"), std::string::npos) << folder;
}

TEST(WritableFolder, OnlyAnExistingFolderCounts) {
    TempDir dir;
    EXPECT_TRUE(isWritableFolder(dir.path()));
    EXPECT_TRUE(isWritableFolder(dir.path() + "/"));
    EXPECT_FALSE(isWritableFolder(dir.file("missing")));
    writeFile(dir.file("plain"), "x");
    EXPECT_FALSE(isWritableFolder(dir.file("plain")));
    EXPECT_FALSE(isWritableFolder(""));
}

TEST(TaskFilePlace, WritableProgramDirectoryKeepsTheFile) {
    TempDir dir;
    const std::string program = dir.path() + "/";
    const TaskFilePlace place = placeTaskFile(dir.path(), true, dir.file("data"));
    EXPECT_EQ(place.taskFile, program + "tasks.tsk") << "a slash is added";
    EXPECT_TRUE(place.notices.empty());
    EXPECT_FALSE(fileExists(dir.file("data"))) << "no data folder is made when it is not needed";
}

class FirstCopy : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::mkdir(program.c_str(), 0755), 0); }
    TaskFilePlace place() { return placeTaskFile(program, false, data); }

    TempDir dir;
    const std::string program = dir.file("prog") + "/";
    const std::string data = dir.file("home/.local/share/velloran");
    const std::string copy = data + "/tasks.tsk";
    const std::string tasks = std::string(3888 * 2, '\x07');
};

TEST_F(FirstCopy, ANewDataFolderStartsWithTheProgramDirectorysTasksOnlyOnce) {
    writeFile(program + "tasks.tsk", tasks);
    const TaskFilePlace first = place();
    EXPECT_EQ(first.taskFile, copy);
    EXPECT_TRUE(first.notices.empty());
    EXPECT_EQ(modeOf(data), 0700u);
    EXPECT_EQ(readFile(copy), tasks);
    EXPECT_EQ(modeOf(copy), 0600u) << "memo texts are the user's own";
    EXPECT_EQ(readFile(program + "tasks.tsk"), tasks) << "the old file is left as it was";

    // A list the user emptied stays empty: the copy is made once.
    ASSERT_EQ(::unlink(copy.c_str()), 0);
    EXPECT_EQ(place().taskFile, copy);
    EXPECT_FALSE(fileExists(copy));
}

TEST_F(FirstCopy, NothingToCopyStillMarksTheFolderDone) {
    EXPECT_EQ(place().taskFile, copy);
    EXPECT_FALSE(fileExists(copy));
    writeFile(program + "tasks.tsk", tasks); // put there later, by whoever owns the program folder
    EXPECT_EQ(place().taskFile, copy);
    EXPECT_FALSE(fileExists(copy));
}

TEST_F(FirstCopy, ACopyThatNeverCompletedIsMadeAgain) {
    // What an interrupted copy leaves (made folder, a temporary), and what an earlier release left when
    // its copy failed: each time the program directory's tasks are copied.
    const std::vector<std::pair<const char*, std::string>> leftovers{
        {"the folder only", ""},
        {"a temporary", ".tasks.tsk.Ab12Cd"},
        {"a stray mark's temporary", ".first-copy-done.x1y2z3"}};
    writeFile(program + "tasks.tsk", tasks);
    for (const auto& [left, file] : leftovers) {
        std::filesystem::remove_all(dir.file("home"));
        std::filesystem::create_directories(data);
        if (!file.empty())
            writeFile(data + "/" + file, tasks.substr(0, 100));
        const TaskFilePlace again = place();
        EXPECT_EQ(again.taskFile, copy) << left;
        EXPECT_TRUE(again.notices.empty()) << left;
        EXPECT_EQ(readFile(copy), tasks) << left;
    }
}

TEST_F(FirstCopy, ATaskFileWithoutItsMarkIsTheUsersOwn) {
    writeFile(program + "tasks.tsk", tasks);
    std::filesystem::create_directories(data);
    writeFile(copy, "mine");
    EXPECT_EQ(place().taskFile, copy);
    EXPECT_EQ(readFile(copy), "mine");
    ASSERT_EQ(::unlink(copy.c_str()), 0);
    EXPECT_EQ(place().taskFile, copy) << "marked at the start before";
    EXPECT_FALSE(fileExists(copy));
}

TEST_F(FirstCopy, WithoutADataFolderTheProgramDirectorysTasksAreShownAndTheUserTold) {
    std::filesystem::create_directories(dir.file("home"));
    writeFile(dir.file("home/.local"), "a file where a folder should be");
    const std::string reason = "Cannot create folder \"" + dir.file("home/.local") + "\": Not a directory";
    const std::string head =
        "Velloran may not write to its program folder, and your tasks could not be kept in \"" + data +
        "/\":\n" + reason + "\n";
    TaskFilePlace none = place();
    EXPECT_EQ(none.taskFile, program + "tasks.tsk");
    EXPECT_EQ(told(none.notices),
              std::vector<std::string>{head +
                                       "Tasks you create cannot be saved. Velloran tries again at the next "
                                       "start."});
    writeFile(program + "tasks.tsk", tasks);
    TaskFilePlace some = place();
    EXPECT_EQ(some.taskFile, program + "tasks.tsk");
    EXPECT_EQ(told(some.notices),
              std::vector<std::string>{head + "The tasks of \"" + program +
                                       "tasks.tsk\" are shown, but changes to them cannot be saved. Velloran "
                                       "tries again at the next start."});

    // Once the folder can be made, the copy is.
    ASSERT_EQ(::unlink(dir.file("home/.local").c_str()), 0);
    EXPECT_EQ(place().taskFile, copy);
    EXPECT_EQ(readFile(copy), tasks);
}

TEST_F(FirstCopy, ACopyThatCannotBeWrittenLeavesNoTaskFileAndIsTriedAgain) {
    writeFile(program + "tasks.tsk", tasks);
    std::filesystem::create_directories(data);
    TaskFilePlace denied;
    ASSERT_TRUE(test::withoutWriteAccess(dir.path(), [&] { denied = place(); }));
    EXPECT_EQ(denied.taskFile, program + "tasks.tsk");
    ASSERT_EQ(denied.notices.size(), 1u);
    EXPECT_NE(told(denied.notices.front()).find("Cannot write \"" + copy + "\": Permission denied"),
              std::string::npos)
        << told(denied.notices.front());
    EXPECT_FALSE(fileExists(copy));
    EXPECT_EQ(place().taskFile, copy);
    EXPECT_EQ(readFile(copy), tasks);
}

class HelpFile : public ::testing::Test {
protected:
    void SetUp() override {
        program = dir.path() + "/";
        ::mkdir((program + "manual").c_str(), 0755);
    }
    TempDir dir;
    std::string program;
    std::string compiled() const { return program + "Velloran.chm"; }
    std::string manual() const { return program + "manual/index.html"; }
};

TEST_F(HelpFile, BothPresentTheRegisteredViewerDecides) {
    writeFile(compiled(), "ITSF");
    writeFile(manual(), "<html></html>");
    EXPECT_TRUE(helpViewerMatters(program));
    EXPECT_EQ(chooseHelpFile(program, true), compiled());
    EXPECT_EQ(chooseHelpFile(program, false), manual());
}

TEST_F(HelpFile, AMissingFileIsNeverChosenOverOneThatIsThere) {
    writeFile(manual(), "<html></html>");
    EXPECT_FALSE(helpViewerMatters(program));
    EXPECT_EQ(chooseHelpFile(program, true), manual()) << "no compiled help was built";

    ::unlink(manual().c_str());
    writeFile(compiled(), "ITSF");
    EXPECT_FALSE(helpViewerMatters(program));
    EXPECT_EQ(chooseHelpFile(program, false), compiled()) << "no manual installed: the help file still opens";
}

TEST_F(HelpFile, NeitherPresentKeepsTheHelpFileName) {
    EXPECT_EQ(chooseHelpFile(program, false), compiled());
    // A folder named like the manual page is no page.
    ::mkdir(manual().c_str(), 0755);
    EXPECT_EQ(chooseHelpFile(program, false), compiled());
}

} // namespace
} // namespace velloran
