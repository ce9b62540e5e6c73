#include <gtest/gtest.h>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudePlacement.h"
#include "altitude/AltitudePreview.h"

namespace {

constexpr std::uint32_t kBlue = 0x00FF0000;

std::uint32_t grey(std::uint32_t g)
{
    return g | g << 8 | g << 16;
}

// A 3 x 2 grid from (10 N, 20 E), one degree apart, altitudes 0..255 from the south-west.
AltitudeMap grid(int sourceType)
{
    AltitudeMap map;
    map.sourceType = sourceType;
    map.columns = 3;
    map.rows = 2;
    const int altitudes[] = {0, 51, 102, 153, 204, 255};
    for (int r = 0, k = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c, ++k)
            map.records.push_back({10.0 + r, 20.0 + c, altitudes[k]});
    return map;
}

TEST(AltitudePreviewTest, NorthIsAtTheTopAndEdgesFollowThePageRule)
{
    const AltitudeMap map = grid(2);
    // DTED and TEXT pages: the records on the east and north edges fall outside the picture.
    const AltitudePreviewImage open = buildAltitudePreview(map, false, 0, false);
    ASSERT_EQ(open.width, 3);
    ASSERT_EQ(open.height, 2);
    EXPECT_EQ(open.at(0, 1), grey(0));     // south-west record, bottom row
    EXPECT_EQ(open.at(1, 1), grey(51));
    EXPECT_EQ(open.at(2, 1), grey(0));     // x = columns: not drawn
    EXPECT_EQ(open.at(0, 0), grey(0));     // y = rows: not drawn
    // BMP page: they move onto the last column and row.
    AltitudeMap bmp = grid(1);
    bmp.sourceParam1 = 255;
    bmp.sourceParam2 = 0;
    const AltitudePreviewImage clamped = buildAltitudePreview(bmp, false, 0, true);
    EXPECT_EQ(clamped.at(2, 1), grey(102));
    EXPECT_EQ(clamped.at(0, 0), grey(153));
    EXPECT_EQ(clamped.at(2, 0), grey(255));
}

TEST(AltitudePreviewTest, WaterAtOrBelowTheLevelIsBlue)
{
    const AltitudeMap map = grid(3);
    const AltitudePreviewImage image = buildAltitudePreview(map, true, 51, false);
    EXPECT_EQ(image.at(0, 1), kBlue);
    EXPECT_EQ(image.at(1, 1), kBlue);   // exactly at the level
    const AltitudePreviewImage dry = buildAltitudePreview(map, false, 51, false);
    EXPECT_EQ(dry.at(1, 1), grey(51));
}

TEST(AltitudePreviewTest, BmpGreysStartAtTheLowestLevelOfTheImage)
{
    AltitudeMap map = grid(1);
    map.sourceParam1 = 110;   // image levels 10..110 over altitudes 0..255
    map.sourceParam2 = 10;
    const AltitudePreviewImage image = buildAltitudePreview(map, false, 0, true);
    EXPECT_EQ(image.at(0, 1), grey(10));
    EXPECT_EQ(image.at(1, 1), grey(30));   // 10 + 51 / 2.55
    EXPECT_EQ(image.at(2, 0), grey(110));
}

TEST(AltitudePreviewTest, FlatMapsHaveNoGreyStepButStillDraw)
{
    for (int type : {1, 2}) {
        SCOPED_TRACE(type);
        AltitudeMap map = grid(type);
        for (AltitudeRecord& r : map.records.edit())
            r.altitude = 40;
        map.sourceParam1 = map.sourceParam2 = 7;   // and a BMP of one grey level
        const AltitudePreviewImage image = buildAltitudePreview(map, false, 0, true);
        EXPECT_EQ(image.at(0, 1), grey(type == 1 ? 7 : 0));
        EXPECT_EQ(buildAltitudePreview(map, true, 40, true).at(0, 1), kBlue);
        EXPECT_NE(buildAltitudePreview(map, true, 39, true).at(0, 1), kBlue);
    }
    AltitudeMap empty;
    EXPECT_TRUE(buildAltitudePreview(empty, false, 0, false).pixels.empty());
}

TEST(AltitudePreviewTest, GridFarLargerThanItsRecordsGivesNoPicture)
{
    // Grid sizes from a damaged project file: 2^31 - 1 squared cells for six records.
    AltitudeMap map = grid(2);
    map.columns = map.rows = 2147483647;
    const AltitudePreviewImage image = buildAltitudePreview(map, false, 0, false);
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.pixels.empty());
    // A map that lost some records to deletions keeps its picture.
    map = grid(2);
    map.records.edit().resize(2);
    EXPECT_EQ(buildAltitudePreview(map, false, 0, false).width, 3);
}

TEST(AltitudePlacementTest, RecordsMoveOntoTheAreaRowByRow)
{
    AltitudeMap map = grid(1);
    ASSERT_TRUE(placeRecordsOverArea(map, GeoRect{-5.0, -3.0, 100.0, 101.0}));
    EXPECT_EQ(map.records[0], (AltitudeRecord{-5.0, 100.0, 0}));
    EXPECT_EQ(map.records[1], (AltitudeRecord{-5.0, 100.5, 51}));
    EXPECT_EQ(map.records[5], (AltitudeRecord{-3.0, 101.0, 255}));

    map.records.edit().pop_back();   // no longer a full grid: left alone
    const auto before = map.records;
    EXPECT_FALSE(placeRecordsOverArea(map, GeoRect{0, 1, 0, 1}));
    EXPECT_EQ(map.records, before);
}

} // namespace
