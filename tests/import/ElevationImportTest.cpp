// The elevation import on small .hgt, DTED and GeoTIFF files made here with GDAL: where posts land,
// reprojection, feet, voids, clipping, thinning, refusals, and the altitudes a source file gets.

#include <optional>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "altitude/AltitudeMerge.h"
#include "altitude/AltitudeReaders.h"
#include "base/ProgressWindow.h"
#include "import/ElevationFiles.h"
#include "import/ElevationImport.h"
#include "output/OutputTestProject.h"
#include "output/ScasmWriter.h"
#include "support/TempDir.h"

namespace {

std::optional<ElevationResult> load(const std::string& path, const ElevationOptions& options = {})
{
    std::string error;
    auto result = importElevation(path, options, nullptr, error);
    EXPECT_TRUE(result) << error;
    return result;
}

std::optional<AltitudeRecord> recordAt(const AltitudeMap& map, double latitude, double longitude)
{
    for (const AltitudeRecord& r : map.records)
        if (std::abs(r.latitude - latitude) < 1e-9 && std::abs(r.longitude - longitude) < 1e-9)
            return r;
    return std::nullopt;
}

double heights(int x, int y) { return 100 + 3 * x + 7 * y; }

} // namespace

// Each format's corner posts lie where GDAL says and carry GDAL's values; the first post of a
// .hgt tile is its north-west corner.
struct CornerCase {
    const char* driver;
    const char* file;
    int posts;
};
class CornerPosts : public ::testing::TestWithParam<CornerCase> {};

TEST_P(CornerPosts, LandOnGdalsPositionsWithGdalsValues)
{
    const CornerCase c = GetParam();
    TempDir dir;
    dem::Grid g = dem::tile(45, 6, c.posts);
    g.driver = c.driver;
    g.height_at = heights;
    const std::string path = dir.file(c.file);
    ASSERT_TRUE(dem::write(path, g));
    auto result = load(path);
    ASSERT_TRUE(result);
    const AltitudeMap& map = result->map;
    EXPECT_EQ(map.columns, c.posts);
    EXPECT_EQ(map.rows, c.posts);
    EXPECT_EQ(result->postsRead, static_cast<std::int64_t>(c.posts) * c.posts);
    EXPECT_EQ(result->recordsKept, result->postsRead);
    EXPECT_FALSE(result->warped);
    const int last = c.posts - 1;
    for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
        const dem::Post p = dem::gdalPost(path, x, y);
        const std::optional<AltitudeRecord> r = recordAt(map, p.latitude, p.longitude);
        ASSERT_NE(r, std::nullopt) << x << "," << y;
        EXPECT_EQ(r->altitude, static_cast<int>(p.value));
        EXPECT_EQ(r->altitude, static_cast<int>(heights(x, y)));
    }
    // North-west corner: the first post of the file, exactly on whole degrees.
    const std::optional<AltitudeRecord> nw = recordAt(map, 46.0, 6.0);
    ASSERT_NE(nw, std::nullopt);
    EXPECT_EQ(nw->altitude, 100);
    // Records by longitude line from the south, the first at the south-west corner.
    EXPECT_NEAR(map.records.front().latitude, 45.0, 1e-9);
    EXPECT_NEAR(map.records.front().longitude, 6.0, 1e-9);
    EXPECT_NEAR(map.records.back().latitude, 46.0, 1e-9);
    EXPECT_NEAR(map.records.back().longitude, 7.0, 1e-9);
    EXPECT_TRUE(isElevationFileMap(map));
    EXPECT_EQ(map.title, path);
    EXPECT_EQ(map.waterLevel, 100);
}

INSTANTIATE_TEST_SUITE_P(Formats, CornerPosts,
                         ::testing::Values(CornerCase{"SRTMHGT", "N45E006.hgt", 1201},
                                           CornerCase{"DTED", "e006_n45.dt1", 1201},
                                           CornerCase{"GTiff", "tile.tif", 61}),
                         [](const auto& info) { return std::string(info.param.driver); });

