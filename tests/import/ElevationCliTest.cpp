// orvane-cli photo --dem, run in-process on a .hgt tile made here: the map is clipped, saved with
// its records and named as an elevation file by info; wrong options are usage errors.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/OrvaneCli.h"
#include "import/ElevationFiles.h"
#include "import/GeoTiffFiles.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct CliResult {
    int code;
    std::string out;
    std::string err;
};

CliResult run(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = runOrvaneCli(args, out, err);
    return {code, out.str(), err.str()};
}

class ElevationCliTest : public testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        fs::current_path(dir.path());
        dem::Grid g = dem::tile(45, 6, 1201);
        g.driver = "SRTMHGT";
        g.height_at = [](int x, int y) { return x == 60 && y == 1150 ? -32768 : 300 + x + y; };
        ASSERT_TRUE(dem::write(dir.file("N45E006.hgt"), g));
        geotiff::Picture plain;
        ASSERT_TRUE(geotiff::write(dir.file("plain.tif"), plain));
    }
    void TearDown() override { fs::current_path(previous_); }

    TempDir dir;

private:
    fs::path previous_;
};

} // namespace

TEST_F(ElevationCliTest, PhotoTakesAnElevationFileAndInfoNamesItsSource)
{
    const CliResult r = run({"photo", "--image", "plain.tif", "--prefix", "dm", "--folder", "scenery", "--north", "45.1",
                       "--south", "45", "--east", "6.1", "--west", "6", "--dem", "N45E006.hgt", "--voids", "skip",
                       "--sca", "scenery/dm.sca"});
    ASSERT_EQ(r.code, 0) << r.err << r.out;
    // 0.1 degree is 120 posts: 121 x 121 posts, one of them void and left out.
    // The account of the read comes as the platform's message.
    EXPECT_NE((r.out + r.err).find("N45E006.hgt: 14641 posts read, 1 void (left out), 14640 records kept."),
              std::string::npos)
        << r.out << r.err;
    EXPECT_NE(r.out.find("121 x 121, 14640 records"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(dir.file("scenery/dm.sca")));
    const CliResult info = run({"info", "scenery/dm.prj"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("\"source\": \"elevation file\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"sourceType\": 3"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"records\": 14640"), std::string::npos) << info.out;
}

TEST_F(ElevationCliTest, WrongElevationOptionsAreUsageErrors)
{
    for (const auto& [option, value] : {std::pair{"--voids", "zero"}, {"--dem-spacing", "-5"}, {"--dem-spacing", "far"}}) {
        const CliResult r = run({"photo", "--image", "plain.tif", "--prefix", "dm", "--folder", "s", "--north", "45.1",
                           "--south", "45", "--east", "6.1", "--west", "6", "--dem", "N45E006.hgt", option, value});
        EXPECT_EQ(r.code, 2) << option << " " << value;
        EXPECT_NE(r.err.find(option), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir.file("s/dm.prj")));
    }
    const CliResult missing = run({"photo", "--image", "plain.tif", "--prefix", "dm", "--folder", "t", "--north", "45.1",
                             "--south", "45", "--east", "6.1", "--west", "6", "--dem", "missing.hgt"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("cannot read altitude map"), std::string::npos) << missing.err;
}
