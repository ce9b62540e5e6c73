// The void fill against GDAL's own fill-nodata on the same grids, and the rules it keeps: a void
// between neighbours takes a value between them, a flat field stays flat, the reach is a limit,
// a large void area costs the voids times the reach, and Cancel stops it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>

#include "import/GeoTiffFiles.h"
#include "import/VoidFill.h"

namespace {

constexpr std::int16_t kVoid = -32768;

struct Grid {
    int width = 0;
    int height = 0;
    std::vector<std::int16_t> posts;
    std::int16_t& at(int x, int y) { return posts[static_cast<std::size_t>(y) * width + x]; }
    void clear(int x0, int y0, int x1, int y1)
    {
        for (int y = std::max(0, y0); y <= std::min(height - 1, y1); ++y)
            for (int x = std::max(0, x0); x <= std::min(width - 1, x1); ++x)
                at(x, y) = kVoid;
    }
};

// Rolling heights with noise, voids scattered at `share` of the posts.
Grid terrain(int width, int height, double share, unsigned seed)
{
    Grid g{width, height, std::vector<std::int16_t>(static_cast<std::size_t>(width) * height)};
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            g.at(x, y) = unit(random) < share
                             ? kVoid
                             : static_cast<std::int16_t>(800 + 300 * std::sin(x * 0.05) * std::cos(y * 0.07) +
                                                         40 * unit(random));
    return g;
}

// GDAL's fill-nodata of the whole grid: the value of each post afterwards, NaN where still void.
std::vector<float> gdalFill(const Grid& g, int reach)
{
    geotiff::registerOnce();
    GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", g.width, g.height, 1, GDT_Float32, nullptr);
    GDALRasterBandH band = GDALGetRasterBand(mem, 1);
    GDALSetRasterNoDataValue(band, kVoid);
    std::vector<float> values(g.posts.begin(), g.posts.end());
    EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, 0, g.width, g.height, values.data(), g.width, g.height, GDT_Float32, 0,
                           0),
              CE_None);
    char** options = CSLSetNameValue(nullptr, "TEMP_FILE_DRIVER", "MEM");
    EXPECT_EQ(GDALFillNodata(band, nullptr, reach, 0, 0, options, nullptr, nullptr), CE_None);
    CSLDestroy(options);
    EXPECT_EQ(GDALRasterIO(band, GF_Read, 0, 0, g.width, g.height, values.data(), g.width, g.height, GDT_Float32, 0,
                           0),
              CE_None);
    GDALClose(mem);
    for (float& v : values)
        if (v == kVoid)
            v = std::nanf("");
    return values;
}

// The voids that stay void.
template <typename T>
int expectSameAsGdal(const VoidFill<T>& fill, const std::vector<float>& gdal, const char* what)
{
    int compared = 0, unfilled = 0;
    for (std::size_t k = 0; k < fill.voids().size(); ++k) {
        const std::uint32_t index = fill.voids()[k];
        const float ours = fill.values()[k];
        if (std::isnan(gdal[index])) {
            EXPECT_TRUE(std::isnan(ours)) << what << " post " << index;
            ++unfilled;
        } else {
            EXPECT_EQ(ours, gdal[index]) << what << " post " << index;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100) << what;
    return unfilled;
}

} // namespace

// The same grids through both fills: scattered voids, clusters, long runs along rows and
// columns, voids on the edges and corners, and a block wider than twice the reach.
struct GridCase {
    const char* name;
    int width, height;
    double share;
    int reach;
    bool someStayVoid;   ///< voids further than the reach from every valid post
    std::function<void(Grid&)> carve;
};
class SameAsGdal : public ::testing::TestWithParam<GridCase> {};

TEST_P(SameAsGdal, GivesGdalsValuesVoidForVoid)
{
    const GridCase& c = GetParam();
    Grid g = terrain(c.width, c.height, c.share, 7);
    c.carve(g);
    const std::vector<float> gdal = gdalFill(g, c.reach);

    VoidFill<std::int16_t> marked(g.posts.data(), g.width, g.height, true, kVoid);
    ASSERT_TRUE(marked.fill(0, 0, g.width - 1, g.height - 1, c.reach));
    EXPECT_EQ(expectSameAsGdal(marked, gdal, "16-bit") > 0, c.someStayVoid);

    // The same voids as NaN in a grid of doubles without a mark.
    std::vector<double> real(g.posts.begin(), g.posts.end());
    for (double& v : real)
        if (v == kVoid)
            v = std::nan("");
    VoidFill<double> nan(real.data(), g.width, g.height, false, 0.0);
    EXPECT_EQ(nan.voids(), marked.voids());
    ASSERT_TRUE(nan.fill(0, 0, g.width - 1, g.height - 1, c.reach));
    expectSameAsGdal(nan, gdal, "NaN");
}

