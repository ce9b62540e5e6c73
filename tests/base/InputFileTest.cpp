// Reading input files: regular files only, sizes checked before any byte is read.
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/InputFile.h"
#include "support/TempDir.h"

namespace {

TEST(InputFileTest, ReadsRegularFilesWithinTheLimit)
{
    TempDir dir;
    dir.write("a.txt", std::string("hello"));
    InputFile file;
    ASSERT_TRUE(file.read(dir.file("a.txt"), 5));
    EXPECT_EQ(file.text(), "hello");
    dir.write("empty", std::string());
    ASSERT_TRUE(file.read(dir.file("empty"), 0));
    EXPECT_TRUE(file.bytes().empty());
}

TEST(InputFileTest, RefusesWhatIsNotARegularFileOfAllowedSize)
{
    TempDir dir;
    dir.write("a.txt", std::string("hello"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);   // nobody writes: reading would hang
    dir.write("sparse", std::string());
    std::filesystem::resize_file(dir.file("sparse"), std::uint64_t(8) << 30);
    struct Case {
        const char* name;
        std::string path;
        std::uint64_t limit;
        std::string reason;
        bool openFailed, tooLarge;
    };
    const std::vector<Case> cases = {
        {"missing", dir.file("none"), 100, "No such file or directory", true, false},
        {"endless device", "/dev/zero", 1u << 30, "not a regular file", false, false},
        {"FIFO", dir.file("fifo"), 100, "not a regular file", false, false},
        {"folder", dir.str(), 100, "it is a folder", false, false},
        {"one byte over", dir.file("a.txt"), 4, "the file is larger than 4 bytes, the most this kind of file may have",
         false, true},
        {"8 GiB sparse file", dir.file("sparse"), std::uint64_t(1) << 30,
         "the file is larger than 1024 MiB, the most this kind of file may have", false, true},
        {"no name", "", 100, "no file name", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InputFile file;
        EXPECT_FALSE(file.read(c.path, c.limit));
        EXPECT_EQ(file.reason(), c.reason);
        EXPECT_EQ(file.openFailed(), c.openFailed);
        EXPECT_EQ(file.tooLarge(), c.tooLarge);
        EXPECT_TRUE(file.bytes().empty());
    }
}

TEST(InputFileTest, TheStartIsCheckedBeforeTheRestIsRead)
{
    TempDir dir;
    dir.write("a.prj", std::string("\x40\0rest", 6));
    InputFile file;
    std::size_t seen = 0;
    const auto check = [&](const std::uint8_t* bytes, std::size_t count) {
        seen = count;
        return count == 2 && bytes[0] == 0x40;
    };
    EXPECT_TRUE(file.read(dir.file("a.prj"), 100, 2, check));
    EXPECT_EQ(seen, 2u);
    EXPECT_EQ(file.bytes().size(), 6u);
    dir.write("b.prj", std::string("x"));
    EXPECT_FALSE(file.read(dir.file("b.prj"), 100, 2, check));
    EXPECT_EQ(seen, 1u);
    EXPECT_EQ(file.reason(), "not the expected kind of file");
}

} // namespace
