#include <algorithm>
#include <filesystem>
#include <limits>
#include <random>
#include <gtest/gtest.h>

#include "base/FileLimits.h"

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeProjectFixture.h"
#include "altitude/AltitudeReaders.h"
#include "altitude/AltitudeTestFiles.h"

namespace {

using testfiles::makeDted;

constexpr int kVoid = -32767;   // 0xFFFF in signed magnitude

// Elevations with both signs, the extremes of the 15-bit magnitude and one void post.
int sampleElevation(int i, int j)
{
    if (i == 1 && j == 2)
        return 32767;
    if (i == 2 && j == 0)
        return -32766;
    if (i == 2 && j == 1)
        return kVoid;
    return (i * 37 + j * 11) % 3000 - 700;
}

class DtedAltitudeReaderTest : public AltitudeProjectFixture {};

TEST_F(DtedAltitudeReaderTest, GridsOfEveryLevelSpanTheirCorners)
{
    struct Case {
        const char* name;
        std::string swLat, swLon, neLat, neLon;
        int columns, rows;
        double south, west, north, east;
    };
    const Case cases[] = {
        {"level 0, 121 points per line", "450000N", "0150000E", "460000N", "0160000E", 121, 121, 45, 15, 46, 16},
        {"level 1 sized lines, south-west hemispheres", "343000S", "0580000W", "333000S", "0573000W", 31, 1201,
         -34.5, -58, -33.5, -57.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.progressLog.clear();
        dir.write("cell.dt0", makeDted(c.swLat, c.swLon, c.neLat, c.neLon, c.columns, c.rows, sampleElevation));
        AltitudeMap map;
        platform.messages.clear();
        ASSERT_TRUE(readDtedAltitudeMap(*doc, map, dir.file("cell.dt0")));
        // The void post is left out and counted in one message.
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "1 of the " + std::to_string(c.columns * c.rows) +
                                                 " posts of this DTED file hold no altitude (void) and were left out.");
        EXPECT_EQ(map.sourceType, 2);
        EXPECT_EQ(map.title, dir.file("cell.dt0"));
        EXPECT_EQ(map.columns, c.columns);
        EXPECT_EQ(map.rows, c.rows);
        EXPECT_EQ(map.sourceParam1, 0);
        EXPECT_EQ(map.sourceParam2, 0);
        EXPECT_TRUE(logged("create Loading DTED Map..."));
        ASSERT_EQ(map.records.size(), static_cast<std::size_t>(c.columns) * c.rows - 1);

        // Every post, the last line and the last post of a line too, is the south-west corner
        // plus its index times the step, to the last bit.
        const double latStep = (c.north - c.south) / (c.rows - 1);
        const double lonStep = (c.east - c.west) / (c.columns - 1);
        std::int32_t lowest = 100000;
        std::size_t next = 0;
        for (int i = 0; i < c.columns; ++i) {
            for (int j = 0; j < c.rows; ++j) {
                if (sampleElevation(i, j) == kVoid)
                    continue;
                const AltitudeRecord& r = map.records[next++];
                ASSERT_EQ(r.altitude, sampleElevation(i, j)) << i << "," << j;
                ASSERT_EQ(r.latitude, c.south + j * latStep) << i << "," << j;
                ASSERT_EQ(r.longitude, c.west + i * lonStep) << i << "," << j;
                lowest = std::min(lowest, r.altitude);
            }
        }
        EXPECT_EQ(map.records.front().latitude, c.south);
        EXPECT_EQ(map.records.front().longitude, c.west);
        EXPECT_NEAR(map.records.back().longitude, c.east, 1e-12);
        EXPECT_NEAR(map.records.back().latitude, c.north, 1e-12);
        // The lowest real post, not the void value, sets the water level.
        EXPECT_EQ(map.waterLevel, lowest);
        EXPECT_EQ(map.waterLevel, -32766);
    }
}

// The records a plain post-by-post reading of the cell gives: each post in file order, its
// position the corner plus index times step, void posts left out.
struct PlainReading {
    std::vector<AltitudeRecord> records;
    std::size_t voids = 0;
    std::int32_t lowest = 0;
};

PlainReading readPlainly(const std::vector<unsigned char>& file, int columns, int rows, double south, double west,
                         double north, double east)
{
    PlainReading result;
    result.lowest = std::numeric_limits<std::int32_t>::max();
    const double latStep = (north - south) / (rows - 1);
    const double lonStep = (east - west) / (columns - 1);
    const std::size_t recordLength = 8 + 2 * static_cast<std::size_t>(rows) + 4;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            const unsigned char* p = file.data() + 3428 + recordLength * static_cast<std::size_t>(i) + 8 + 2 * j;
            const unsigned word = static_cast<unsigned>(p[0]) << 8 | p[1];
            if (word == 0xFFFF) {
                ++result.voids;
                continue;
            }
            const int magnitude = static_cast<int>(word & 0x7FFF);
            AltitudeRecord r;
            r.latitude = south + j * latStep;
            r.longitude = west + i * lonStep;
            r.altitude = (word & 0x8000) ? -magnitude : magnitude;
            result.lowest = std::min(result.lowest, r.altitude);
            result.records.push_back(r);
        }
    }
    return result;
}

