// The raster import on small pictures made here with GDAL: georeferenced extents and where pixels
// land, pictures without georeferencing, pass-through, whole-block sizes, and refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "imagery/TestBitmaps.h"
#include "import/GeoTiffFiles.h"
#include "import/RasterImport.h"
#include "support/TempDir.h"

namespace {
constexpr int kUtm33 = 32633;

bool isRed(std::uint32_t c) { return (c & 0xFF) > 200 && (c >> 8 & 0xFF) < 60 && (c >> 16 & 0xFF) < 60; }

// Colour of the result's pixel at column x, row y from the top.
std::uint32_t colorAt(const ImportResult& result, int x, int y)
{
    const int h = result.bitmap.height();
    return result.colors[result.bitmap.pixelIndex(x, h - 1 - y)];
}

std::optional<ImportResult> importFile(const std::string& path, const ImportOptions& options, std::string& error)
{
    return importRaster(path, options, nullptr, error);
}
} // namespace

TEST(RasterImport, UtmExtentsAgreeWithGdalsCornerTransform)
{
    TempDir dir;
    geotiff::Picture picture;
    picture.epsg = kUtm33;
    ASSERT_TRUE(geotiff::write(dir.file("utm.tif"), picture));
    std::string error;
    auto result = importFile(dir.file("utm.tif"), {}, error);
    ASSERT_TRUE(result) << error;
    ASSERT_TRUE(result->georeferenced);
    ASSERT_TRUE(result->extents);

    double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
    const double* gt = picture.geoTransform;
    for (int corner = 0; corner < 4; ++corner) {
        const double px = corner % 2 ? picture.width : 0, py = corner / 2 ? picture.height : 0;
        double x = gt[0] + px * gt[1] + py * gt[2], y = gt[3] + px * gt[4] + py * gt[5];
        ASSERT_TRUE(geotiff::toLonLat(kUtm33, x, y));
        west = std::min(west, x);
        east = std::max(east, x);
        south = std::min(south, y);
        north = std::max(north, y);
    }
    EXPECT_NEAR(result->extents->west, west, 1e-7);
    EXPECT_NEAR(result->extents->east, east, 1e-7);
    EXPECT_NEAR(result->extents->south, south, 1e-7);
    EXPECT_NEAR(result->extents->north, north, 1e-7);
    EXPECT_EQ(result->bitmap.width(), 1024);
    EXPECT_EQ(result->bitmap.height(), 1024);
    EXPECT_NE(result->sourceSystem.find("UTM"), std::string::npos) << result->sourceSystem;
}

TEST(RasterImport, APixelOfKnownColourLandsOnItsLatitudeAndLongitude)
{
    TempDir dir;
    geotiff::Picture picture;
    picture.epsg = kUtm33;
    picture.width = 80;
    picture.height = 60;
    // A red 4 x 4 block at columns 50-53 and rows 20-23 on grey.
    picture.sample = [](int x, int y, int b) {
        const bool red = x >= 50 && x < 54 && y >= 20 && y < 24;
        return red ? (b == 0 ? 255.0 : 0.0) : 128.0;
    };
    ASSERT_TRUE(geotiff::write(dir.file("block.tif"), picture));
    const double* gt = picture.geoTransform;
    double lon = gt[0] + 52 * gt[1], lat = gt[3] + 22 * gt[5];   // the block's centre (pixel corners)
    ASSERT_TRUE(geotiff::toLonLat(kUtm33, lon, lat));

    ImportOptions options;
    options.resampling = ImportResampling::Nearest;
    std::string error;
    auto result = importFile(dir.file("block.tif"), options, error);
    ASSERT_TRUE(result) << error;
    const GeoRect e = *result->extents;
    const int w = result->bitmap.width(), h = result->bitmap.height();
    // Pixel-is-area: column i covers [west + i * dx, west + (i + 1) * dx); its centre is at i + 0.5.
    const int column = static_cast<int>((lon - e.west) / (e.east - e.west) * w);
    const int row = static_cast<int>((e.north - lat) / (e.north - e.south) * h);
    EXPECT_TRUE(isRed(colorAt(*result, column, row))) << std::hex << colorAt(*result, column, row);

    // The centre of all red pixels lies on the block's centre, to a tenth of a source pixel.
    double sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isRed(colorAt(*result, x, y))) {
                sumX += x + 0.5;
                sumY += y + 0.5;
                ++count;
            }
    ASSERT_GT(count, 0);
    const double foundLon = e.west + sumX / count / w * (e.east - e.west);
    const double foundLat = e.north - sumY / count / h * (e.north - e.south);
    const double sourcePixelLat = (e.north - e.south) / picture.height;
    const double sourcePixelLon = (e.east - e.west) / picture.width;
    EXPECT_NEAR(foundLon, lon, 0.1 * sourcePixelLon);
    EXPECT_NEAR(foundLat, lat, 0.1 * sourcePixelLat);
}

