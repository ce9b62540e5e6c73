#include <gtest/gtest.h>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "altitude/AltitudeProjectFixture.h"
#include "altitude/AltitudeTestFiles.h"

namespace {

using testfiles::greyPalette;
using testfiles::makeBmp;

class BmpAltitudeReaderTest : public AltitudeProjectFixture {
protected:
    // Grey levels 10 (south-west pixel) to 250 (north-east pixel), rising along the diagonal.
    std::string writeRamp(int width = 256, int height = 256)
    {
        dir.write("ramp.bmp", makeBmp(width, height, greyPalette(), [&](int x, int y) {
                      return 10 + (x + y) * 240 / (width + height - 2);
                  }));
        return dir.file("ramp.bmp");
    }
};

TEST_F(BmpAltitudeReaderTest, GreyRampLiesOverTheExtentsFromTheSouthWestCorner)
{
    AltitudeMap map;
    const std::string path = writeRamp();
    ASSERT_TRUE(readBmpAltitudeMap(*doc, map, path));
    EXPECT_EQ(map.sourceType, 1);
    EXPECT_EQ(map.title, path);
    EXPECT_EQ(map.sourceParam1, 250);
    EXPECT_EQ(map.sourceParam2, 10);
    EXPECT_TRUE(map.records.empty());   // records come from the extents step
    EXPECT_TRUE(logged("create Loading Altitude Map..."));
    EXPECT_TRUE(logged("range 0 65535 step 1"));   // 65536 pixels, capped

    platform.progressLog.clear();
    ASSERT_TRUE(setBmpExtents(*doc, map, 45.0, 46.0, 15.0, 16.0, 0, 1000));
    EXPECT_TRUE(logged("create Initializing Altitude Map..."));
    EXPECT_EQ(map.columns, 256);
    EXPECT_EQ(map.rows, 256);
    ASSERT_EQ(map.records.size(), 65536u);
    EXPECT_EQ(map.waterLevel, 0);
    EXPECT_EQ(map.records.front(), (AltitudeRecord{45.0, 15.0, 0}));
    EXPECT_DOUBLE_EQ(map.records.back().latitude, 46.0);
    EXPECT_DOUBLE_EQ(map.records.back().longitude, 16.0);
    EXPECT_EQ(map.records.back().altitude, 1000);
    // Row by row from the south: the second record is east of the first, record 256 north of it.
    EXPECT_DOUBLE_EQ(map.records[1].longitude, 15.0 + 1.0 / 255);
    EXPECT_DOUBLE_EQ(map.records[256].latitude, 45.0 + 1.0 / 255);
    EXPECT_DOUBLE_EQ(map.records[256].longitude, 15.0);
    EXPECT_TRUE(map.imageGrey.empty());   // the image is released once placed
}

TEST_F(BmpAltitudeReaderTest, SideRules)
{
    struct Case {
        int width, height;
        const char* message;   // nullptr: accepted
    };
    const Case cases[] = {
        {768, 256, nullptr},
        {128, 64, nullptr},
        {300, 256, "This Image's width is not a power of 2 . Loading abandoned."},
        {3, 256, "This Image's width is not a power of 2 . Loading abandoned."},
        {256, 300, "This Image's height is not a power of 2 . Loading abandoned."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        platform.messages.clear();
        AltitudeMap map;
        const bool ok = readBmpAltitudeMap(*doc, map, writeRamp(c.width, c.height));
        EXPECT_EQ(ok, c.message == nullptr);
        if (c.message) {
            ASSERT_EQ(platform.messages.size(), 1u);
            EXPECT_EQ(platform.messages[0].text, c.message);
            EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
        } else {
            EXPECT_TRUE(platform.messages.empty());
            EXPECT_EQ(map.imageWidth, c.width);
        }
    }
}

TEST_F(BmpAltitudeReaderTest, RefusedImagesSayWhy)
{
    std::vector<std::uint32_t> colours = greyPalette();
    colours[7] = 0xFF0000;   // one red entry
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        const char* message;
        MsgIcon icon;
    };
    const Case cases[] = {
        {"red pixel", makeBmp(16, 16, colours, [](int x, int y) { return x == 3 && y == 5 ? 7 : 20; }),
         "This image is not a grayscale image. Loading abandoned.", MsgIcon::Exclamation},
        {"true colour", makeBmp(16, 16, {}, [](int, int) { return 0x808080; }, 24),
         "This Image has more than 256 colors. Loading Abandoned.", MsgIcon::Exclamation},
        {"top-down of 4 bits", makeBmp(16, -16, std::vector<std::uint32_t>(16, 0x101010), [](int, int) { return 1; }, 4),
         "DIB is too large", MsgIcon::Information},
        {"not a bitmap", std::vector<unsigned char>(64, 'x'),
         "This file is not a readable bitmap: it does not start with the bitmap signature BM. Loading abandoned.",
         MsgIcon::Exclamation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        dir.write("bad.bmp", c.bytes);
        AltitudeMap map;
        EXPECT_FALSE(readBmpAltitudeMap(*doc, map, dir.file("bad.bmp")));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].icon, c.icon);
        EXPECT_TRUE(map.imageGrey.empty());
    }
}

