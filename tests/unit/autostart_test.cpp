#include "prefs/settings_store.h"
#include "registry/autostart.h"
#include "registry/registry_file.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velloran;
using namespace velloran::test;

namespace {

// The Exec line as a desktop would find it.
std::string execLine(const std::string& entry) {
    const std::size_t start = entry.find("\nExec=");
    if (start == std::string::npos)
        return {};
    return entry.substr(start + 6, entry.find('\n', start + 1) - start - 6);
}

} // namespace

TEST(Autostart, RunValueBecomesADesktopEntryAndBack) {
    TempDir dir;
    FileRegistry registry(dir.path());
    const std::string quoted = "\"/opt/My Programs/velloran\" hide";
    ASSERT_EQ(writeStartAtLogon(registry, quoted), "");

    const std::string entry = readFile(dir.path() + "/autostart/velloran.desktop");
    EXPECT_EQ(entry.substr(0, 16), "[Desktop Entry]\n");
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName=Velloran\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=velloran\n"), std::string::npos);
    EXPECT_NE(entry.find("\nComment="), std::string::npos);
    EXPECT_EQ(execLine(entry), quoted) << "Exec is the command line itself";
    EXPECT_NE(entry.find("\nTryExec=/opt/My Programs/velloran\n"), std::string::npos);

    std::string read;
    EXPECT_EQ(textOf(readStartAtLogon(registry)), quoted);
    EXPECT_TRUE(registry.keyExists("Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_TRUE(registry.keyExists("SOFTWARE\\MICROSOFT"));
    EXPECT_FALSE(fileExists(registry.filePath())) << "the Run value is not kept in the registry file";

    const std::string unquoted = "/opt/My Programs/velloran HIDE";
    ASSERT_EQ(registry.writeText("software\\microsoft\\windows\\currentversion\\run",
                                 "corvantis task scheduler", unquoted),
              "");
    EXPECT_EQ(execLine(readFile(registry.autostartPath())), unquoted);
    EXPECT_EQ(textOf(readStartAtLogon(registry)), unquoted);

    ASSERT_EQ(deleteStartAtLogon(registry), "");
    EXPECT_FALSE(fileExists(registry.autostartPath()));
    EXPECT_EQ(textOf(readStartAtLogon(registry)), "");
    EXPECT_FALSE(registry.keyExists("Software\\Microsoft"));
    EXPECT_EQ(deleteStartAtLogon(registry), "") << "deleting a missing value is no error";
}

TEST(Autostart, OtherRunValuesLiveInTheRegistryFile) {
    TempDir dir;
    FileRegistry registry(dir.path());
    ASSERT_EQ(registry.writeText(kRunKey, "Another Program", "/usr/bin/other"), "");
    EXPECT_FALSE(fileExists(registry.autostartPath()));
    std::string read;
    EXPECT_EQ(textOf(registry.readText(kRunKey, "Another Program")), "/usr/bin/other");
    EXPECT_EQ(textOf(readStartAtLogon(registry)), "");
}

TEST(Autostart, OnlyTextCanStartAtLogon) {
    TempDir dir;
    FileRegistry registry(dir.path());
    EXPECT_EQ(registry.writeValue(kRunKey, kStartAtLogonValue, RegistryValue::number(1)),
              "Failed to set data for 'Corvantis Task Scheduler'");
    EXPECT_FALSE(fileExists(registry.autostartPath()));
}

TEST(Autostart, EntriesSwitchedOffOrBrokenReadAsEmpty) {
    const std::string exec = "[Desktop Entry]\nType=Application\nExec=/bin/velloran hide\n";
    EXPECT_EQ(commandLineOfDesktopEntry(exec), "/bin/velloran hide");
    EXPECT_EQ(commandLineOfDesktopEntry(exec + "Hidden=true\n"), std::nullopt);
    EXPECT_EQ(commandLineOfDesktopEntry(exec + "X-GNOME-Autostart-enabled=false\n"), std::nullopt);
    EXPECT_EQ(commandLineOfDesktopEntry("[Desktop Entry]\nName=Velloran\n"), std::nullopt);
    EXPECT_EQ(commandLineOfDesktopEntry("[Other Group]\nExec=/bin/false\n"), std::nullopt);
    EXPECT_EQ(commandLineOfDesktopEntry("\r\n[Desktop Entry]\r\nExec = /bin/v hide \r\n"), "/bin/v hide");
    EXPECT_EQ(commandLineOfDesktopEntry(std::string("\0\xff[", 3)), std::nullopt);

    TempDir dir;
    FileRegistry registry(dir.path());
    ASSERT_EQ(mkdir(dir.file("autostart").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(registry.autostartPath().c_str(), 0700), 0); // a folder where the entry should be
    std::string read = "stale";
    EXPECT_EQ(textOf(readStartAtLogon(registry)), "");
    EXPECT_EQ(writeStartAtLogon(registry, "\"/bin/v\" hide"),
              "Failed to set data for 'Corvantis Task Scheduler'");
}

TEST(Autostart, TryExecNamesTheProgramOfTheCommandLine) {
    EXPECT_EQ(programOfCommandLine("\"/opt/My Programs/velloran\" hide"), "/opt/My Programs/velloran");
    EXPECT_EQ(programOfCommandLine("  /usr/lib/velloran/velloran\thide"), "/usr/lib/velloran/velloran");
    EXPECT_EQ(programOfCommandLine("\"/unclosed hide"), "");
    EXPECT_EQ(desktopEntryText("velloran hide").find("TryExec"), std::string::npos) << "only a full path";
}

TEST(Autostart, ExecEscapesOnlyWhatALauncherWouldMisread) {
    // Ordinary paths, with spaces, go in unchanged.
    EXPECT_EQ(encodeExec("\"/home/jo/My Apps/velloran\" hide"), "\"/home/jo/My Apps/velloran\" hide");
    // A launcher would expand %f and $HOME and eat the backslash; the entry keeps them literal.
    EXPECT_EQ(encodeExec("\"/opt/100%/$HOME/a\\b`c\" hide"),
              "\"/opt/100%%/\\\\$HOME/a\\\\\\\\b\\\\`c\" hide");
    EXPECT_EQ(encodeExec(" lead\ttab\nline "), "\\slead\\ttab\\nline\\s");

    for (const std::string commandLine :
         {"\"/opt/100%/$HOME/a\\b`c\" hide", "/path with spaces/velloran hide", "\"unclosed \\ quote hide",
          "\"a\\\"b\" %% \\% %f", "  spaced  ", "", "\\", "\"\\", "multi\nline\r\n\ttabs",
          "ünïcödé \"ö\" hide"})
        EXPECT_EQ(decodeExec(encodeExec(commandLine)), commandLine) << commandLine;
}

TEST(Autostart, WrittenEntryIsReadableByTheDesktop) {
    TempDir dir;
    const std::string path = autostartEntryPath(dir.path() + "/fresh");
    ASSERT_EQ(writeAutostartEntry(path, "\"/a b/velloran\" hide"), "");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(readAutostartEntry(path), "\"/a b/velloran\" hide");
    EXPECT_EQ(removeAutostartEntry(path), "");
    EXPECT_EQ(readAutostartEntry(path), std::nullopt);
}