TEST_F(DtedAltitudeReaderTest, RandomCellsGiveThePlainPostByPostRecords)
{
    struct Case {
        const char* name;
        std::string swLat, swLon, neLat, neLon;
        double south, west, north, east;
        int columns, rows;
        int voidPercent;   // -1: every other line wholly void
    };
    const Case cases[] = {
        {"north-east, no voids", "450000N", "0150000E", "460000N", "0160000E", 45, 15, 46, 16, 17, 301, 0},
        {"north-east, some voids", "450000N", "0150000E", "460000N", "0160000E", 45, 15, 46, 16, 33, 121, 10},
        {"south-west, mostly void", "343000S", "0580000W", "333000S", "0573000W", -34.5, -58, -33.5, -57.5, 9, 1201,
         90},
        {"void lines between full ones", "000000N", "1790000W", "010000N", "1780000W", 0, -179, 1, -178, 12, 64, -1},
        {"two by two", "100000S", "0100000E", "090000S", "0110000E", -10, 10, -9, 11, 2, 2, 50},
    };
    std::mt19937 random(2026);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> file =
            makeDted(c.swLat, c.swLon, c.neLat, c.neLon, c.columns, c.rows, [](int, int) { return 0; });
        // Raw words: both signs over the whole 15-bit magnitude, minus zero, the void value.
        const std::size_t recordLength = 8 + 2 * static_cast<std::size_t>(c.rows) + 4;
        std::uniform_int_distribution<unsigned> word(0, 0xFFFE), percent(0, 99);
        for (int i = 0; i < c.columns; ++i) {
            for (int j = 0; j < c.rows; ++j) {
                unsigned w = word(random);
                if (j % 97 == 3)
                    w = 0x8000;
                const bool isVoid = c.voidPercent < 0 ? i % 2 == 1 : static_cast<int>(percent(random)) < c.voidPercent;
                if (isVoid)
                    w = 0xFFFF;
                unsigned char* p = file.data() + 3428 + recordLength * static_cast<std::size_t>(i) + 8 + 2 * j;
                p[0] = static_cast<unsigned char>(w >> 8);
                p[1] = static_cast<unsigned char>(w);
            }
        }
        const PlainReading plain = readPlainly(file, c.columns, c.rows, c.south, c.west, c.north, c.east);
        ASSERT_FALSE(plain.records.empty());
        dir.write("cell.dt1", file);
        platform.messages.clear();
        platform.progressLog.clear();
        AltitudeMap map;
        ASSERT_TRUE(readDtedAltitudeMap(*doc, map, dir.file("cell.dt1")));
        ASSERT_EQ(map.records.size(), plain.records.size());
        for (std::size_t k = 0; k < plain.records.size(); ++k)
            ASSERT_EQ(map.records[k], plain.records[k]) << k;
        EXPECT_EQ(map.waterLevel, plain.lowest);
        const std::size_t posts = static_cast<std::size_t>(c.columns) * c.rows;
        if (plain.voids == 0) {
            EXPECT_TRUE(platform.messages.empty());
        } else {
            ASSERT_EQ(platform.messages.size(), 1u);
            EXPECT_EQ(platform.messages[0].text, std::to_string(plain.voids) + " of the " + std::to_string(posts) +
                                                     " posts of this DTED file hold no altitude (void) and were left out.");
        }
        // One bar step per post, voids included.
        const auto steps = std::count_if(platform.progressLog.begin(), platform.progressLog.end(),
                                         [](const std::string& e) { return e.rfind("pos ", 0) == 0; });
        EXPECT_EQ(static_cast<std::size_t>(steps), posts);
    }
}