TEST(ElevationImport, AUtmDemIsWarpedAndGivesGdalsAltitudes)
{
    TempDir dir;
    dem::Grid g;
    g.width = 80;
    g.height = 60;
    g.epsg = 32633;
    g.type = GDT_Float32;
    // Far from the zone's central meridian, so the grid turns against the meridians.
    const double gt[6] = {300000, 30, 0, 5540000, 0, -30};
    std::copy(gt, gt + 6, g.geoTransform);
    // A plane: any resampling of it gives the plane's own value.
    g.height_at = [](int x, int y) { return 500 + 2.0 * x + 1.0 * y; };
    const std::string path = dir.file("utm.tif");
    ASSERT_TRUE(dem::write(path, g));
    auto result = load(path);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->warped);
    ASSERT_GT(result->recordsKept, 1000);
    int checked = 0;
    for (std::size_t i = 0; i < result->map.records.size(); i += 97) {
        const AltitudeRecord& r = result->map.records[i];
        double x = r.longitude, y = r.latitude;
        OGRSpatialReferenceH from = OSRNewSpatialReference(nullptr), to = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(from, 4326);
        OSRImportFromEPSG(to, 32633);
        OSRSetAxisMappingStrategy(from, OAMS_TRADITIONAL_GIS_ORDER);
        OSRSetAxisMappingStrategy(to, OAMS_TRADITIONAL_GIS_ORDER);
        OGRCoordinateTransformationH t = OCTNewCoordinateTransformation(from, to);
        ASSERT_TRUE(OCTTransform(t, 1, &x, &y, nullptr));
        OCTDestroyCoordinateTransformation(t);
        OSRDestroySpatialReference(from);
        OSRDestroySpatialReference(to);
        const double px = (x - 300000) / 30 - 0.5, py = (5540000 - y) / 30 - 0.5;
        if (px < 1 || py < 1 || px > g.width - 2 || py > g.height - 2)
            continue;   // the edges have fewer neighbours to interpolate from
        EXPECT_NEAR(r.altitude, 500 + 2.0 * px + py, 1.0) << r.latitude << " " << r.longitude;
        ++checked;
    }
    EXPECT_GT(checked, 10);
    // Nothing is made up outside the file's own area.
    EXPECT_LT(result->recordsKept, result->postsRead);
}

TEST(ElevationImport, FeetBecomeMetres)
{
    TempDir dir;
    for (auto [unit, expected] : {std::pair{"ft", 305}, {"US survey foot", 305}, {"m", 1000}, {"", 1000}}) {
        dem::Grid g = dem::tile(10, 20, 11);
        g.unit = unit;
        g.height_at = [](int, int) { return 1000; };
        const std::string path = dir.file(std::string("feet") + unit + ".tif");
        ASSERT_TRUE(dem::write(path, g));
        auto result = load(path);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->map.records[0].altitude, expected) << unit;
        EXPECT_EQ(result->feet, expected == 305) << unit;
    }
}

TEST(ElevationImport, AMiddleVoidIsFilledBetweenItsNeighboursOrLeftOut)
{
    TempDir dir;
    dem::Grid g = dem::tile(45, 6, 1201);
    g.driver = "SRTMHGT";
    // Altitude rises west to east; one void in the middle of the tile.
    g.height_at = [](int x, int y) { return x == 600 && y == 600 ? -32768 : 1000 + 10 * (x - 595); };
    const std::string path = dir.file("N45E006.hgt");
    ASSERT_TRUE(dem::write(path, g));
    const dem::Post middle = dem::gdalPost(path, 600, 600);

    auto filled = load(path);
    ASSERT_TRUE(filled);
    EXPECT_EQ(filled->voids, 1);
    EXPECT_EQ(filled->voidsFilled, 1);
    EXPECT_EQ(filled->recordsKept, 1201 * 1201);
    const std::optional<AltitudeRecord> r = recordAt(filled->map, middle.latitude, middle.longitude);
    ASSERT_NE(r, std::nullopt);
    EXPECT_GE(r->altitude, 1040);   // its west neighbour
    EXPECT_LE(r->altitude, 1060);   // its east neighbour

    ElevationOptions skip;
    skip.voids = ElevationVoids::Skip;
    auto skipped = load(path, skip);
    ASSERT_TRUE(skipped);
    EXPECT_EQ(skipped->voids, 1);
    EXPECT_EQ(skipped->voidsFilled, 0);
    EXPECT_EQ(skipped->recordsKept, 1201 * 1201 - 1);
    EXPECT_EQ(recordAt(skipped->map, middle.latitude, middle.longitude), std::nullopt);
    EXPECT_EQ(skipped->map.columns, 1201);   // the grid stays the file's
    EXPECT_EQ(parseElevationVoids("skip"), ElevationVoids::Skip);
    EXPECT_EQ(parseElevationVoids("fill"), ElevationVoids::Fill);
    EXPECT_FALSE(parseElevationVoids("zero"));
}

