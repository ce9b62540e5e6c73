// AltitudeMap: extreme values, the copy rule, the nearest-record search and the stable sort.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "altitude/AltitudeMap.h"

namespace {

AltitudeMap mapOf(std::vector<AltitudeRecord> records)
{
    AltitudeMap map;
    map.records = std::move(records);
    return map;
}

TEST(AltitudeMapTest, EmptyMapGivesTheStartingValues)
{
    const AltitudeMap map;
    EXPECT_EQ(map.findNearest(10.0, 10.0), 0u);
    EXPECT_EQ(map.findNearestUnsorted(10.0, 10.0), 0u);
    EXPECT_EQ(map.maxAltitude(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(map.minAltitudeOfRecords(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(map.minLongitude(), 180.0);
    EXPECT_EQ(map.maxLongitude(), -180.0);
    EXPECT_EQ(map.minLatitude(), 90.0);
    EXPECT_EQ(map.maxLatitude(), -90.0);
}

TEST(AltitudeMapTest, ExtremeValuesOfRecords)
{
    const AltitudeMap map = mapOf({{10.0, -5.0, 7}, {-20.0, 30.0, -400}, {15.0, 2.0, 8848}});
    EXPECT_EQ(map.maxAltitude(), 8848);
    EXPECT_EQ(map.minAltitudeOfRecords(), -400);
    EXPECT_EQ(map.minLongitude(), -5.0);
    EXPECT_EQ(map.maxLongitude(), 30.0);
    EXPECT_EQ(map.minLatitude(), -20.0);
    EXPECT_EQ(map.maxLatitude(), 15.0);
}

TEST(AltitudeMapTest, CopyTakesEverythingButTheTitle)
{
    AltitudeMap source = mapOf({{1, 2, 3}});
    source.title = "C:\\dem\\a.dt0";
    source.columns = 4;
    source.rows = 5;
    source.sourceType = 2;
    source.sourceParam1 = 6;
    source.sourceParam2 = 7;
    source.showWater = 1;
    source.enabled = 0;
    source.waterLevel = -8;
    source.overrides = {{9, 9, 9}};
    source.deletions = {{8, 8, 8}};
    source.insertions = {{7, 7, 7}};
    const AltitudeMap copy(source);
    EXPECT_EQ(copy.title, "<no title>");
    EXPECT_EQ(copy.records, source.records);
    EXPECT_EQ(copy.columns, 4);
    EXPECT_EQ(copy.rows, 5);
    EXPECT_EQ(copy.sourceType, 2);
    EXPECT_EQ(copy.sourceParam1, 6);
    EXPECT_EQ(copy.sourceParam2, 7);
    EXPECT_EQ(copy.showWater, 1);
    EXPECT_EQ(copy.enabled, 0);
    EXPECT_EQ(copy.waterLevel, -8);
    EXPECT_EQ(copy.overrides, source.overrides);
    EXPECT_EQ(copy.deletions, source.deletions);
    EXPECT_EQ(copy.insertions, source.insertions);
}

TEST(AltitudeMapTest, FindNearestCases)
{
    // Sorted by longitude.
    const AltitudeMap map = mapOf({{0.0, 5.0, 0}, {1.0, 9.0, 1}, {-1.0, 9.0, 2}, {0.0, 10.0, 3}, {0.0, 12.0, 4}});
    struct Case {
        const char* what;
        double latitude, longitude;
        std::size_t expected;
    };
    const Case cases[] = {
        {"exact record", 0.0, 10.0, 3},
        {"closest by both axes", 0.9, 9.1, 1},
        {"tie keeps the earlier record", 0.0, 9.0, 1},
        {"window edge is inside (exactly one degree)", 50.0, 11.0, 3},
        {"nearer record outside the window is never chosen", 0.0, 6.5, 0},
        {"nothing within one degree gives 0", 0.0, 30.0, 0},
        {"nothing within one degree west either", 0.0, -10.0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(map.findNearest(c.latitude, c.longitude), c.expected);
        EXPECT_EQ(map.findNearestUnsorted(c.latitude, c.longitude), c.expected);
    }
}

TEST(AltitudeMapTest, UnsortedSearchAgreesWithSortedSearch)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lat(-2.0, 2.0), lon(-3.0, 3.0);
    AltitudeMap rowOrder;
    for (int row = 0; row < 20; ++row)
        for (int column = 0; column < 20; ++column)
            rowOrder.records.push_back({row * 0.2 - 2.0, column * 0.3 - 3.0, row * 100 + column});
    AltitudeMap sorted = rowOrder;
    sorted.sortByLongitude();
    for (int i = 0; i < 500; ++i) {
        const double la = lat(random), lo = lon(random);
        EXPECT_EQ(sorted.records[sorted.findNearest(la, lo)], rowOrder.records[rowOrder.findNearestUnsorted(la, lo)]);
    }
}

TEST(AltitudeMapTest, SortByLongitudeIsStable)
{
    AltitudeMap map = mapOf({{0, 3.0, 0}, {0, 1.0, 1}, {0, 3.0, 2}, {0, 1.0, 3}, {0, 2.0, 4}, {0, 1.0, 5}});
    map.sortByLongitude();
    std::vector<std::int32_t> order;
    for (const AltitudeRecord& r : map.records)
        order.push_back(r.altitude);
    EXPECT_EQ(order, (std::vector<std::int32_t>{1, 3, 5, 4, 0, 2}));
}

} // namespace