TEST_F(DtedAltitudeReaderTest, TheBarOfALargeCellStopsFullAtItsCap)
{
    // 400 x 200 posts: more than the bar's 65535 steps.
    dir.write("big.dt1", makeDted("450000N", "0150000E", "460000N", "0160000E", 400, 200, sampleElevation));
    AltitudeMap map;
    ASSERT_TRUE(readDtedAltitudeMap(*doc, map, dir.file("big.dt1")));
    std::vector<std::string> steps;
    for (const std::string& e : platform.progressLog)
        if (e.rfind("pos ", 0) == 0)
            steps.push_back(e);
    ASSERT_EQ(steps.size(), 65535u);
    EXPECT_EQ(steps.back(), "pos 65535 100%");
    EXPECT_EQ(map.records.size(), 400u * 200u - 1u);
}

TEST_F(DtedAltitudeReaderTest, DamagedOrLyingFilesAreRefused)
{
    const std::vector<unsigned char> good = makeDted("450000N", "0150000E", "460000N", "0160000E", 5, 7, sampleElevation);
    auto with = [&](const std::function<void(std::vector<unsigned char>&)>& change) {
        std::vector<unsigned char> b = good;
        change(b);
        return b;
    };
    auto text = [](std::vector<unsigned char>& b, std::size_t at, const std::string& t) {
        std::copy(t.begin(), t.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    };
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"header only", std::vector<unsigned char>(good.begin(), good.begin() + 3000)},
        {"last byte missing", std::vector<unsigned char>(good.begin(), good.end() - 1)},
        {"more points per line than the file holds", with([&](auto& b) { text(b, 361, "0700"); text(b, 51, "0700"); })},
        {"more lines than the file holds", with([&](auto& b) { text(b, 365, "9999"); text(b, 47, "9999"); })},
        {"headers disagree", with([&](auto& b) { text(b, 51, "0008"); })},
        {"count not a number", with([&](auto& b) { text(b, 361, "00x7"); })},
        {"a single point per line", with([&](auto& b) { text(b, 361, "0001"); text(b, 51, "0001"); })},
        {"no user header label", with([&](auto& b) { text(b, 0, "XXXX"); })},
        {"no accuracy record", with([&](auto& b) { text(b, 728, "XXX"); })},
        {"hemisphere letter", with([&](auto& b) { text(b, 290, "Q"); })},
        {"corner digits", with([&](auto& b) { text(b, 293, "A"); })},
        {"record sentinel", with([&](auto& b) { b[3428 + 2 * (12 + 2 * 7)] = 0; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        dir.write("bad.dt0", c.bytes);
        AltitudeMap map;
        EXPECT_FALSE(readDtedAltitudeMap(*doc, map, dir.file("bad.dt0")));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text.rfind("This is not a readable DTED file: ", 0), 0u)
            << platform.messages[0].text;
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(map.records.empty());
        EXPECT_EQ(map.sourceType, 0);
    }

    // The untouched file reads, so every refusal above comes from its one change; bytes after
    // the last complete record are ignored.
    dir.write("good.dt0", good);
    AltitudeMap map;
    EXPECT_TRUE(readDtedAltitudeMap(*doc, map, dir.file("good.dt0")));
    std::vector<unsigned char> padded = good;
    padded.insert(padded.end(), 1000, 0x20);
    dir.write("padded.dt0", padded);
    AltitudeMap paddedMap;
    EXPECT_TRUE(readDtedAltitudeMap(*doc, paddedMap, dir.file("padded.dt0")));
    EXPECT_EQ(paddedMap.records.size(), map.records.size());
}

TEST_F(DtedAltitudeReaderTest, OnlyRegularFilesOfADtedSizeAreRead)
{
    dir.write("big.dt0", std::string());
    std::filesystem::resize_file(dir.file("big.dt0"), FileLimits::kDtedFile + 1);
    for (const std::string& path : {std::string("/dev/zero"), dir.str(), dir.file("big.dt0")}) {
        SCOPED_TRACE(path);
        platform.messages.clear();
        AltitudeMap map;
        EXPECT_FALSE(readDtedAltitudeMap(*doc, map, path));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text.rfind("This is not a readable DTED file: ", 0), 0u);
    }
}

TEST_F(DtedAltitudeReaderTest, AMissingFileFailsSilently)
{
    AltitudeMap map;
    EXPECT_FALSE(readDtedAltitudeMap(*doc, map, dir.file("none.dt0")));
    EXPECT_FALSE(readDtedAltitudeMap(*doc, map, ""));
    EXPECT_TRUE(platform.messages.empty());
}

} // namespace
