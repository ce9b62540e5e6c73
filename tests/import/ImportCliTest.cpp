// orvane-cli import and orvane-cli photo --image, run in-process on pictures made here.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/OrvaneCli.h"
#include "import/GeoTiffFiles.h"
#include "import/RasterImport.h"
#include "output/Coordinates.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

// The number after `key` at the start of a line of `text`; NaN when there is none.
double valueAfter(const std::string& text, const std::string& key)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(key + " ", 0) == 0)
            return std::stod(line.substr(key.size() + 1));
    return std::nan("");
}

class ImportCliTest : public testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        fs::current_path(dir.path());
        geotiff::Picture utm;
        utm.epsg = 32633;
        ASSERT_TRUE(geotiff::write(dir.file("utm.tif"), utm));
        geotiff::Picture plain;
        ASSERT_TRUE(geotiff::write(dir.file("plain.png.tif"), plain));
    }
    void TearDown() override { fs::current_path(previous_); }

    CliRun run(std::vector<std::string> args)
    {
        std::ostringstream out, err;
        const int code = runOrvaneCli(args, out, err);
        return {code, out.str(), err.str()};
    }

    TempDir dir;

private:
    fs::path previous_;
};

} // namespace

TEST_F(ImportCliTest, ImportPrintsTheExtentsOfTheLibraryAndWritesAProjectBitmap)
{
    const CliRun r = run({"import", "utm.tif", "out.bmp", "--dither"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(isProjectBitmapFile(dir.file("out.bmp")));
    ImportOptions options;
    options.dither = true;
    std::string error;
    const auto direct = importRaster(dir.file("utm.tif"), options, nullptr, error);
    ASSERT_TRUE(direct) << error;
    EXPECT_NEAR(valueAfter(r.out, "north"), direct->extents->north, 1e-9);
    EXPECT_NEAR(valueAfter(r.out, "south"), direct->extents->south, 1e-9);
    EXPECT_NEAR(valueAfter(r.out, "west"), direct->extents->west, 1e-9);
    EXPECT_NEAR(valueAfter(r.out, "east"), direct->extents->east, 1e-9);
    // The same options make the same file, byte for byte.
    ASSERT_TRUE(writeImportedBitmap(*direct, dir.file("direct.bmp"), error));
    EXPECT_EQ(dir.read("out.bmp"), dir.read("direct.bmp"));
}

TEST_F(ImportCliTest, ImportOptionsReachTheResult)
{
    std::vector<unsigned char> grey(768);
    for (int i = 0; i < 768; ++i)
        grey[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i / 3);
    dir.write("colors.pcf", grey);
    CliRun r = run({"import", "plain.png.tif", "pad.bmp", "--pad", "#FF0000", "--palette", "default", "--reserve",
                    "8", "--north", "45", "--south", "44", "--east", "16", "--west", "15"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto bitmap = readRasterThumbnail(dir.file("pad.bmp"), 4096, r.err);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 1024);
    EXPECT_EQ(valueAfter(r.out, "north"), 45.0);
    EXPECT_NEAR(valueAfter(r.out, "east"), 15 + 1024.0 / 64, 1e-9);
    // Red is not in the grey palette: the padding takes its nearest grey, 85.
    const std::uint8_t* corner = bitmap->at(1023, 1023);
    EXPECT_EQ(corner[0], 85);
    EXPECT_EQ(corner[1], 85);
    EXPECT_EQ(corner[2], 85);

    r = run({"import", "utm.tif", "res.bmp", "--resolution", "0.9", "--resample", "bilinear", "--passes", "0"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("2048 x 2048 pixels"), std::string::npos) << r.out;
}

struct CliUsageCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* words;
};

class ImportCliRefusals : public ImportCliTest, public testing::WithParamInterface<CliUsageCase> {};

TEST_P(ImportCliRefusals, SayWhyAndWriteNothing)
{
    const CliUsageCase& c = GetParam();
    const auto before = std::distance(fs::directory_iterator(dir.path()), {});
    const CliRun r = run(c.args);
    EXPECT_EQ(r.code, c.code) << r.out << r.err;
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportCliRefusals,
    testing::Values(
        CliUsageCase{"missingOutput", {"import", "utm.tif"}, 2, "missing arguments"},
        CliUsageCase{"badColour", {"import", "utm.tif", "o.bmp", "--pad", "red"}, 2, "--pad takes"},
        CliUsageCase{"padAndResolution", {"import", "utm.tif", "o.bmp", "--pad", "0,0,0", "--resolution", "5"}, 2,
                     "cannot be combined"},
        CliUsageCase{"someSides", {"import", "utm.tif", "o.bmp", "--north", "45"}, 2, "all four"},
        CliUsageCase{"badResampling", {"import", "utm.tif", "o.bmp", "--resample", "sinc"}, 2, "unknown resampling"},
        CliUsageCase{"unreadable", {"import", "nothing.tif", "o.bmp"}, 1, "Cannot read nothing.tif"},
        CliUsageCase{"missingPalette", {"import", "utm.tif", "o.bmp", "--palette", "x.pal"}, 1, "x.pal"},
        CliUsageCase{"photoWithoutExtents",
                     {"photo", "--image", "plain.png.tif", "--bitmap", "o.bmp", "--prefix", "ab"}, 2,
                     "no georeferencing"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportCliTest, PhotoImportsTheImageAndTakesItsExtents)
{
    const CliRun r = run({"photo", "--image", "utm.tif", "--prefix", "ab", "--folder", "scenery", "--dither"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(isProjectBitmapFile(dir.file("utm.bmp")));
    EXPECT_TRUE(fs::exists(dir.file("scenery/ab.prj")));
    const double north = valueAfter(r.out, "north");
    ASSERT_FALSE(std::isnan(north)) << r.out;
    const CliRun info = run({"info", "scenery/ab.prj"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("\"chunkColumns\": 4"), std::string::npos) << info.out;
    const std::size_t at = info.out.find("\"north\": ");
    ASSERT_NE(at, std::string::npos) << info.out;
    EXPECT_NEAR(std::stod(info.out.substr(at + 9)), north, 5e-7);   // six decimals, as the wizard applies

    // Extents given on the command line win over the image's own.
    const CliRun given = run({"photo", "--image", "plain.png.tif", "--prefix", "cd", "--folder", "plain", "--north",
                              "45", "--south", "44", "--east", "16", "--west", "15"});
    ASSERT_EQ(given.code, 0) << given.err;
    EXPECT_TRUE(fs::exists(dir.file("plain.png.bmp")));
    EXPECT_TRUE(fs::exists(dir.file("plain/cd.prj")));
}
