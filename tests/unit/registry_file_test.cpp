#include "registry/registry_file.h"
#include "registry/registry_text.h"
#include "test_support.h"

#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velloran;
using namespace velloran::test;

namespace {

constexpr const char* kKey = "SOFTWARE\\Corvantis Software\\Velloran";

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

} // namespace

TEST(FileRegistry, EveryValueTypeRoundTripsThroughTheFile) {
    TempDir dir;
    FileRegistry registry(dir.path());
    const std::string bytes("\0\x01\xff\"\\\n", 6);
    ASSERT_EQ(registry.writeBinary(kKey, "Settings", bytes), "");
    ASSERT_EQ(registry.writeText("Software\\Test", "Text", "He said \"C:\\Programs\\\" — über"), "");
    ASSERT_EQ(registry.writeValue("Software\\Test", "Path", RegistryValue::text("%HOME%/x", kRegExpandText)),
              "");
    ASSERT_EQ(registry.writeValue("Software\\Test", "Count", RegistryValue::number(123456)), "");

    FileRegistry again(dir.path()); // a second program reading the same file
    std::string read;
    EXPECT_EQ(textOf(again.readBinary(kKey, "Settings", 292)), bytes);
    EXPECT_EQ(textOf(again.readText("software\\test", "TEXT")), "He said \"C:\\Programs\\\" — über");
    EXPECT_EQ(textOf(again.readText("Software\\Test", "Path")), "%HOME%/x");
    EXPECT_EQ(again.readValue("Software\\Test", "Count"), RegistryValue::number(123456));

    EXPECT_EQ(registry.filePath(), dir.path() + "/velloran/registry.reg");
    EXPECT_EQ(modeOf(registry.filePath()), 0600u);
    EXPECT_EQ(modeOf(dir.path() + "/velloran"), 0700u);
    EXPECT_EQ(readFile(registry.filePath()).substr(0, 9), "REGEDIT4\n");
}

TEST(FileRegistry, OperationsFollowTheStoreRules) {
    TempDir dir;
    FileRegistry registry(dir.path() + "/not/yet/there");
    EXPECT_FALSE(registry.keyExists("SOFTWARE"));
    EXPECT_FALSE(registry.valueExists(kKey, "Settings"));
    EXPECT_EQ(textOf(registry.readText(kKey, "Missing")), "");
    EXPECT_EQ(registry.deleteValue(kKey, "Missing"), "");
    EXPECT_FALSE(fileExists(registry.filePath())) << "deleting nothing writes nothing";

    ASSERT_EQ(registry.writeText(kKey, "Name", "x"), "");
    EXPECT_TRUE(registry.keyExists("software"));
    EXPECT_TRUE(registry.keyExists("Software\\CORVANTIS SOFTWARE\\velloran"));
    EXPECT_TRUE(registry.valueExists(kKey, "name"));
    EXPECT_EQ(textOf(registry.readBinary(kKey, "Name", 292)),
              std::string("failed: ") + "Invalid data type for 'Name'");
    ASSERT_EQ(registry.writeValue(kKey, "Number", RegistryValue::number(5)), "");
    EXPECT_EQ(textOf(registry.readText(kKey, "Number")),
              std::string("failed: ") + "Invalid data type for 'Number'");
    EXPECT_EQ(textOf(registry.readBinary(kKey, "Number", 292)),
              std::string("failed: ") + "Invalid data type for 'Number'");

    EXPECT_EQ(registry.deleteValue(kKey, "NAME"), "");
    EXPECT_FALSE(registry.valueExists(kKey, "Name"));
    EXPECT_TRUE(registry.keyExists(kKey)) << "an emptied key stays";
    EXPECT_EQ(registry.writeText(kKey, "Two\nLines", "x"), "Failed to set data for 'Two\nLines'");
}

TEST(FileRegistry, EachWriteKeepsWhatOthersWroteMeanwhile) {
    TempDir dir;
    FileRegistry first(dir.path());
    FileRegistry second(dir.path());
    ASSERT_EQ(first.writeText("Software\\A", "One", "1"), "");
    ASSERT_EQ(second.writeText("Software\\B", "Two", "2"), "");
    // A hand edit between two writes.
    writeFile(first.filePath(),
              readFile(first.filePath()) + "\n[HKEY_CURRENT_USER\\Software\\C]\n\"Three\"=\"3\"\n");
    ASSERT_EQ(first.writeText("Software\\A", "One", "one"), "");

    EXPECT_EQ(textOf(second.readText("Software\\A", "One")), "one");
    EXPECT_EQ(textOf(first.readText("Software\\B", "Two")), "2");
    EXPECT_EQ(textOf(first.readText("Software\\C", "Three")), "3");
}

TEST(FileRegistry, ProgramsWritingAtTheSameTimeLoseNothing) {
    TempDir dir;
    constexpr int kPrograms = 3;
    constexpr int kWrites = 25;
    std::vector<pid_t> children;
    for (int program = 0; program < kPrograms; ++program) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileRegistry registry(dir.path());
            for (int i = 0; i < kWrites; ++i)
                if (!registry
                         .writeValue("Software\\P" + std::to_string(program), "V" + std::to_string(i),
                                     RegistryValue::number(static_cast<std::uint32_t>(i)))
                         .ok())
                    _exit(1);
            _exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    FileRegistry registry(dir.path());
    for (int program = 0; program < kPrograms; ++program)
        for (int i = 0; i < kWrites; ++i)
            EXPECT_TRUE(
                registry.valueExists("Software\\P" + std::to_string(program), "V" + std::to_string(i)))
                << program << " " << i;
}

