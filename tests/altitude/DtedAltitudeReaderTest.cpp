#include <filesystem>
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
