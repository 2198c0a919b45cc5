// Where an Executable task's program is found: the program folder first, then PATH for a bare name.
#include "scheduler/program_search.h"
#include "test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velloran {
namespace {

using test::TempDir;

// A program folder and two PATH folders, each empty until a test puts files in.
class ProgramSearchTest : public ::testing::Test {
protected:
    TempDir root;
    std::string program = root.file("prog/");
    std::string first = root.file("first");
    std::string second = root.file("second");
    ProgramSearch where{program, first + ":" + second};

    void SetUp() override {
        for (const std::string& folder : {program, first, second})
            ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0) << folder;
    }
    static std::string put(const std::string& path, mode_t mode = 0755) {
        test::writeFile(path, "#!/bin/sh\n");
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    }
};

TEST_F(ProgramSearchTest, TheProgramFolderComesBeforePath) {
    const std::string here = put(program + "date");
    put(first + "/date");
    EXPECT_EQ(findProgram("date", where), here);
    // One that only the program folder has.
    const std::string only = put(program + "velloran-own-tool");
    EXPECT_EQ(findProgram("velloran-own-tool", where), only);
}

TEST_F(ProgramSearchTest, ABareNameNotInTheProgramFolderIsLookedForOnPathInOrder) {
    EXPECT_EQ(findProgram("tool", where), std::nullopt);
    const std::string later = put(second + "/tool");
    EXPECT_EQ(findProgram("tool", where), later);
    // A file there that may not be executed, and a folder of that name, are passed over.
    put(first + "/tool", 0644);
    EXPECT_EQ(findProgram("tool", where), later);
    ASSERT_EQ(::mkdir((first + "/tool.d").c_str(), 0755), 0);
    put(second + "/tool.d");
    EXPECT_EQ(findProgram("tool.d", where), second + "/tool.d");
    const std::string earlier = put(first + "/other");
    put(second + "/other");
    EXPECT_EQ(findProgram("other", where), earlier);
}

TEST_F(ProgramSearchTest, InTheProgramFolderAnythingThatExistsCountsAndIsOpened) {
    // A document or a folder is what the editor's check always accepted; the start opens it.
    const std::string document = put(program + "notes", 0644);
    put(first + "/notes");
    EXPECT_EQ(findProgram("notes", where), document);
    EXPECT_FALSE(isExecutableFile(document));
    ASSERT_EQ(::mkdir((program + "folder").c_str(), 0755), 0);
    EXPECT_EQ(findProgram("folder", where), program + "folder");
    EXPECT_FALSE(isExecutableFile(program + "folder"));
}

TEST_F(ProgramSearchTest, ANameWithASlashIsTheProgramFoldersOnly) {
    ASSERT_EQ(::mkdir((first + "/bin").c_str(), 0755), 0);
    put(first + "/bin/tool");
    EXPECT_EQ(findProgram("bin/tool", where), std::nullopt);
    ASSERT_EQ(::mkdir((program + "bin").c_str(), 0755), 0);
    const std::string here = put(program + "bin/tool");
    EXPECT_EQ(findProgram("bin/tool", where), here);
    EXPECT_EQ(findProgram("./bin/tool", where), program + "./bin/tool");
    put(first + "/lone");
    EXPECT_EQ(findProgram("./lone", where), std::nullopt);
}

TEST_F(ProgramSearchTest, AnAbsolutePathIsItselfWhenItExists) {
    const std::string tool = put(second + "/tool");
    EXPECT_EQ(findProgram(tool, where), tool);
    EXPECT_EQ(findProgram(first + "/missing", where), std::nullopt);
}

TEST_F(ProgramSearchTest, NothingIsFoundFromNothingOrFromAFolderThatIsNotAbsolute) {
    put(program + "tool");
    EXPECT_EQ(findProgram("", where), std::nullopt);
    EXPECT_EQ(findProgram(std::string("to\0ol", 5), where), std::nullopt);
    // The current folder is not where the task was checked: a relative program folder finds nothing.
    EXPECT_EQ(findProgram("tool", ProgramSearch{"prog/", first}), std::nullopt);
    // Empty and relative entries of PATH stand for the current folder: passed over.
    put(second + "/other");
    EXPECT_EQ(findProgram("other", ProgramSearch{program, "::relative:" + second + ":"}), second + "/other");
    EXPECT_EQ(findProgram("other", ProgramSearch{program, ""}), std::nullopt);
    // The folder given with or without its closing '/'.
    EXPECT_EQ(findProgram("tool", ProgramSearch{root.file("prog"), ""}), program + "tool");
}

TEST(ProgramSearchOf, TakesPathOrTheSystemsDefault) {
    const char* saved = std::getenv("PATH");
    const std::string before = saved != nullptr ? saved : "";
    ::setenv("PATH", "/one:/two", 1);
    EXPECT_EQ(programSearchOf("/opt/velloran/").searchPath, "/one:/two");
    EXPECT_EQ(programSearchOf("/opt/velloran/").programFolder, "/opt/velloran/");
    ::unsetenv("PATH");
    const ProgramSearch unset = programSearchOf("/opt/velloran/");
    if (saved != nullptr)
        ::setenv("PATH", before.c_str(), 1);
    EXPECT_NE(unset.searchPath.find("/usr/bin"), std::string::npos);
    EXPECT_EQ(findProgram("sh", unset).value_or("").substr(0, 1), "/");
}

} // namespace
} // namespace velloran