INSTANTIATE_TEST_SUITE_P(
    Grids, SameAsGdal,
    ::testing::Values(
        GridCase{"scattered", 240, 180, 0.03, 100, false, [](Grid&) {}},
        GridCase{"clusters_and_edges", 260, 200, 0.01, 100, false,
                 [](Grid& g) {
                     g.clear(0, 0, 4, 3);          // a corner
                     g.clear(g.width - 3, 50, g.width - 1, 90);   // the east edge
                     g.clear(30, g.height - 1, 120, g.height - 1);  // the south edge
                     g.clear(60, 40, 75, 48);
                     g.clear(150, 20, 150, 140);   // a long column
                     g.clear(20, 120, 200, 121);   // a long row pair
                 }},
        GridCase{"wide_block", 320, 300, 0.005, 100, true, [](Grid& g) { g.clear(40, 30, 279, 269); }},
        GridCase{"short_reach", 200, 150, 0.02, 6, true, [](Grid& g) { g.clear(50, 50, 80, 70); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VoidFill, KeepsTheRulesOfNeighboursFlatFieldsAndReach)
{
    // Rising west to east; one void in the middle takes a value between its west and east neighbours.
    Grid slope{21, 21, std::vector<std::int16_t>(21 * 21)};
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            slope.at(x, y) = static_cast<std::int16_t>(1000 + 10 * x);
    slope.at(10, 10) = kVoid;
    VoidFill<std::int16_t> between(slope.posts.data(), 21, 21, true, kVoid);
    ASSERT_TRUE(between.fill(0, 0, 20, 20, 100));
    EXPECT_GT(between.filled(10 * 21 + 10), 1090.0f);
    EXPECT_LT(between.filled(10 * 21 + 10), 1110.0f);
    EXPECT_TRUE(std::isnan(between.filled(0)));   // not a void

    // A flat field: a lone void, a corner and a run along an edge all take the field's value.
    Grid flat{30, 20, std::vector<std::int16_t>(30 * 20, 345)};
    flat.at(12, 7) = kVoid;
    flat.clear(0, 0, 0, 0);
    flat.clear(29, 5, 29, 15);
    VoidFill<std::int16_t> level(flat.posts.data(), 30, 20, true, kVoid);
    ASSERT_TRUE(level.fill(0, 0, 29, 19, 100));
    ASSERT_EQ(level.voids().size(), 13u);
    for (float v : level.values())
        EXPECT_EQ(v, 345.0f);

    // Only the voids inside the rectangle asked for are filled.
    ASSERT_TRUE(level.fill(10, 0, 29, 19, 100));
    EXPECT_TRUE(std::isnan(level.filled(0)));
    EXPECT_EQ(level.filled(7 * 30 + 12), 345.0f);

    // Voids further than the reach from every valid post stay void; the others are filled.
    Grid hole{41, 41, std::vector<std::int16_t>(41 * 41, 50)};
    hole.clear(5, 5, 35, 35);
    VoidFill<std::int16_t> reach(hole.posts.data(), 41, 41, true, kVoid);
    ASSERT_TRUE(reach.fill(0, 0, 40, 40, 10));
    EXPECT_TRUE(std::isnan(reach.filled(20 * 41 + 20)));   // 16 posts from the rim
    EXPECT_EQ(reach.filled(20 * 41 + 5), 50.0f);           // next to the valid ones
    EXPECT_EQ(reach.filled(14 * 41 + 14), 50.0f);          // 10 posts from the rim
}

// A 200 x 200 void area in a 400 x 400 field: every void is filled from the area's rim, and the
// columns looked at stay within twice the reach plus one per void (a search that walked each
// column up and down would look at far more).
TEST(VoidFill, ALargeVoidAreaCostsTheVoidsTimesTheReach)
{
    Grid g = terrain(400, 400, 0.0, 3);
    g.clear(100, 100, 299, 299);
    std::int16_t lowest = 32767, highest = -32768;
    for (std::int16_t v : g.posts)
        if (v != kVoid) {
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
    VoidFill<std::int16_t> fill(g.posts.data(), 400, 400, true, kVoid);
    ASSERT_EQ(fill.voids().size(), 40000u);
    ASSERT_TRUE(fill.fill(0, 0, 399, 399, 100));
    for (float v : fill.values()) {
        ASSERT_FALSE(std::isnan(v));
        EXPECT_GE(v, lowest);
        EXPECT_LE(v, highest);
    }
    EXPECT_LE(fill.probes(), 40000 * (2 * 100 + 1));
    EXPECT_GT(fill.probes(), 40000);
}

TEST(VoidFill, StopsWhenTheProgressSaysSo)
{
    Grid g = terrain(300, 300, 0.0, 5);
    g.clear(50, 50, 249, 249);
    VoidFill<std::int16_t> fill(g.posts.data(), 300, 300, true, kVoid);
    int calls = 0;
    EXPECT_FALSE(fill.fill(0, 0, 299, 299, 100, [&](double fraction) {
        EXPECT_GE(fraction, 0.0);
        EXPECT_LE(fraction, 1.0);
        return ++calls < 3;
    }));
    EXPECT_EQ(calls, 3);
    int seen = 0;
    EXPECT_TRUE(fill.fill(0, 0, 299, 299, 100, [&](double) { return ++seen > 0; }));
    EXPECT_GT(seen, 3);
}

// What a fill says it reached is all its values depend on: the same fill over just those posts
// (cut where the grid ends) gives the same values. A lone void between valid posts reaches only
// its neighbours; a void with no valid post on one side reaches as far as the reach.
TEST(VoidFill, ValuesDependOnlyOnThePostsItReached)
{
    struct Case {
        const char* name;
        double share;
        bool hole;
        int x0, y0, x1, y1;   // the region filled
    };
    const Case cases[] = {{"scattered", 0.02, false, 40, 40, 79, 79},
                          {"dense", 0.3, false, 30, 50, 90, 70},
                          {"hole over the region's edge", 0.01, true, 40, 40, 79, 79},
                          {"against the grid's edge", 0.05, true, 0, 0, 30, 119}};
    for (const Case& c : cases) {
        Grid g = terrain(120, 120, c.share, 5);
        if (c.hole)
            g.clear(30, 35, 50, 60);
        VoidFill<std::int16_t> whole(g.posts.data(), g.width, g.height, true, kVoid);
        ASSERT_TRUE(whole.fill(c.x0, c.y0, c.x1, c.y1, 25)) << c.name;
        const auto reached = whole.reached();
        ASSERT_LE(reached.x0, reached.x1) << c.name;
        const int sx0 = std::max(0, reached.x0), sy0 = std::max(0, reached.y0);
        const int sx1 = std::min(g.width - 1, reached.x1), sy1 = std::min(g.height - 1, reached.y1);
        Grid part{sx1 - sx0 + 1, sy1 - sy0 + 1, {}};
        for (int y = sy0; y <= sy1; ++y)
            for (int x = sx0; x <= sx1; ++x)
                part.posts.push_back(g.at(x, y));
        VoidFill<std::int16_t> cut(part.posts.data(), part.width, part.height, true, kVoid);
        ASSERT_TRUE(cut.fill(c.x0 - sx0, c.y0 - sy0, c.x1 - sx0, c.y1 - sy0, 25)) << c.name;
        std::size_t compared = 0;
        for (std::size_t k = 0; k < whole.voids().size(); ++k) {
            const int x = static_cast<int>(whole.voids()[k] % static_cast<unsigned>(g.width));
            const int y = static_cast<int>(whole.voids()[k] / static_cast<unsigned>(g.width));
            if (x < c.x0 || x > c.x1 || y < c.y0 || y > c.y1)
                continue;
            const float there = cut.filled(static_cast<std::size_t>(y - sy0) * part.width + (x - sx0));
            const float here = whole.values()[k];
            ASSERT_TRUE(there == here || (std::isnan(there) && std::isnan(here))) << c.name << " at " << x << "," << y;
            ++compared;
        }
        EXPECT_GT(compared, 5u) << c.name;
    }

    // A lone void: its nearest offers are its four neighbours and the two posts diagonally below
    // on the right, the farthest of them under two posts away.
    Grid lone = terrain(30, 30, 0.0, 6);
    lone.at(12, 17) = kVoid;
    VoidFill<std::int16_t> one(lone.posts.data(), lone.width, lone.height, true, kVoid);
    ASSERT_TRUE(one.fill(0, 0, 29, 29, 25));
    EXPECT_EQ(one.reached().x0, 10);
    EXPECT_EQ(one.reached().x1, 14);
    EXPECT_EQ(one.reached().y0, 15);
    EXPECT_EQ(one.reached().y1, 19);

    // In the grid's corner nothing lies up and to the left: that quadrant searched the whole reach.
    Grid corner = terrain(60, 30, 0.0, 7);
    corner.at(0, 0) = kVoid;
    VoidFill<std::int16_t> edge(corner.posts.data(), corner.width, corner.height, true, kVoid);
    ASSERT_TRUE(edge.fill(0, 0, 59, 29, 10));
    EXPECT_EQ(edge.reached().x0, -10);
    EXPECT_EQ(edge.reached().y0, -10);
    EXPECT_EQ(edge.reached().x1, 10);
    EXPECT_EQ(edge.reached().y1, 10);

    // Nothing filled, nothing reached.
    ASSERT_TRUE(edge.fill(0, 10, 59, 29, 10));
    EXPECT_GT(edge.reached().x0, edge.reached().x1);
}