TEST(RasterImport, APictureWithoutGeoreferencingKeepsTheGivenExtents)
{
    TempDir dir;
    geotiff::Picture picture;   // epsg 0: no georeferencing
    ASSERT_TRUE(geotiff::write(dir.file("plain.tif"), picture));
    ImportOptions options;
    options.extents = GeoRect{44.0, 45.0, 15.0, 16.0};
    std::string error;
    auto result = importFile(dir.file("plain.tif"), options, error);
    ASSERT_TRUE(result) << error;
    EXPECT_FALSE(result->georeferenced);
    EXPECT_EQ(*result->extents, *options.extents);

    options.extents.reset();
    result = importFile(dir.file("plain.tif"), options, error);
    ASSERT_TRUE(result) << error;
    EXPECT_FALSE(result->extents);

    options.sizing = ImportSizing::Resolution;
    options.metresPerPixel = 50;
    EXPECT_FALSE(importFile(dir.file("plain.tif"), options, error));
    EXPECT_NE(error.find("no georeferencing"), std::string::npos) << error;
}

TEST(RasterImport, AValidProjectBitmapPassesThroughByteForByte)
{
    TempDir dir;
    testbmp::Layout layout;
    layout.width = 1024;
    layout.height = 2048;
    const std::vector<std::uint8_t> bytes = testbmp::makeFile(layout);
    dir.write("ready.bmp", std::vector<unsigned char>(bytes.begin(), bytes.end()));
    std::string error;
    auto result = importFile(dir.file("ready.bmp"), {}, error);
    ASSERT_TRUE(result) << error;
    EXPECT_TRUE(result->passedThrough);
    ASSERT_TRUE(writeImportedBitmap(*result, dir.file("out.bmp"), error)) << error;
    EXPECT_EQ(dir.read("out.bmp"), dir.read("ready.bmp"));
    EXPECT_EQ(importedBitmapPath(dir.file("ready.bmp")), dir.file("ready_256.bmp"));
    EXPECT_EQ(importedBitmapPath(dir.file("photo.TIF")), dir.file("photo.bmp"));
}

struct SizeCase {
    const char* name;
    int width, height;
    bool georeferenced;
    ImportSizing sizing;
    double metresPerPixel;
    int expectWidth, expectHeight;
};

class WholeBlocks : public testing::TestWithParam<SizeCase> {};