// Voids of a clipped window are filled as GDAL fills the whole file: those on the window's edges
// reach for the posts outside it.
TEST(ElevationImport, VoidsOfAClippedWindowAreFilledAsGdalFillsTheWholeFile)
{
    TempDir dir;
    dem::Grid g = dem::tile(45, 6, 1201);
    g.driver = "SRTMHGT";
    // Low west of the window's west edge (column 300), high from it on; voids scattered, and a run
    // of them down that edge.
    g.height_at = [](int x, int y) {
        const bool scattered = (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) % 50 == 0;
        if (scattered || (x == 300 && y >= 820 && y <= 860))
            return -32768.0;
        return (x < 300 ? 1000.0 : 2000.0) + (x * 7 + y * 13) % 37;
    };
    const std::string path = dir.file("N45E006.hgt");
    ASSERT_TRUE(dem::write(path, g));
    const std::vector<float> gdal = dem::gdalFilled(path);
    ASSERT_EQ(gdal.size(), 1201u * 1201u);

    ElevationOptions clip;
    clip.clip = GeoRect{45.25, 45.35, 6.25, 6.35};   // columns 300 to 420, rows 780 to 900
    auto result = load(path, clip);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->postsRead, 121 * 121);
    EXPECT_GT(result->voids, 100);
    EXPECT_EQ(result->voidsFilled, result->voids);
    EXPECT_EQ(result->recordsKept, result->postsRead);
    for (const AltitudeRecord& r : result->map.records) {
        const long x = std::lround((r.longitude - 6.0) * 1200), y = std::lround((46.0 - r.latitude) * 1200);
        ASSERT_TRUE(x >= 300 && x <= 420 && y >= 780 && y <= 900) << x << "," << y;
        ASSERT_EQ(r.altitude, std::lround(gdal[static_cast<std::size_t>(y * 1201 + x)])) << x << "," << y;
    }
    const std::optional<AltitudeRecord> edge = recordAt(result->map, 46.0 - 840 / 1200.0, 6.0 + 300 / 1200.0);
    ASSERT_NE(edge, std::nullopt);
    EXPECT_GT(edge->altitude, 1100);
    EXPECT_LT(edge->altitude, 1900);
}

// A void in a flat field takes the field's value: a lone one, one in the file's corner, where no
// posts lie beyond, and a run along the file's edge; in metres, in feet, and as NaN in a file
// that names no void value.
struct FlatCase {
    const char* name;
    const char* driver;
    const char* file;
    int posts;
    GDALDataType type;
    bool hasNoData;
    double voidValue;
    const char* unit;
    double field;
    int expected;
};
class FlatField : public ::testing::TestWithParam<FlatCase> {};

TEST_P(FlatField, VoidsTakeTheFieldsValue)
{
    const FlatCase& c = GetParam();
    TempDir dir;
    dem::Grid g = dem::tile(45, 6, c.posts);
    g.driver = c.driver;
    g.type = c.type;
    g.hasNoData = c.hasNoData;
    g.noData = c.voidValue;
    g.unit = c.unit;
    g.height_at = [&c](int x, int y) {
        const int last = c.posts - 1;
        const bool hole = (x == 50 && y == 70) || (x == 0 && y == 0) || (x == last && y >= last - 5);
        return hole ? c.voidValue : c.field;
    };
    const std::string path = dir.file(c.file);
    ASSERT_TRUE(dem::write(path, g));
    auto result = load(path);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->voids, 8);
    EXPECT_EQ(result->voidsFilled, 8);
    ASSERT_EQ(result->recordsKept, c.posts * c.posts);
    for (const AltitudeRecord& r : result->map.records)
        ASSERT_EQ(r.altitude, c.expected) << r.latitude << " " << r.longitude;
}

