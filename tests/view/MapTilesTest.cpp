// The pieces under the map's kept tiles: pixel masks and stamps, the tile store and the
// fingerprint that tells when kept tiles no longer show the project.
#include <gtest/gtest.h>
#include <functional>
#include <limits>
#include <random>
#include <set>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "synth/Texture.h"
#include "view/MapLayersKey.h"
#include "view/PixelMask.h"
#include "view/TileCache.h"

namespace {
std::set<std::pair<int, int>> pixelsOf(const PixelMask& m)
{
    std::set<std::pair<int, int>> set;
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (m.test(x, y))
                set.insert({x, y});
    return set;
}
} // namespace

TEST(PixelMask, StampsSetExactlyTheirPixelsAnywhereAcrossWordsAndEdges)
{
    // A ragged mark wider than one word, stamped at random points, some across the edges: the
    // mask holds the union of its pixels inside the rectangle and nothing else, spare word included.
    std::vector<std::pair<int, int>> offsets = {{-40, -3}, {0, 0}, {31, -1}, {33, 2}, {-2, 4}, {5, -3}};
    const PixelStamp stamp = PixelStamp::fromOffsets(offsets);
    EXPECT_EQ(stamp.left, -40);
    EXPECT_EQ(stamp.top, -3);
    EXPECT_EQ(stamp.width, 74);
    EXPECT_EQ(stamp.height, 8);
    EXPECT_EQ(stamp.words, 2);
    for (int width : {1, 63, 64, 65, 130, 200}) {
        PixelMask mask(width, 37);
        std::set<std::pair<int, int>> expected;
        std::mt19937 random(static_cast<unsigned>(width));
        for (int n = 0; n < 60; ++n) {
            const int x = static_cast<int>(random() % (width + 100)) - 50, y = static_cast<int>(random() % 60) - 10;
            mask.stamp(stamp, x, y);
            for (const auto& [dx, dy] : offsets)
                if (x + dx >= 0 && x + dx < width && y + dy >= 0 && y + dy < 37)
                    expected.insert({x + dx, y + dy});
        }
        EXPECT_EQ(pixelsOf(mask), expected) << width;
        // The rows read as words say the same for every pixel inside.
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(((mask.row(y)[x / 64] >> (x % 64)) & 1) != 0, expected.count({x, y}) == 1);
        EXPECT_EQ(mask.wordsPerRow(), (width + 63) / 64);
    }
}

TEST(PixelMask, NarrowStampsAndCrossesSetExactlyTheirPixels)
{
    // Marks of one word a row (labels: up to and past the width set with one OR a row, of heights
    // with and without rows written out) and crosses
    // of arms up to beyond the border, at random points inside, across the edges and far outside:
    // exactly their pixels inside, clipped.
    for (int labelWidth : {43, 57, 58, 64})
    for (int labelHeight : {1, 5, 7, 12, 13})
    for (int width : {1, 63, 64, 65, 130, 200}) {
        const int top = -labelHeight / 2, bottom = top + labelHeight - 1;
        const std::vector<std::pair<int, int>> offsets = {{-20, top}, {0, 0}, {labelWidth - 21, bottom}, {-1, bottom},
                                                          {5, top}, {1, (top + bottom) / 2}};
        const PixelStamp label = PixelStamp::fromOffsets(offsets);
        ASSERT_EQ(label.words, 1);
        ASSERT_EQ(label.width, labelWidth);
        ASSERT_EQ(label.height, labelHeight);
        const int height = 41;
        PixelMask labels(width, height), crosses(width, height);
        std::set<std::pair<int, int>> expectedLabels, expectedCrosses;
        std::mt19937 random(static_cast<unsigned>(width) + 5);
        auto inside = [&](int x, int y) { return x >= 0 && x < width && y >= 0 && y < height; };
        for (int n = 0; n < 200; ++n) {
            const int x = static_cast<int>(random() % (width + 300)) - 150;
            const int y = static_cast<int>(random() % (height + 300)) - 150;
            labels.stamp(label, x, y);
            for (const auto& [dx, dy] : offsets)
                if (inside(x + dx, y + dy))
                    expectedLabels.insert({x + dx, y + dy});
            const int arm = static_cast<int>(random() % 71);
            crosses.stamp(PixelStamp::cross(arm), x, y);
            for (int d = -arm; d <= arm; ++d) {
                if (inside(x + d, y))
                    expectedCrosses.insert({x + d, y});
                if (inside(x, y + d))
                    expectedCrosses.insert({x, y + d});
            }
        }
        EXPECT_EQ(pixelsOf(labels), expectedLabels) << width << " " << labelWidth << " x " << labelHeight;
        EXPECT_EQ(pixelsOf(crosses), expectedCrosses) << width;
    }
}

