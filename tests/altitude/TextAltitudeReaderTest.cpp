#include <clocale>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/FileLimits.h"
#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeProjectFixture.h"
#include "altitude/AltitudeReaders.h"

namespace {

class TextAltitudeReaderTest : public AltitudeProjectFixture {
protected:
    AltitudeMap read(const std::string& text, bool expectOk = true)
    {
        dir.write("points.txt", text);
        AltitudeMap map;
        EXPECT_EQ(readTextAltitudeMap(*doc, map, dir.file("points.txt")), expectOk);
        return map;
    }
};

TEST_F(TextAltitudeReaderTest, RowsFollowTheFirstLatitude)
{
    struct Case {
        const char* name;
        std::string text;
        int records, columns, rows;
    };
    const Case cases[] = {
        {"five per row, a partial last row",
         "45.0 15.0 100\n45.0 15.1 110\n45.0 15.2 120\n45.0 15.3 130\n45.0 15.4 140\n"
         "45.1 15.0 200\n45.1 15.1 210\n45.1 15.2 220\n45.1 15.3 230\n45.1 15.4 240\n45.2 15.0 -5\n",
         11, 5, 2},
        {"one latitude only: one row", "45.0 15.0 1\n45.0 15.1 2\n45.0 15.2 3\n", 3, 3, 1},
        {"starting on the equator", "0.0 10.0 1\n0.0 10.5 2\n0.0 11.0 3\n0.5 10.0 4\n0.5 10.5 5\n0.5 11.0 6\n", 6, 3,
         2},
        {"stops at the first line that is not a triplet",
         "45.0 15.0 1\n45.0 15.1 2\n45.1 15.0 3\n45.1 abc 4\n45.1 15.1 5\n", 3, 2, 1},
        {"a fractional altitude is not a triplet", "45.0 15.0 1\n45.0 15.1 2.5\n", 1, 1, 1},
        {"blank lines and CR LF", "\r\n45.0 15.0 1\r\n\r\n45.0 15.1 2\r\n  \n46.0 15.0 3\r\n", 3, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AltitudeMap map = read(c.text);
        EXPECT_EQ(static_cast<int>(map.records.size()), c.records);
        EXPECT_EQ(map.columns, c.columns);
        EXPECT_EQ(map.rows, c.rows);
        EXPECT_EQ(map.sourceType, 3);
        EXPECT_EQ(map.waterLevel, map.minAltitudeOfRecords());
    }
}

TEST_F(TextAltitudeReaderTest, RecordsKeepSinglePrecisionValuesInFileOrder)
{
    const AltitudeMap map = read("45.1 -15.25 100\n45.2 -15.5 -20\n");
    ASSERT_EQ(map.records.size(), 2u);
    EXPECT_EQ(map.records[0].latitude, static_cast<double>(45.1f));
    EXPECT_EQ(map.records[0].longitude, -15.25);
    EXPECT_EQ(map.records[1].altitude, -20);
    EXPECT_EQ(map.waterLevel, -20);
    EXPECT_EQ(map.title, dir.file("points.txt"));
    EXPECT_TRUE(logged("create Loading Altitude Map..."));
    EXPECT_TRUE(logged("range 0 2 step 1"));
}

TEST_F(TextAltitudeReaderTest, RealsFollowTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
        GTEST_SKIP() << "no German locale installed";
    const AltitudeMap map = read("45,5 15,25 10\n45,5 15,5 20\n");
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_EQ(map.records.size(), 2u);
    EXPECT_EQ(map.records[1].longitude, 15.5);
}

// Reals are read in decimal only, like coordinate text: a hexadecimal number or an "inf" or
// "nan" word is no number, so reading stops at that line.
TEST_F(TextAltitudeReaderTest, ReadsDecimalRealsOnly)
{
    struct Case {
        const char* name;
        const char* line;
    };
    const Case refused[] = {
        {"hexadecimal latitude", "0x2D 15.0 10\n"},
        {"hexadecimal longitude", "45.0 0x0F 10\n"},
        {"hexadecimal float", "0x1p4 15.0 10\n"},
        {"infinity", "inf 15.0 10\n"},
        {"not a number", "45.0 nan 10\n"},
        {"hexadecimal altitude", "45.0 15.0 0x10\n"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        const AltitudeMap map = read(std::string("44.5 15.0 5\n") + c.line);
        EXPECT_EQ(map.records.size(), 1u);
    }
    const AltitudeMap decimals = read("+4.5e1 -.5 7\n45. 1E-1 8\n");
    ASSERT_EQ(decimals.records.size(), 2u);
    EXPECT_EQ(decimals.records[0].latitude, 45.0);
    EXPECT_EQ(decimals.records[0].longitude, -0.5);
    EXPECT_EQ(decimals.records[1].longitude, 0.1f);
}

TEST_F(TextAltitudeReaderTest, UnreadableFiles)
{
    AltitudeMap map;
    EXPECT_FALSE(readTextAltitudeMap(*doc, map, dir.file("none.txt")));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Couldn't read that file.\n" + dir.file("none.txt") + ": No such file or directory.");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);

    // A device, a FIFO or a file beyond the limit is refused before anything is read from it.
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    dir.write("big.txt", std::string());
    std::filesystem::resize_file(dir.file("big.txt"), FileLimits::kTextAltitudeFile + 1);
    for (const std::string& path : {std::string("/dev/zero"), dir.file("fifo"), dir.file("big.txt")}) {
        SCOPED_TRACE(path);
        platform.messages.clear();
        EXPECT_FALSE(readTextAltitudeMap(*doc, map, path));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text.rfind("Couldn't read that file.\n" + path + ": ", 0), 0u);
    }

    platform.messages.clear();
    const AltitudeMap empty = read("no numbers here\n", false);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(empty.records.empty());
    EXPECT_EQ(empty.sourceType, 0);
}

} // namespace