TEST(FileRegistry, DamagedFileKeepsWhatCanBeReadAndIsSavedAside) {
    TempDir dir;
    FileRegistry registry(dir.path());
    ASSERT_EQ(registry.writeText("Software\\Keep", "Good", "kept"), "");
    const std::string damaged = readFile(registry.filePath()) + "\"Bad\"=hex:zz\n\x01\x02 junk\n";
    writeFile(registry.filePath(), damaged);

    EXPECT_EQ(textOf(registry.readText("Software\\Keep", "Good")), "kept");
    ASSERT_EQ(registry.writeText("Software\\Keep", "New", "new"), "");
    EXPECT_EQ(readFile(registry.damagedCopyPath()), damaged) << "the unreadable lines are not lost";
    const RegistryTextRead now = parseRegistryText(readFile(registry.filePath()));
    EXPECT_EQ(now.damagedLines, 0);
    EXPECT_NE(now.data.find("HKEY_CURRENT_USER\\Software\\Keep", "Good"), nullptr);
    EXPECT_NE(now.data.find("HKEY_CURRENT_USER\\Software\\Keep", "New"), nullptr);
}

TEST(FileRegistry, AFileThatCannotBeReadIsNeverOverwritten) {
    TempDir dir;
    FileRegistry registry(dir.path());
    ASSERT_EQ(registry.writeText("Software\\A", "One", "1"), "");

    // Too large to be a registry file: someone else's data, or a mistake.
    const std::string huge(5 << 20, 'x');
    writeFile(registry.filePath(), huge);
    EXPECT_EQ(registry.writeText("Software\\A", "One", "2"), "Failed to set data for 'One'");
    EXPECT_NE(told(registry.lastFailure()).find("registry.reg"), std::string::npos)
        << told(registry.lastFailure());
    EXPECT_EQ(readFile(registry.filePath()).size(), huge.size());
    EXPECT_FALSE(registry.valueExists("Software\\A", "One"));

    // A pipe in its place must neither stall reading nor be replaced.
    ASSERT_EQ(unlink(registry.filePath().c_str()), 0);
    ASSERT_EQ(mkfifo(registry.filePath().c_str(), 0600), 0);
    EXPECT_FALSE(registry.keyExists("Software"));
    EXPECT_EQ(registry.deleteValue("Software\\A", "One"), "Failed to delete data for 'One'");
    struct stat info {};
    ASSERT_EQ(stat(registry.filePath().c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(FileRegistry, ReadOnlyFolderReportsTheFailureAndKeepsTheOldFile) {
    TempDir dir;
    FileRegistry registry(dir.path());
    ASSERT_EQ(registry.writeBinary(kKey, "Settings", "old"), "");
    const std::string before = readFile(registry.filePath());

    std::string written;
    std::string deleted;
    std::string failure;
    ASSERT_TRUE(withoutWriteAccess(dir.path(), [&] {
        FileRegistry unprivileged(dir.path());
        written = told(unprivileged.writeBinary(kKey, "Settings", "new"));
        deleted = told(unprivileged.deleteValue(kKey, "Settings"));
        failure = told(unprivileged.lastFailure());
    }));
    EXPECT_EQ(written, "Failed to set data for 'Settings'");
    EXPECT_EQ(deleted, "Failed to delete data for 'Settings'");
    EXPECT_NE(failure.find("Permission denied"), std::string::npos) << failure;
    EXPECT_EQ(readFile(registry.filePath()), before);
}

TEST(FileRegistry, ConfigurationFolderThatIsAFileFailsCleanly) {
    TempDir dir;
    writeFile(dir.file("velloran"), "not a folder");
    FileRegistry registry(dir.path());
    EXPECT_EQ(registry.writeBinary(kKey, "Settings", "x"), "Failed to set data for 'Settings'");
    EXPECT_FALSE(registry.keyExists(kKey));
    EXPECT_EQ(readFile(dir.file("velloran")), "not a folder");
}

TEST(FileRegistry, LinkedRegistryFileIsWrittenWhereItPoints) {
    TempDir dir;
    FileRegistry registry(dir.path());
    ASSERT_EQ(registry.writeText("Software\\A", "One", "1"), "");
    ASSERT_EQ(rename(registry.filePath().c_str(), dir.file("dotfiles.reg").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("dotfiles.reg").c_str(), registry.filePath().c_str()), 0);
    ASSERT_EQ(registry.writeText("Software\\A", "Two", "2"), "");
    struct stat info {};
    ASSERT_EQ(lstat(registry.filePath().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_NE(readFile(dir.file("dotfiles.reg")).find("\"Two\"=\"2\""), std::string::npos);
}

TEST(FileRegistry, FolderComesFromTheEnvironment) {
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";
    const std::string savedHome = oldHome ? oldHome : "";

    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(FileRegistry().filePath(), "/somewhere/config/velloran/registry.reg");
    EXPECT_EQ(FileRegistry().autostartPath(), "/somewhere/config/autostart/velloran.desktop");
    setenv("XDG_CONFIG_HOME", "relative/config", 1); // not absolute: ignored
    EXPECT_EQ(FileRegistry::configFolderFromEnvironment(), "/home/someone/.config");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileRegistry::configFolderFromEnvironment(), "/home/someone/.config");

    oldConfig ? setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}