TEST(PixelMask, PointsGrowIntoTheCrossesOfTheirArm)
{
    // Points inside, across the edges, in the border and beyond it, grown at once into crosses of
    // one arm: exactly the crosses' pixels inside, as if each had been drawn. An arm longer than
    // the border allows is refused and changes nothing.
    for (int arm : {0, 1, 2, 3, 5, 9, 31, 33, 63})
        for (int width : {1, 63, 64, 65, 200}) {
            const int height = 37;
            PixelMask crosses(width, height);
            std::set<std::pair<int, int>> expected;
            std::mt19937 random(static_cast<unsigned>(arm * 1000 + width));
            for (int n = 0; n < 60; ++n) {
                const int x = static_cast<int>(random() % (width + 400)) - 200;
                const int y = static_cast<int>(random() % (height + 400)) - 200;
                crosses.setPoint(x, y);
                for (int d = -arm; d <= arm; ++d) {
                    if (x + d >= 0 && x + d < width && y >= 0 && y < height)
                        expected.insert({x + d, y});
                    if (x >= 0 && x < width && y + d >= 0 && y + d < height)
                        expected.insert({x, y + d});
                }
            }
            ASSERT_TRUE(crosses.growCrosses(arm));
            EXPECT_EQ(pixelsOf(crosses), expected) << "arm " << arm << " width " << width;
            EXPECT_FALSE(crosses.growCrosses(PixelMask::kMaxGrownArm + 1));
            EXPECT_FALSE(crosses.growCrosses(-1));
            EXPECT_EQ(pixelsOf(crosses), expected);
        }
}

TEST(MapLayersKey, TheFingerprintsPassSaysWhetherRecordsAreInLongitudeOrder)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::vector<double> longitudes;
        bool ordered;
    };
    const Case cases[] = {
        {{}, true},
        {{15.0}, true},
        {{nan}, false},
        {{15.0, 15.0, 15.5, 16.0, 16.0}, true},
        {{15.0, 15.5, 15.2, 16.0, 16.1}, false},
        {{15.0, 15.1, 15.2, 15.3, 15.4, 15.3}, false},   // out of order in the tail after the groups of four
        {{15.0, 15.1, nan, 15.3, 15.4}, false},
        {{15.0, 15.1, 15.2, 15.3, 15.4, 15.5, 15.6, nan}, false},
    };
    for (const Case& c : cases) {
        RecordList records;
        for (double longitude : c.longitudes)
            records.push_back({45.5, longitude, 100});
        bool ordered = !c.ordered;
        const std::uint64_t key = altitudeRecordsKey(records, &ordered);
        EXPECT_EQ(ordered, c.ordered) << c.longitudes.size();
        EXPECT_EQ(key, altitudeRecordsKey(records)) << c.longitudes.size();
        RecordList packed = records;
        packed.pack();
        EXPECT_EQ(packed.inLongitudeOrder(), c.ordered) << c.longitudes.size();
    }
}

TEST(PixelMask, AMarkLargerThanTheBorderIsClippedToo)
{
    std::vector<std::pair<int, int>> offsets;
    for (int i = -150; i <= 150; ++i)
        offsets.push_back({i, i / 2});
    const PixelStamp stamp = PixelStamp::fromOffsets(offsets);
    PixelMask mask(40, 30);
    mask.stamp(stamp, 20, 10);
    std::set<std::pair<int, int>> expected;
    for (const auto& [dx, dy] : offsets)
        if (20 + dx >= 0 && 20 + dx < 40 && 10 + dy >= 0 && 10 + dy < 30)
            expected.insert({20 + dx, 10 + dy});
    EXPECT_EQ(pixelsOf(mask), expected);
}

TEST(PixelMask, RunsAndSinglePixelsAreClipped)
{
    struct Case {
        int y, x0, x1;
        std::set<std::pair<int, int>> pixels;
    };
    const Case cases[] = {
        {1, 2, 4, {{2, 1}, {3, 1}, {4, 1}}},
        {0, -3, 1, {{0, 0}, {1, 0}}},
        {2, 68, 75, {{68, 2}, {69, 2}}},
        {-1, 0, 5, {}},
        {3, 10, 9, {}},
    };
    for (const Case& c : cases) {
        PixelMask mask(70, 3);
        mask.setRun(c.y, c.x0, c.x1);
        EXPECT_EQ(pixelsOf(mask), c.pixels) << c.y << " " << c.x0 << " " << c.x1;
    }
    PixelMask wide(300, 1);
    wide.setRun(0, 0, 299);
    EXPECT_EQ(pixelsOf(wide).size(), 300u);
    PixelMask mask(5, 5);
    mask.set(-1, 2);
    mask.set(5, 2);
    mask.set(2, 5);
    mask.set(4, 4);
    EXPECT_EQ(pixelsOf(mask), (std::set<std::pair<int, int>>{{4, 4}}));
    EXPECT_TRUE(PixelStamp::fromOffsets({}).empty());
    mask.stamp(PixelStamp::fromOffsets({}), 1, 1);
    EXPECT_EQ(pixelsOf(mask).size(), 1u);
}

