#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "altitude/AltitudeMap.h"
#include "output/NearestRecordSearch.h"

namespace {

// Queries against maps of many shapes: the search must return findNearest's index every time.
TEST(NearestRecordSearch, AgreesWithFindNearestEverywhere)
{
    std::mt19937 random(7);
    struct Shape {
        const char* name;
        int count;
        double lonSpan;
        double step;   // > 0: coordinates on a grid of this step, so ties and shared longitudes are common
        bool sort;
    };
    const Shape shapes[] = {{"empty", 0, 1, 0, true},          {"one", 1, 1, 0, true},
                            {"scattered", 400, 5, 0, true},     {"grid with ties", 900, 3, 0.25, true},
                            {"narrow", 300, 0.01, 0.001, true}, {"unsorted", 300, 4, 0.5, false}};
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        AltitudeMap map;
        std::uniform_real_distribution<double> lon(-73.0, -73.0 + shape.lonSpan);
        std::uniform_real_distribution<double> lat(45.0, 46.0);
        auto snap = [&](double v) { return shape.step > 0 ? std::round(v / shape.step) * shape.step : v; };
        for (int i = 0; i < shape.count; ++i)
            map.records.push_back({snap(lat(random)), snap(lon(random)), i});
        if (shape.sort)
            map.sortByLongitude();
        const NearestRecordSearch search(map);
        std::uniform_real_distribution<double> qLon(-75.5, -73.0 + shape.lonSpan + 2.5);
        std::uniform_real_distribution<double> qLat(44.0, 47.0);
        for (int q = 0; q < 3000; ++q) {
            const double la = q % 3 == 0 ? snap(qLat(random)) : qLat(random);
            const double lo = q % 3 == 0 ? snap(qLon(random)) : qLon(random);
            ASSERT_EQ(search.nearest(la, lo), map.findNearest(la, lo)) << la << " " << lo;
        }
        const double nan = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(search.nearest(nan, -73.0), map.findNearest(nan, -73.0));
        EXPECT_EQ(search.nearest(45.0, nan), map.findNearest(45.0, nan));
    }
}

// Maps made of longitude columns as the readers and the merge make them: columns rising or
// falling in latitude, two grids merged over each other (equal longitudes whose latitudes go
// up twice), repeated points, NaN latitudes, and queries on posts and half-way between them,
// where distances tie.
TEST(NearestRecordSearch, AgreesWithFindNearestOnColumnMaps)
{
    std::mt19937 random(11);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int trial = 0; trial < 60; ++trial) {
        SCOPED_TRACE(trial);
        AltitudeMap map;
        const int grids = 1 + trial % 3;
        for (int g = 0; g < grids; ++g) {
            const int columns = 1 + static_cast<int>(random() % 12);
            const int rows = 1 + static_cast<int>(random() % 40);
            const double step = g == 1 ? 0.125 : 0.25 / (1 + static_cast<int>(random() % 3));
            const double west = -73.0 + (random() % 4) * 0.25;
            const double south = 45.0 + (random() % 4) * 0.125;
            const int order = static_cast<int>(random() % 4);   // rising, falling, mixed, shuffled
            for (int c = 0; c < columns; ++c) {
                std::vector<AltitudeRecord> column;
                for (int r = 0; r < rows; ++r) {
                    double lat = south + r * step;
                    if (random() % 17 == 0)
                        lat = nan;
                    column.push_back({lat, west + c * step, static_cast<std::int32_t>(random() % 5)});
                    if (random() % 9 == 0)
                        column.push_back(column.back());   // the same point twice
                }
                if (order == 1 || (order == 2 && c % 2 == 1))
                    std::reverse(column.begin(), column.end());
                if (order == 3)
                    std::shuffle(column.begin(), column.end(), random);
                map.records.edit().insert(map.records.edit().end(), column.begin(), column.end());
            }
        }
        map.sortByLongitude();
        const NearestRecordSearch search(map);
        std::uniform_real_distribution<double> qLon(-74.5, -70.5);
        std::uniform_real_distribution<double> qLat(44.5, 50.0);
        for (int q = 0; q < 2000; ++q) {
            double la = qLat(random), lo = qLon(random);
            if (q % 4 == 0) {   // on a post or half-way between posts
                la = std::round(la * 16) / 16;
                lo = std::round(lo * 16) / 16;
            } else if (q % 4 == 1 && !map.records.empty()) {
                const AltitudeRecord& r = map.records[random() % map.records.size()];
                lo = r.longitude;
                la = std::isnan(r.latitude) ? la : r.latitude + (q % 8 == 1 ? 0.0 : 1.0 / 32);
            }
            ASSERT_EQ(search.nearest(la, lo), map.findNearest(la, lo)) << la << " " << lo;
        }
    }
}

TEST(NearestRecordSearch, EqualDistancesGoToTheEarlierRecord)
{
    AltitudeMap map;
    // Four records at exactly the same distance around the query, two on its longitude.
    map.records = {{45.0, -73.5, 1}, {45.5, -73.0, 2}, {44.5, -73.0, 3}, {45.0, -72.5, 4}};
    const NearestRecordSearch search(map);
    EXPECT_EQ(search.nearest(45.0, -73.0), 0u);
    EXPECT_EQ(map.findNearest(45.0, -73.0), 0u);
    map.records.edit().erase(map.records.edit().begin());
    const NearestRecordSearch east(map);
    EXPECT_EQ(east.nearest(45.0, -73.0), 0u);
    EXPECT_EQ(east.nearest(45.0, -71.0), 0u);   // nothing within one degree of longitude
}

} // namespace
