// The folder of the one-instance lock: made without following links, and never one of another user's.
#include "files/private_folder.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

using test::fileExists;
using test::TempDir;
using test::writeFile;

mode_t modeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode;
}

TEST(PrivateFolder, IsMadeForThisUserAlone) {
    TempDir dir;
    const mode_t oldMask = ::umask(0);
    const bool made = makePrivateFolder(dir.file("velloran-1000"));
    ::umask(oldMask);
    ASSERT_TRUE(made);
    EXPECT_TRUE(S_ISDIR(modeOf(dir.file("velloran-1000"))));
    EXPECT_EQ(modeOf(dir.file("velloran-1000")) & 07777, 0700u);
    // Made again on the next start: the same folder, still private.
    EXPECT_TRUE(makePrivateFolder(dir.file("velloran-1000")));
}

TEST(PrivateFolder, AnOwnFolderThatOthersCouldEnterIsClosed) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("open").c_str(), 0700), 0);
    ASSERT_EQ(::chmod(dir.file("open").c_str(), 0777), 0);
    EXPECT_TRUE(makePrivateFolder(dir.file("open")));
    EXPECT_EQ(modeOf(dir.file("open")) & 07777, 0700u);
}

TEST(PrivateFolder, APlantedLinkIsRefusedAndWhatItPointsAtIsLeftAlone) {
    TempDir dir;
    // The victim's own folder, open for reading as a home folder often is.
    ASSERT_EQ(::mkdir(dir.file("home").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(dir.file("home").c_str(), 0755), 0);
    ASSERT_EQ(::symlink(dir.file("home").c_str(), dir.file("velloran-1000").c_str()), 0);
    EXPECT_FALSE(makePrivateFolder(dir.file("velloran-1000")));
    EXPECT_EQ(modeOf(dir.file("home")) & 07777, 0755u);
    EXPECT_TRUE(S_ISLNK(modeOf(dir.file("velloran-1000"))));
    // A link to nowhere is no way in either: nothing is made where it points.
    ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), dir.file("dangling").c_str()), 0);
    EXPECT_FALSE(makePrivateFolder(dir.file("dangling")));
    EXPECT_FALSE(fileExists(dir.file("nowhere")));
}

TEST(PrivateFolder, AFileInItsPlaceIsRefused) {
    TempDir dir;
    writeFile(dir.file("velloran-1000"), "x");
    EXPECT_FALSE(makePrivateFolder(dir.file("velloran-1000")));
    EXPECT_FALSE(makePrivateFolder(dir.file("missing-parent/velloran-1000")));
}

TEST(PrivateFolder, AnotherUsersFolderIsRefusedAndLeftAsItWas) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can make a folder that belongs to another user";
    TempDir dir;
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::mkdir(dir.file("velloran-0").c_str(), 0700), 0);
    ASSERT_EQ(::chmod(dir.file("velloran-0").c_str(), 0777), 0);
    ASSERT_EQ(::chown(dir.file("velloran-0").c_str(), kNobody, kNobody), 0);
    EXPECT_FALSE(makePrivateFolder(dir.file("velloran-0")));
    EXPECT_EQ(modeOf(dir.file("velloran-0")) & 07777, 0777u);
    struct stat status {};
    ASSERT_EQ(::stat(dir.file("velloran-0").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, kNobody);
}

} // namespace
} // namespace velloran