TEST_F(BmpAltitudeReaderTest, OnlyTheColoursInUseMustBeGrey)
{
    std::vector<std::uint32_t> colours(256, 0x00FF00);   // a green table ...
    colours[3] = 0x030303;                               // ... of which two grey entries are used
    colours[9] = 0x090909;
    dir.write("mixed.bmp", makeBmp(32, 32, colours, [](int x, int) { return x < 16 ? 3 : 9; }));
    AltitudeMap map;
    ASSERT_TRUE(readBmpAltitudeMap(*doc, map, dir.file("mixed.bmp")));
    EXPECT_EQ(map.sourceParam1, 9);
    EXPECT_EQ(map.sourceParam2, 3);
}

TEST_F(BmpAltitudeReaderTest, FourBitImagesAndShortFiles)
{
    std::vector<std::uint32_t> sixteen(16);
    for (std::uint32_t i = 0; i < 16; ++i)
        sixteen[i] = (i * 17) * 0x010101;
    dir.write("four.bmp", makeBmp(16, 8, sixteen, [](int x, int) { return x % 16; }, 4));
    AltitudeMap map;
    ASSERT_TRUE(readBmpAltitudeMap(*doc, map, dir.file("four.bmp")));
    EXPECT_EQ(map.sourceParam1, 255);
    EXPECT_EQ(map.sourceParam2, 0);
    EXPECT_EQ(map.imageGrey[1], 17);

    // Pixel rows cut short: refused without reading past the end of the file.
    std::vector<unsigned char> cut = makeBmp(64, 64, greyPalette(), [](int, int) { return 5; });
    cut.resize(cut.size() - 100);
    dir.write("cut.bmp", cut);
    AltitudeMap other;
    EXPECT_FALSE(readBmpAltitudeMap(*doc, other, dir.file("cut.bmp")));
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(BmpAltitudeReaderTest, SingleGreyLevelGivesTheMinimumEverywhere)
{
    dir.write("flat.bmp", makeBmp(8, 8, greyPalette(), [](int, int) { return 77; }));
    AltitudeMap map;
    ASSERT_TRUE(readBmpAltitudeMap(*doc, map, dir.file("flat.bmp")));
    ASSERT_TRUE(setBmpExtents(*doc, map, 10, 11, 20, 21, 150, 900));
    for (const AltitudeRecord& r : map.records)
        EXPECT_EQ(r.altitude, 150);
}

TEST_F(BmpAltitudeReaderTest, CancelStopsReadingAndPlacing)
{
    AltitudeMap map;
    const std::string path = writeRamp(64, 64);
    platform.cancelAfterSteps = 100;
    EXPECT_FALSE(readBmpAltitudeMap(*doc, map, path));
    EXPECT_TRUE(map.imageGrey.empty());

    platform.cancelAfterSteps = -1;
    ASSERT_TRUE(readBmpAltitudeMap(*doc, map, path));
    platform.cancelAfterSteps = 10;
    EXPECT_FALSE(setBmpExtents(*doc, map, 0, 1, 0, 1, 0, 100));
    EXPECT_TRUE(map.records.empty());
}

TEST_F(BmpAltitudeReaderTest, MissingFiles)
{
    AltitudeMap map;
    EXPECT_FALSE(readBmpAltitudeMap(*doc, map, ""));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(readBmpAltitudeMap(*doc, map, dir.file("none.bmp")));
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_FALSE(setBmpExtents(*doc, map, 0, 1, 0, 1, 0, 100));   // nothing read to place
}

} // namespace