TEST_P(WholeBlocks, SidesAreMultiplesOf1024AndTheExtentsFollow)
{
    const SizeCase& c = GetParam();
    TempDir dir;
    geotiff::Picture picture;
    picture.width = c.width;
    picture.height = c.height;
    picture.epsg = c.georeferenced ? kUtm33 : 0;
    ASSERT_TRUE(geotiff::write(dir.file("in.tif"), picture));
    ImportOptions options;
    options.sizing = c.sizing;
    options.metresPerPixel = c.metresPerPixel;
    options.resampling = ImportResampling::Nearest;
    options.fillColor = 0x00FF00;   // green: no pixel of the pattern has it
    const GeoRect given{44.0, 45.0, 15.0, 16.0};
    if (!c.georeferenced)
        options.extents = given;
    std::string error;
    auto result = importFile(dir.file("in.tif"), options, error);
    ASSERT_TRUE(result) << error;
    EXPECT_EQ(result->bitmap.width(), c.expectWidth);
    EXPECT_EQ(result->bitmap.height(), c.expectHeight);
    EXPECT_EQ(result->bitmap.width() % 1024, 0);
    EXPECT_EQ(result->bitmap.height() % 1024, 0);
    ASSERT_TRUE(result->extents);
    if (c.sizing == ImportSizing::Pad && !c.georeferenced) {
        // The picture keeps its pixels in the north-west corner; the extents grow by whole pixels.
        EXPECT_DOUBLE_EQ(result->extents->west, 15.0);
        EXPECT_DOUBLE_EQ(result->extents->north, 45.0);
        EXPECT_DOUBLE_EQ(result->extents->east, 15.0 + c.expectWidth * (1.0 / c.width));
        EXPECT_DOUBLE_EQ(result->extents->south, 45.0 - c.expectHeight * (1.0 / c.height));
        EXPECT_EQ(colorAt(*result, c.expectWidth - 1, c.expectHeight - 1), 0x00FF00u);
        EXPECT_EQ(colorAt(*result, c.width, 0), 0x00FF00u);
        EXPECT_NE(colorAt(*result, c.width - 1, c.height - 1), 0x00FF00u);
    }
    if (c.sizing == ImportSizing::Pad && c.georeferenced) {
        EXPECT_EQ(colorAt(*result, c.expectWidth - 1, c.expectHeight - 1), 0x00FF00u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, WholeBlocks,
    testing::Values(SizeCase{"nearestSmall", 300, 200, false, ImportSizing::NearestChunks, 0, 1024, 1024},
                    SizeCase{"nearestUp", 1600, 2600, false, ImportSizing::NearestChunks, 0, 2048, 3072},
                    SizeCase{"pad", 1100, 700, false, ImportSizing::Pad, 0, 2048, 1024},
                    SizeCase{"resolution", 50, 50, false, ImportSizing::Resolution, 50, 2048, 2048},
                    SizeCase{"padUtm", 1100, 300, true, ImportSizing::Pad, 0, 2048, 1024},
                    SizeCase{"resolutionUtm", 100, 100, true, ImportSizing::Resolution, 1.5, 2048, 2048}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RasterImport, AFixedPaletteBecomesTheColourTable)
{
    TempDir dir;
    geotiff::Picture picture;
    ASSERT_TRUE(geotiff::write(dir.file("in.tif"), picture));
    ImportOptions options;
    options.palette = ImportPaletteKind::Fixed;
    for (int i = 0; i < 256; ++i)
        options.fixedColors[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i * 0x010101);
    options.reservedLow = 4;
    options.dither = true;
    std::string error;
    auto result = importFile(dir.file("in.tif"), options, error);
    ASSERT_TRUE(result) << error;
    for (std::size_t i = 0; i < 256; ++i)
        ASSERT_EQ(result->bitmap.colorAt(i), options.fixedColors[i]);
    for (int y = 0; y < result->bitmap.height(); y += 7)
        for (int x = 0; x < result->bitmap.width(); x += 3)
            ASSERT_GE(result->bitmap.pixelIndex(x, y), 4);
}

struct RefusalCase {
    const char* name;
    std::function<bool(const std::string&)> make;
    std::uint64_t memoryLimit;
    std::vector<std::string> words;   // the message names the reason
};

class Refusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, GiveAClearMessageAndNoResult)
{
    const RefusalCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("bad.tif");
    ASSERT_TRUE(c.make(path));
    ImportOptions options;
    options.memoryLimit = c.memoryLimit;
    std::string error;
    EXPECT_FALSE(importFile(path, options, error));
    for (const std::string& word : c.words)
        EXPECT_NE(error.find(word), std::string::npos) << "'" << word << "' not in: " << error;
    // Nothing but the input is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    BadInputs, Refusals,
    testing::Values(
        RefusalCase{"unreadable",
                    [](const std::string& p) {
                        std::ofstream(p) << "II* this is not a picture at all";
                        return true;
                    },
                    0, {"Cannot read", "bad.tif"}},
        RefusalCase{"oneBandOfFloats",
                    [](const std::string& p) {
                        geotiff::Picture picture;
                        picture.bands = 1;
                        picture.type = GDT_Float32;
                        return geotiff::write(p, picture);
                    },
                    0, {"floating-point", "bad.tif"}},
        RefusalCase{"onePixel",
                    [](const std::string& p) {
                        geotiff::Picture picture;
                        picture.width = picture.height = 1;
                        return geotiff::write(p, picture);
                    },
                    0, {"1 x 1"}},
        RefusalCase{"tooLarge",
                    [](const std::string& p) {
                        geotiff::Picture picture;
                        picture.width = picture.height = 60000;
                        picture.creationOptions = {"TILED=YES", "SPARSE_OK=TRUE", "BLOCKXSIZE=512",
                                                   "BLOCKYSIZE=512"};
                        picture.writePixels = false;
                        return geotiff::write(p, picture);
                    },
                    8ull << 30, {"too large", "60416 x 60416", "18.5 GB", "8.6 GB"}},
        RefusalCase{"polar",
                    [](const std::string& p) {
                        // Polar stereographic around the North Pole, turned by 30 degrees.
                        geotiff::Picture picture;
                        picture.epsg = 3413;
                        const double c = 1000 * std::cos(0.5235987755982988), s = 1000 * std::sin(0.5235987755982988);
                        // Pixel (32, 24) sits on the pole at (0, 0).
                        const double gt[6] = {-(32 * c + 24 * s), c, s, 24 * c - 32 * s, s, -c};
                        std::copy(gt, gt + 6, picture.geoTransform);
                        return geotiff::write(p, picture);
                    },
                    0, {"Pole"}}),
    [](const auto& info) { return std::string(info.param.name); });