INSTANTIATE_TEST_SUITE_P(
    Files, FlatField,
    ::testing::Values(FlatCase{"hgt", "SRTMHGT", "N45E006.hgt", 1201, GDT_Int16, false, -32768, "", 432, 432},
                      FlatCase{"feet", "GTiff", "feet.tif", 121, GDT_Int16, true, -9999, "ft", 1000, 305},
                      FlatCase{"nan", "GTiff", "nan.tif", 121, GDT_Float32, false, std::nan(""), "", 87.6, 88}),
    [](const auto& info) { return std::string(info.param.name); });

// Cancel in any stage stops the read without a message; without it every stage runs to the end.
class CancellingProgress : public ProgressWindow {
public:
    explicit CancellingProgress(std::string stage) : stage_(std::move(stage)) {}
    std::vector<std::string> seen;

protected:
    void onTextChanged() override
    {
        if (seen.empty() || seen.back() != status())
            seen.push_back(status());
        if (status() == stage_)
            pressCancel();
    }

private:
    std::string stage_;
};

TEST(ElevationImport, CancelStopsEveryStage)
{
    TempDir dir;
    dem::Grid g = dem::tile(45, 6, 1201);
    g.driver = "SRTMHGT";
    g.height_at = [](int x, int y) { return (x * 31 + y * 17) % 97 == 0 ? -32768 : 100 + x % 50; };
    const std::string path = dir.file("N45E006.hgt");
    ASSERT_TRUE(dem::write(path, g));
    for (const char* stage : {"Reading heights", "Filling voids", "Making records"}) {
        CancellingProgress progress(stage);
        std::string error = "not cleared";
        EXPECT_FALSE(importElevation(path, {}, &progress, error)) << stage;
        EXPECT_EQ(error, "") << stage;
        ASSERT_FALSE(progress.seen.empty());
        EXPECT_EQ(progress.seen.back(), stage);
    }
    CancellingProgress through("never");
    std::string error;
    ASSERT_TRUE(importElevation(path, {}, &through, error)) << error;
    EXPECT_EQ(through.seen, (std::vector<std::string>{"Opening", "Reading heights", "Filling voids", "Making records"}));
    EXPECT_EQ(through.pos(), 100);
}

TEST(ElevationImport, TheClipKeepsOnePostBeyondTheBoundaryAndThinningKeepsTheCorners)
{
    TempDir dir;
    dem::Grid g = dem::tile(0, 0, 101);   // posts every 0.01 degree
    g.height_at = heights;
    const std::string path = dir.file("grid.tif");
    ASSERT_TRUE(dem::write(path, g));

    ElevationOptions clip;
    clip.clip = GeoRect{0.205, 0.505, 0.105, 0.3};   // south, north, west, east
    auto clipped = load(path, clip);
    ASSERT_TRUE(clipped);
    const AltitudeMap& m = clipped->map;
    EXPECT_NEAR(m.minLongitude(), 0.10, 1e-9);   // the post west of the boundary
    EXPECT_NEAR(m.maxLongitude(), 0.30, 1e-9);   // a post on the boundary is its own margin
    EXPECT_NEAR(m.minLatitude(), 0.20, 1e-9);
    EXPECT_NEAR(m.maxLatitude(), 0.51, 1e-9);
    EXPECT_EQ(m.columns, 21);
    EXPECT_EQ(m.rows, 32);
    EXPECT_EQ(clipped->postsRead, 21 * 32);
    ASSERT_NE(recordAt(m, 0.51, 0.10), std::nullopt);
    EXPECT_EQ(recordAt(m, 0.51, 0.10)->altitude, heights(10, 49));

    ElevationOptions thin;
    thin.spacingMetres = 3500;   // about three posts at the equator
    auto thinned = load(path, thin);
    ASSERT_TRUE(thinned);
    EXPECT_EQ(thinned->map.columns, 35);   // 0, 3, ... 99 and the last, 100
    EXPECT_EQ(thinned->map.rows, 35);
    EXPECT_EQ(thinned->recordsKept, 35 * 35);
    EXPECT_EQ(thinned->postsRead, 101 * 101);
    for (auto [lat, lon] : {std::pair{0.0, 0.0}, {0.0, 1.0}, {1.0, 0.0}, {1.0, 1.0}})
        EXPECT_NE(recordAt(thinned->map, lat, lon), std::nullopt) << lat << " " << lon;

    ElevationOptions away;
    away.clip = GeoRect{10, 11, 10, 11};
    std::string error;
    EXPECT_FALSE(importElevation(path, away, nullptr, error));
    EXPECT_NE(error.find("outside the project boundary"), std::string::npos) << error;
}

