#include <gtest/gtest.h>
#include <limits>

#include "view/MapTransform.h"
#include "view/ZoomTool.h"

TEST(MapTransform, PixelsChunksAndScrollSizeAtSeveralZooms)
{
    struct Case {
        double zoom;
        int offsetX, offsetY;
        ViewPoint pixel00;      // bitmap pixel (0, 0): bottom-left
        ViewRect chunk10;       // column 1, row 0
        ViewSize scroll;
    };
    // 2 x 2 chunks: 512 x 512 pixels.
    const Case cases[] = {
        {1.0, 0, 0, {0, 511}, {256, 256, 512, 512}, {512, 512}},
        {2.0, 0, 0, {0, 1022}, {512, 512, 1024, 1024}, {1024, 1024}},
        {0.5, 10, 20, {10, 20 + 255}, {138, 148, 266, 276}, {256, 256}},
        {0.125, 0, 0, {0, 63}, {32, 32, 64, 64}, {64, 64}},
        {8.0, 3, 4, {3, 4 + 4088}, {2051, 2052, 4099, 4100}, {4096, 4096}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        const MapTransform t(2, 2, c.zoom, c.offsetX, c.offsetY);
        EXPECT_EQ(t.pixelToView(0, 0), c.pixel00);
        EXPECT_EQ(t.chunkRect(1, 0), c.chunk10);
        EXPECT_EQ(t.scrollSize(), c.scroll);
    }
}

TEST(MapTransform, PointerPixelIsCountedFromTheBottomAndMinusOneOffTheMap)
{
    const MapTransform t(2, 1, 1.0);   // 512 x 256
    EXPECT_EQ(t.pixelXAt(0), 0);
    EXPECT_EQ(t.pixelXAt(511), 511);
    EXPECT_EQ(t.pixelXAt(512), -1);
    EXPECT_EQ(t.pixelXAt(-1), -1);
    EXPECT_EQ(t.pixelYAt(255), 0);  // the bottom row
    EXPECT_EQ(t.pixelYAt(0), 255);
    EXPECT_EQ(t.pixelYAt(256), -1);
    const MapTransform zoomed(2, 1, 2.0, 100, 50);
    EXPECT_EQ(zoomed.pixelXAt(100), 0);
    EXPECT_EQ(zoomed.pixelXAt(99), 0);   // -0.5 truncated toward zero
    EXPECT_EQ(zoomed.pixelXAt(97), -1);
    EXPECT_EQ(zoomed.pixelXAt(100 + 1023), 511);
    EXPECT_EQ(zoomed.pixelYAt(50), 255);
    EXPECT_EQ(zoomed.pixelYAt(50 + 511), 0);
}

TEST(MapTransform, CentresOnlyWhereTheWindowIsLarger)
{
    MapTransform t(2, 1, 1.0);   // 512 x 256
    t.centreIn(1001, 200);
    EXPECT_EQ(t.originOffsetX(), 244);   // (1001 - 512) / 2 rounded toward zero
    EXPECT_EQ(t.originOffsetY(), 0);
    t.setZoom(0.5);
    t.centreIn(1001, 300);
    EXPECT_EQ(t.originOffsetX(), 372);
    EXPECT_EQ(t.originOffsetY(), 86);
    t.centreIn(256, 128);
    EXPECT_EQ(t.originOffsetX(), 0);
    EXPECT_EQ(t.originOffsetY(), 0);
}

TEST(MapTransform, RecordsInsideTheBoundaryOnly)
{
    const GeoRect b{45.0, 46.0, 15.0, 17.0};
    const MapTransform t(2, 1, 1.0, 5, 7);   // 512 x 256
    EXPECT_EQ(t.geoToView(45.0, 15.0, b), (ViewPoint{5, 7 + 256}));
    EXPECT_EQ(t.geoToView(46.0, 17.0, b), (ViewPoint{5 + 512, 7}));
    EXPECT_EQ(t.geoToView(45.5, 16.0, b), (ViewPoint{5 + 256, 7 + 128}));
    EXPECT_FALSE(t.geoToView(44.99, 16.0, b));
    EXPECT_FALSE(t.geoToView(45.5, 17.01, b));
    EXPECT_FALSE(t.geoToView(std::numeric_limits<double>::quiet_NaN(), 16.0, b));
    EXPECT_FALSE(t.geoToView(45.0, 15.0, GeoRect{45.0, 45.0, 15.0, 17.0}));   // no extent: nothing, no NaN
}

TEST(MapTransform, GeoRangeCoversTheRectangle)
{
    const GeoRect b{45.0, 46.0, 15.0, 17.0};
    const MapTransform t(2, 1, 1.0);
    const auto range = t.geoRangeOf({256, 0, 512, 128}, b);
    ASSERT_TRUE(range);
    EXPECT_LE(range->west, 16.0);
    EXPECT_GE(range->east, 17.0);
    EXPECT_LE(range->south, 45.5);
    EXPECT_GE(range->north, 46.0);
    EXPECT_LT(range->west, 16.0 + 0.01);
    EXPECT_FALSE(t.geoRangeOf({0, 0, 10, 10}, GeoRect{}));
}

TEST(MapTransform, ExtremeValuesStayInRange)
{
    EXPECT_EQ(truncateToInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(truncateToInt(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(truncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(truncateToInt(-2.9), -2);
    const MapTransform t(2, 2, 1e-300);
    EXPECT_EQ(t.pixelXAt(5), -1);
}

TEST(ZoomTool, ThreeStepsFromOneReachEightAndAFourthChangesNothing)
{
    double zoom = 1.0;
    const char* const texts[] = {"2 x", "4 x", "8 x", "8 x"};
    for (const char* text : texts) {
        zoom = ZoomTool::zoomIn(zoom);
        EXPECT_EQ(ZoomTool::readOut(zoom), text);
    }
    EXPECT_EQ(zoom, 8.0);
}

TEST(ZoomTool, HalvingAndReadOut)
{
    EXPECT_EQ(ZoomTool::zoomOut(1.0), 0.5);
    EXPECT_EQ(ZoomTool::readOut(0.5), "1/2 x");
    EXPECT_EQ(ZoomTool::readOut(0.125), "1/8 x");
    EXPECT_EQ(ZoomTool::readOut(1.0), "1 x");
    EXPECT_EQ(ZoomTool::readOut(0.75), "1/1 x");   // 1 / 0.75 truncated
    EXPECT_EQ(ZoomTool::readOut(1.5), "1 x");
    // Many halvings: the read-out stays a number and the zoom never reaches 0.
    double zoom = 1.0;
    for (int i = 0; i < 2000; ++i)
        zoom = ZoomTool::zoomOut(zoom);
    EXPECT_EQ(zoom, ZoomTool::kMinZoom);
    EXPECT_EQ(ZoomTool::readOut(zoom), "1/1073741824 x");
}

TEST(ZoomTool, ScrollSizeMustFitTheScrollBars)
{
    const MapTransform small(64, 64);
    EXPECT_TRUE(ZoomTool::scrollSizeFits(small, 8.0));
    const MapTransform huge(1 << 20, 1);
    EXPECT_TRUE(ZoomTool::scrollSizeFits(huge, 2.0));
    EXPECT_FALSE(ZoomTool::scrollSizeFits(huge, 4.0));   // 2^30 is not below the limit
}

TEST(ZoomTool, AnchoredScrollKeepsThePointUnderThePointer)
{
    // Offsets 0: doubling scrolls by the clicked logical x (the point stays), halving by -x / 2.
    EXPECT_EQ(ZoomTool::anchoredScroll(300, 100, 1.0, 0, 2.0, 0), 100 + 300);
    EXPECT_EQ(ZoomTool::anchoredScroll(300, 100, 1.0, 0, 0.5, 0), 100 - 150);
    // With a centring offset: the map position under the window point is the same before and after.
    const int logical = 260, scroll = 0, oldOffset = 200, newOffset = 0;
    const int newScroll = ZoomTool::anchoredScroll(logical, scroll, 1.0, oldOffset, 4.0, newOffset);
    const double before = (logical - oldOffset) / 1.0;
    const double after = ((logical - scroll) + newScroll - newOffset) / 4.0;
    EXPECT_DOUBLE_EQ(before, after);
}