TEST(TileCache, KeepsTilesForOneKeyAndDropsTheLeastRecentlyUsed)
{
    TileCache<int> cache(3);
    cache.useKey(7);
    cache.put(0, 0, 10);
    cache.put(1, 0, 11);
    cache.put(0, 1, 12);
    ASSERT_TRUE(cache.find(0, 0));   // now the most recently used
    cache.put(5, -2, 13);            // drops (1, 0)
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_FALSE(cache.find(1, 0));
    EXPECT_EQ(*cache.find(0, 0), 10);
    EXPECT_EQ(*cache.find(5, -2), 13);
    cache.useKey(7);                 // the same: kept
    EXPECT_EQ(cache.size(), 3u);
    cache.useKey(8);                 // another: all gone
    EXPECT_EQ(cache.size(), 0u);
    cache.put(0, 0, 1);
    cache.clear();
    cache.useKey(8);                 // after clear nothing survives either
    EXPECT_FALSE(cache.find(0, 0));
}

class MapLayersKeyTest : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    CDibDoc doc{app};
    Texture texture;
    MapOverlays all;

    void SetUp() override
    {
        doc.chunkColumns = doc.chunkRows = 2;
        doc.boundary = {45, 46, 15, 16};
        for (int i = 0; i < 4; ++i) {
            TexReliefChunk chunk;
            chunk.chunkValueA = i % 2;
            chunk.chunkValueB = i / 2;
            chunk.texture = &texture;
            doc.chunks.push_back(chunk);
        }
        doc.mainAltitudeMap.records = {{45.5, 15.5, 100}, {45.6, 15.7, 200}};
        all.gridLines = all.gridNodes = all.altitudeNodes = all.altitudeLabels = true;
    }
    std::uint64_t key(const MapOverlays& o, double zoom = 1.0)
    {
        return mapLayersKey(doc, MapTransform(2, 2, zoom), o, altitudeRecordsKey(doc.mainAltitudeMap.records));
    }
};

TEST_F(MapLayersKeyTest, EveryChangeTheLayersShowChangesTheKey)
{
    const std::uint64_t before = key(all);
    EXPECT_EQ(key(all), before);
    EXPECT_NE(key(all, 0.5), before);
    const std::vector<std::function<void()>> edits = {
        [&] { doc.mainAltitudeMap.records.edit()[1].altitude = 201; },
        [&] { doc.mainAltitudeMap.records.edit()[0].latitude += 1e-9; },
        [&] { doc.mainAltitudeMap.records.edit()[0].longitude += 1e-9; },
        [&] { doc.mainAltitudeMap.records.push_back({45.1, 15.1, 0}); },
        [&] { doc.boundary.east = 16.5; },
        [&] { doc.textColor = 0x123456; },
        [&] { doc.gridColor = 0x654321; },
        [&] { doc.chunks[3].chunkValueC = 2; },
        [&] { doc.chunks[2].properties.gridDensity = 8; },
        [&] { doc.chunks[1].texture = nullptr; },
        [&] { texture.kind = 0; },
        [&] { texture.classCode = 3; },
        [&] { app.settings.showSynthTilesColorCoded = 1; },
        [&] { app.settings.zoomLevel = 2.0; },
        [&] { app.settings.textureClasses.resize(2); },
        [&] { app.settings.textureClasses[1].color = 0xFF; },
    };
    std::uint64_t last = before;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i]();
        const std::uint64_t now = key(all);
        EXPECT_NE(now, last) << "edit " << i;
        last = now;
    }
    for (bool MapOverlays::*flag : {&MapOverlays::gridLines, &MapOverlays::gridNodes, &MapOverlays::altitudeNodes,
                                    &MapOverlays::altitudeLabels}) {
        MapOverlays o = all;
        o.*flag = false;
        EXPECT_NE(key(o), last);
    }
    // The layers above the tiles do not count.
    MapOverlays o = all;
    o.scaleBar = o.markers = o.selection = false;
    EXPECT_EQ(key(o), last);
}

TEST_F(MapLayersKeyTest, RecordsCountOnlyWhileShown)
{
    MapOverlays none;
    const std::uint64_t before = key(none);
    doc.mainAltitudeMap.records.edit()[0].altitude = 5;
    doc.boundary.north = 47;
    EXPECT_EQ(key(none), before);
    EXPECT_NE(altitudeRecordsKey(RecordList{}), altitudeRecordsKey(RecordList{{0, 0, 0}}));
}
