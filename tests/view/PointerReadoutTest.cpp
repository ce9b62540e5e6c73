#include <gtest/gtest.h>

#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "view/PointerReadout.h"

class PointerReadoutTest : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    CDibDoc doc{app};
    NearestAltitudeCache cache;

    void SetUp() override
    {
        doc.chunkColumns = 2;
        doc.chunkRows = 1;   // 512 x 256 pixels
        doc.boundary = {45.0, 46.0, 15.0, 17.0};
        doc.mainAltitudeMap.records = {{45.5, 15.2, 100}, {45.5, 16.0, 250}, {45.9, 16.9, 700}};
    }
};

TEST_F(PointerReadoutTest, OverTheBitmapWithABoundary)
{
    const MapTransform t(2, 1, 1.0);
    const PointerReadout r = readPointer(doc, t, 256, 127, 0, cache);
    EXPECT_EQ(r.pixelX, 256);
    EXPECT_EQ(r.pixelY, 128);
    EXPECT_DOUBLE_EQ(r.longitude, 15.0 + 256 * 2.0 / 512);
    EXPECT_DOUBLE_EQ(r.latitude, 45.0 + 128 * 1.0 / 256);
    EXPECT_EQ(r.altitude, 250);
    EXPECT_EQ(r.altitudeText, "250 m");
    EXPECT_EQ(r.longitudeText, formatCoordinate(16.0, 0));
    EXPECT_EQ(r.latitudeText, formatCoordinate(45.5, 0));
    EXPECT_EQ(r.xText, "256");
    EXPECT_EQ(r.yText, "128");
    EXPECT_EQ(readPointer(doc, t, 256, 127, 1, cache).longitudeText, formatCoordinate(16.0, 1));
    storePointer(doc, r);
    EXPECT_EQ(doc.clickPixelX, 256);
    EXPECT_EQ(doc.clickAltitude, 250);
    EXPECT_DOUBLE_EQ(doc.clickLongitude, 16.0);
}

TEST_F(PointerReadoutTest, OutsideTheBitmap)
{
    const MapTransform t(2, 1, 1.0);
    for (const auto& [x, y] : {std::pair{600, 10}, std::pair{10, 300}, std::pair{-5, -5}}) {
        const PointerReadout r = readPointer(doc, t, x, y, 0, cache);
        EXPECT_EQ(r.longitudeText, "N/A");
        EXPECT_EQ(r.latitudeText, "N/A");
        EXPECT_EQ(r.altitudeText, "N/A");
        EXPECT_EQ(r.xText, "OUT OF BOUNDS");
        EXPECT_EQ(r.yText, "OUT OF BOUNDS");
        EXPECT_FALSE(r.hasPosition());
    }
    doc.clickAltitude = 42;
    storePointer(doc, readPointer(doc, t, 600, 10, 0, cache));
    EXPECT_EQ(doc.clickPixelX, -1);
    EXPECT_EQ(doc.clickLatitude, std::numeric_limits<double>::max());
    EXPECT_EQ(doc.clickAltitude, 42);
}

TEST_F(PointerReadoutTest, WithoutBoundaryOrRecords)
{
    const MapTransform t(2, 1, 1.0);
    doc.boundary = {};
    PointerReadout r = readPointer(doc, t, 10, 10, 0, cache);
    EXPECT_EQ(r.longitudeText, "UNDEFINED");
    EXPECT_EQ(r.latitudeText, "UNDEFINED");
    EXPECT_EQ(r.altitudeText, "-");
    EXPECT_EQ(r.xText, "10");
    EXPECT_FALSE(r.hasPosition());
    doc.boundary = {45.0, 46.0, 15.0, 17.0};
    doc.mainAltitudeMap.records.clear();
    r = readPointer(doc, t, 10, 10, 0, cache);
    EXPECT_EQ(r.altitudeText, "0 m");
}

TEST_F(PointerReadoutTest, TheSearchFollowsARebuiltMap)
{
    const MapTransform t(2, 1, 1.0);
    EXPECT_EQ(readPointer(doc, t, 256, 127, 0, cache).altitude, 250);
    doc.mainAltitudeMap.records = {{45.5, 16.0, 999}};
    EXPECT_EQ(readPointer(doc, t, 256, 127, 0, cache).altitude, 999);
}
