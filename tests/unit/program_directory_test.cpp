// Where tasks.tsk lives when the program directory is read-only, and which help file "&Help" opens.
#include "files/program_directory.h"
#include "test_support.h"

#include <cstdlib>
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

TEST(TaskFileFolder, WritableProgramDirectoryKeepsTheFile) {
    TempDir dir;
    const std::string program = dir.path() + "/";
    EXPECT_EQ(taskFileFolder(program, true, dir.file("data")), program);
    EXPECT_FALSE(fileExists(dir.file("data"))) << "no data folder is made when it is not needed";
    EXPECT_EQ(taskFileFolder(dir.path(), true, dir.file("data")), program) << "a slash is added";
    // The environment's answer for a folder this user owns.
    EXPECT_EQ(taskFileFolder(program), program);
}

TEST(TaskFileFolder, ReadOnlyProgramDirectoryUsesTheDataFolderAndMakesIt) {
    TempDir dir;
    const std::string program = dir.file("prog") + "/";
    ASSERT_EQ(::mkdir(program.c_str(), 0755), 0);
    const std::string data = dir.file("home/.local/share/velloran");
    EXPECT_EQ(taskFileFolder(program, false, data), data + "/");
    EXPECT_TRUE(isWritableFolder(data));
    EXPECT_EQ(modeOf(data), 0700u);
    EXPECT_FALSE(fileExists(data + "/tasks.tsk"));
    EXPECT_EQ(taskFileFolder(program, false, data + "/"), data + "/") << "asked again, the same folder";
}

TEST(TaskFileFolder, MissingProgramDirectoryIsNotWritable) {
    TempDir dir;
    ScopedEnv data("XDG_DATA_HOME", dir.file("data").c_str());
    EXPECT_EQ(taskFileFolder(dir.file("gone") + "/"), dir.file("data") + "/velloran/");
    EXPECT_TRUE(isWritableFolder(dir.file("data") + "/velloran/"));
}

TEST(TaskFileFolder, ANewDataFolderStartsWithTheProgramDirectorysTasks) {
    TempDir dir;
    const std::string program = dir.file("prog") + "/";
    ASSERT_EQ(::mkdir(program.c_str(), 0755), 0);
    const std::string tasks(3888 * 2, '\x07');
    writeFile(program + "tasks.tsk", tasks);
    const std::string data = dir.file("data");
    EXPECT_EQ(taskFileFolder(program, false, data), data + "/");
    EXPECT_EQ(readFile(data + "/tasks.tsk"), tasks);
    EXPECT_EQ(readFile(program + "tasks.tsk"), tasks) << "the old file is left as it was";

    // An existing data folder is never filled again: tasks the user deleted stay deleted.
    ASSERT_EQ(::unlink((data + "/tasks.tsk").c_str()), 0);
    EXPECT_EQ(taskFileFolder(program, false, data), data + "/");
    EXPECT_FALSE(fileExists(data + "/tasks.tsk"));
}

TEST(TaskFileFolder, DataFolderThatCannotBeMadeIsStillTheAnswer) {
    TempDir dir;
    writeFile(dir.file("blocker"), "a file where a folder should be");
    const std::string data = dir.file("blocker/velloran");
    // The save then fails and says so; the program directory is not pretended to be writable.
    EXPECT_EQ(taskFileFolder(dir.path() + "/", false, data), data + "/");
    EXPECT_FALSE(isWritableFolder(data));
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

TEST_F(HelpFile, TheUsersLanguagesManualComesFirstWhereItIsThere) {
    writeFile(compiled(), "ITSF");
    writeFile(manual(), "<html></html>");
    ::mkdir((program + "manual/de").c_str(), 0755);
    const std::string german = program + "manual/de/index.html";
    writeFile(german, "<html lang=\"de\"></html>");
    EXPECT_FALSE(helpViewerMatters(program, "de")) << "the English help viewer does not matter";
    EXPECT_EQ(chooseHelpFile(program, true, "de"), german);
    // English, a language without a manual, or a name that could leave the folder: the English choice.
    for (const char* language : {"", "fr", "../manual", "de/../de"}) {
        EXPECT_TRUE(helpViewerMatters(program, language)) << language;
        EXPECT_EQ(chooseHelpFile(program, true, language), compiled()) << language;
        EXPECT_EQ(chooseHelpFile(program, false, language), manual()) << language;
    }
}

TEST_F(HelpFile, NeitherPresentKeepsTheHelpFileName) {
    EXPECT_EQ(chooseHelpFile(program, false), compiled());
    // A folder named like the manual page is no page.
    ::mkdir(manual().c_str(), 0755);
    EXPECT_EQ(chooseHelpFile(program, false), compiled());
}

} // namespace
} // namespace velloran
