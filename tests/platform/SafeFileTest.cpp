#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/SafeFile.h"

namespace velmora {
namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SafeFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    QTemporaryDir dir;
};

// What a save must never do to the file it replaces: write a file the user made read-only,
// turn a link into a copy, take the file from its owner, or fail on a long name.
TEST_F(SafeFileTest, AReplacedFileKeepsWhatItWas) {
    const std::string path = Path("a.sgf");
    ASSERT_TRUE(WriteFileSafely(path, "first"));
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileSafely(path, "second"));
    EXPECT_EQ(Read(path), "second");
    struct stat s {};
    ASSERT_EQ(stat(path.c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 07777, 0640u);

    chmod(path.c_str(), 0444);  // read-only, also for root, who may write anything
    EXPECT_FALSE(WriteFileSafely(path, "third"));
    EXPECT_EQ(Read(path), "second");

    const std::string link = Path("link.sgf");
    ASSERT_EQ(symlink("a.sgf", link.c_str()), 0);
    chmod(path.c_str(), 0644);
    ASSERT_TRUE(WriteFileSafely(link, "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(path), "through the link");

    if (geteuid() == 0) {  // only root may give a file to someone else
        ASSERT_EQ(chown(path.c_str(), 4242, 4343), 0);
        ASSERT_TRUE(WriteFileSafely(path, "owned"));
        ASSERT_EQ(stat(path.c_str(), &s), 0);
        EXPECT_EQ(s.st_uid, 4242u);
        EXPECT_EQ(s.st_gid, 4343u);
    }

    std::string longName;
    for (int i = 0; i < 82; ++i) longName += "기";  // 246 bytes, 250 with ".sgf"
    const std::string longPath = Path(longName + ".sgf");
    ASSERT_TRUE(WriteFileSafely(longPath, "long"));
    ASSERT_TRUE(WriteFileSafely(longPath, "longer"));
    EXPECT_EQ(Read(longPath), "longer");

    EXPECT_FALSE(WriteFileSafely(Path("missing/b.sgf"), "x"));
    // Nothing is left behind by the temporary files.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path().toStdString())) files += entry.exists();
    EXPECT_EQ(files, 3);
}

}  // namespace
}  // namespace velmora