// Refusals through the project: a clear message, the list as it was, the loaded map untouched.
struct BadInput {
    const char* name;
    const char* expected;   ///< part of the message
    std::function<void(const std::string& path)> make;
};
class BadElevationInputs : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadElevationInputs, GiveAClearMessageAndChangeNothing)
{
    const BadInput& c = GetParam();
    OutputTestProject p;
    TempDir dir;
    auto kept = std::make_unique<AltitudeMap>();
    kept->title = "kept";
    kept->records = {{1, 2, 3}};
    p.doc->altitudeMaps.push_back(std::move(kept));
    const std::string path = dir.file(c.name);
    c.make(path);
    EXPECT_FALSE(addElevationMap(*p.doc, path, {}));
    ASSERT_EQ(p.platform.messages.size(), 1u);
    EXPECT_NE(p.platform.messages[0].text.find(c.expected), std::string::npos) << p.platform.messages[0].text;
    EXPECT_EQ(p.platform.messages[0].icon, MsgIcon::Exclamation);
    ASSERT_EQ(p.doc->altitudeMaps.size(), 1u);
    EXPECT_EQ(p.doc->altitudeMaps[0]->title, "kept");
    EXPECT_EQ(p.doc->altitudeMaps[0]->records, (std::vector<AltitudeRecord>{{1, 2, 3}}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadElevationInputs,
    ::testing::Values(
        BadInput{"photo.tif", "3 bands", [](const std::string& path) {
                     geotiff::Picture picture;
                     picture.epsg = 4326;
                     const double gt[6] = {6, 0.01, 0, 46, 0, -0.01};
                     std::copy(gt, gt + 6, picture.geoTransform);
                     geotiff::write(path, picture);
                 }},
        BadInput{"N45E006.hgt", "every post is void", [](const std::string& path) {
                     dem::Grid g = dem::tile(45, 6, 1201);
                     g.driver = "SRTMHGT";
                     g.height_at = [](int, int) { return -32768; };
                     dem::write(path, g);
                 }},
        BadInput{"notes.hgt", "Cannot read notes.hgt",
                 [](const std::string& path) { std::ofstream(path) << "these are not heights\n"; }},
        BadInput{"N46E006.hgt", "Cannot read N46E006.hgt",
                 [](const std::string& path) {
                     dem::Grid g = dem::tile(46, 6, 1201);
                     g.driver = "SRTMHGT";
                     dem::write(path, g);
                     std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
                 }},
        BadInput{"folder.hgt", "not a file",
                 [](const std::string& path) { std::filesystem::create_directory(path); }},
        BadInput{"plain.tif", "no georeferencing", [](const std::string& path) {
                     geotiff::Picture picture;
                     picture.bands = 1;
                     picture.type = GDT_Int16;
                     geotiff::write(path, picture);
                 }}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(ElevationImport, AddingReportsPostsReadAndRecordsKeptAndClipsToTheBoundary)
{
    OutputTestProject p;
    p.makeChunks(1, 1);   // 45.0 .. 45.1, -73.1 .. -73.0
    TempDir dir;
    dem::Grid g = dem::tile(45, -74, 1201);
    g.driver = "SRTMHGT";
    g.height_at = heights;
    const std::string path = dir.file("N45W074.hgt");
    ASSERT_TRUE(dem::write(path, g));
    ASSERT_TRUE(addElevationMap(*p.doc, path, {}));
    ASSERT_EQ(p.doc->altitudeMaps.size(), 1u);
    const AltitudeMap& map = *p.doc->altitudeMaps[0];
    EXPECT_EQ(map.columns, 121);   // 0.1 degree is 120 posts apart
    EXPECT_EQ(map.rows, 121);
    EXPECT_EQ(map.owner, p.doc.get());
    ASSERT_EQ(p.platform.messages.size(), 1u);
    EXPECT_EQ(p.platform.messages[0].text, "N45W074.hgt: 14641 posts read, 14641 records kept.");
}

// The same posts as a .hgt map and as a text map give the same altitudes in the source file.
TEST(ElevationImport, ASourceFromAnHgtMapEqualsOneFromTheSameHeightsAsText)
{
    TempDir dir;
    dem::Grid g = dem::tile(45, -74, 1201);
    g.driver = "SRTMHGT";
    g.height_at = [](int x, int y) { return 200 + (x * 37 + y * 11) % 900; };
    const std::string hgt = dir.file("N45W074.hgt");
    ASSERT_TRUE(dem::write(hgt, g));

    const auto project = [](OutputTestProject& p) {
        p.makeChunks(2, 2);
        // Nodes off the half-post positions, so single-precision text coordinates find the same posts.
        const double shift = 0.0002;
        p.doc->boundary.south += shift;
        p.doc->boundary.north += shift;
        p.doc->boundary.west += shift;
        p.doc->boundary.east += shift;
        for (auto& chunk : p.doc->chunks) {
            chunk.area.south += shift;
            chunk.area.north += shift;
            chunk.area.west += shift;
            chunk.area.east += shift;
        }
    };
    OutputTestProject fromHgt;
    project(fromHgt);
    ASSERT_TRUE(addElevationMap(*fromHgt.doc, hgt, {}));
    const AltitudeMap& read = *fromHgt.doc->altitudeMaps[0];

    // The text map: each post of the clipped window, from the tile's own layout and heights.
    const double south = read.minLatitude(), north = read.maxLatitude();
    const double west = read.minLongitude(), east = read.maxLongitude();
    std::string text;
    int posts = 0;
    for (int y = 0; y < 1201; ++y)
        for (int x = 0; x < 1201; ++x) {
            const double lat = 46.0 - y / 1200.0, lon = -74.0 + x / 1200.0;
            if (lat < south - 1e-9 || lat > north + 1e-9 || lon < west - 1e-9 || lon > east + 1e-9)
                continue;
            char line[128];
            std::snprintf(line, sizeof line, "%.9f %.9f %d\n", lat, lon, static_cast<int>(g.height_at(x, y)));
            text += line;
            ++posts;
        }
    ASSERT_EQ(posts, static_cast<int>(read.records.size()));
    dir.write("same.txt", text);
    OutputTestProject fromText;
    project(fromText);
    auto map = std::make_unique<AltitudeMap>();
    ASSERT_TRUE(readTextAltitudeMap(*fromText.doc, *map, dir.file("same.txt")));
    fromText.doc->altitudeMaps.push_back(std::move(map));

    ASSERT_TRUE(mergeAltitudeMaps(*fromHgt.doc));
    ASSERT_TRUE(mergeAltitudeMaps(*fromText.doc));
    ScopedEnv epoch{"SOURCE_DATE_EPOCH", "0"};   // both files carry the same creation time
    ASSERT_TRUE(writeScasmSource(*fromHgt.doc, dir.file("hgt.sca")));
    ASSERT_TRUE(writeScasmSource(*fromText.doc, dir.file("text.sca")));
    const std::string a = dir.readText("hgt.sca"), b = dir.readText("text.sca");
    EXPECT_GT(a.size(), 1000u);
    EXPECT_EQ(a, b);
}
