// Path helpers: both separators accepted when taking a stored path apart.
#include <gtest/gtest.h>

#include "base/PathUtil.h"
#include "support/TempDir.h"

namespace {

const std::string sep(1, PathUtil::nativeSeparator);

TEST(PathUtilTest, FileNameFolderAndTitleWithEitherSeparator)
{
    struct Case {
        std::string path, fileName, folder, title;
    };
    const Case cases[] = {
        {"C:\\scenery\\texture\\ovt00001.bmp", "ovt00001.bmp", "C:\\scenery\\texture", "ovt00001"},
        {"/home/u/alps.prj", "alps.prj", "/home/u", "alps"},
        {"C:\\mixed/dir\\name.tar.gz", "name.tar.gz", "C:\\mixed/dir", "name.tar"},
        {"C:/mixed\\dir/name", "name", "C:/mixed\\dir", "name"},
        {"plain.txt", "plain.txt", "", "plain"},
        {"folder\\", "", "folder", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathUtil::fileName(c.path), c.fileName);
        EXPECT_EQ(PathUtil::folder(c.path), c.folder);
        EXPECT_EQ(PathUtil::titleOf(c.path), c.title);
    }
}

TEST(PathUtilTest, JoinUsesOneNativeSeparator)
{
    EXPECT_EQ(PathUtil::join("a", "b.txt"), "a" + sep + "b.txt");
    EXPECT_EQ(PathUtil::join("a" + sep, "b.txt"), "a" + sep + "b.txt");
    EXPECT_EQ(PathUtil::join("a\\", "b"), "a\\b");
    EXPECT_EQ(PathUtil::join("", "colors.pcf"), sep + "colors.pcf");
}

TEST(PathUtilTest, StoredPathsAreFoundWithNativeSeparators)
{
    EXPECT_EQ(PathUtil::toNative("a\\b/c"), "a" + sep + "b" + sep + "c");
    TempDir dir;
    dir.write("f.txt", std::string("x"));
    std::string stored = dir.str() + "\\f.txt";
    EXPECT_TRUE(PathUtil::fileExists(stored));
    EXPECT_FALSE(PathUtil::fileExists(dir.str()));
    EXPECT_TRUE(PathUtil::folderExists(dir.str()));
    EXPECT_FALSE(PathUtil::folderExists(stored));
    EXPECT_FALSE(PathUtil::fileExists(""));
}

} // namespace
