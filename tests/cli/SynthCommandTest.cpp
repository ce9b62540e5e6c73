// orvane-cli synth and the starter texture library, run in-process.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/ConfigFile.h"
#include "base/AppSettings.h"
#include "cli/OrvaneCli.h"
#include "cli/StarterLibrary.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "synth/TextureLibrary.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

class SynthCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        fs::current_path(dir.path());   // the program's files are read from the current folder
        ::setenv("SOURCE_DATE_EPOCH", "946684800", 1);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        ::unsetenv("SOURCE_DATE_EPOCH");
    }

    CliRun run(std::vector<std::string> args)
    {
        std::ostringstream out, err;
        const int code = runOrvaneCli(args, out, err);
        return {code, out.str(), err.str()};
    }

    /// The starter library in the test folder itself, so its TexRelief.cfg is the program's.
    void makeLibrary()
    {
        const CliRun r = run({"demo-data", "--library", dir.str()});
        ASSERT_EQ(r.code, 0) << r.err;
    }

    static std::string slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempDir dir;

private:
    fs::path previous_;
};

std::string outputLine(const std::string& out, const std::string& key)
{
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("  " + key + ": ", 0) == 0)
            return line.substr(key.size() + 4);
    return "<none>";
}

} // namespace

TEST_F(SynthCommandTest, StarterLibraryLoadsWithEveryClassAndSeason)
{
    makeLibrary();
    AppSettings settings;
    ASSERT_EQ(readConfigFile(dir.file("TexRelief.cfg"), settings), ConfigFileState::Loaded);
    EXPECT_EQ(settings.synthTexturesPath, dir.str());
    EXPECT_EQ(settings.loadTexturesOnOpen, 1);
    ASSERT_EQ(settings.textureClasses.size(), 5u);
    const char* names[] = {"Water", "Grass", "Forest", "Farmland", "Town"};
    for (int code = 0; code < 5; ++code) {
        EXPECT_EQ(settings.textureClasses[static_cast<std::size_t>(code)].code, code);
        EXPECT_EQ(settings.textureClasses[static_cast<std::size_t>(code)].name, names[code]);
        EXPECT_EQ(settings.textureClasses[static_cast<std::size_t>(code)].enabled, 1);
    }

    for (int season : {2, 0}) {
        ScriptedPlatform platform;
        AppContext app(platform);
        app.settings = settings;
        app.settings.viewSeason = season;
        loadTextureLibrary(app);
        EXPECT_TRUE(platform.messages.empty()) << platform.messageTexts().front();
        ASSERT_EQ(app.textureLibrary.size(), 125u);
        // Every (main, east, south) combination once: every pair of neighbours has a fitting texture.
        std::set<int> combinations;
        for (const auto& t : app.textureLibrary) {
            EXPECT_TRUE(t->image.has_value()) << t->name;
            EXPECT_EQ(t->name[6], season == 0 ? 'w' : 's');
            combinations.insert(t->classCode * 100 + t->eastClassCode * 10 + t->southClassCode);
        }
        EXPECT_EQ(combinations.size(), 125u);
        EXPECT_TRUE(app.noMatchTexture->image.has_value());
    }
}

TEST(StarterLibraryTest, EdgesShowTheClassesTheNameGives)
{
    // Palette entries 40 x class to 40 x class + 39 belong to a class.
    struct Case {
        int m, e, s;
    } cases[] = {{0, 0, 0}, {1, 2, 3}, {4, 0, 2}, {3, 3, 1}, {2, 4, 4}};
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> pixels = StarterLibrary::texturePixels(c.m, c.e, c.s);
        ASSERT_EQ(pixels.size(), 65536u);
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(pixels[static_cast<std::size_t>(i)] / 40, c.s) << "south edge, x " << i;            // row 0
            EXPECT_EQ(pixels[static_cast<std::size_t>(255 * 256 + i)] / 40, i < 180 ? c.m : pixels[static_cast<std::size_t>(255 * 256 + i)] / 40);
            if (i >= 80) {
                EXPECT_EQ(pixels[static_cast<std::size_t>(i * 256 + 255)] / 40, c.e) << "east edge, y " << i;
                EXPECT_EQ(pixels[static_cast<std::size_t>(i * 256)] / 40, c.m) << "west edge, y " << i;
            }
        }
    }
    // The two sets differ in colour only.
    EXPECT_NE(StarterLibrary::palette('s'), StarterLibrary::palette('w'));
    EXPECT_EQ(StarterLibrary::textureNames('s').size(), 125u);
    EXPECT_EQ(StarterLibrary::textureNames('w').front(), "000000w1.bmp");
}

TEST_F(SynthCommandTest, SameSeedSameFilesAndNoMissingTexturesOnTheStarterLibrary)
{
    makeLibrary();
    ASSERT_EQ(run({"demo-data", "--out", "in", "--size", "1024", "--points", "31"}).code, 0);
    // Every neighbour pair has a fitting texture, so laying the grid never runs out.
    for (const char* seed : {"1", "77", "4000000000"}) {
        const CliRun grid = run({"synth", "--columns", "16", "--rows", "16", "--south", "45", "--west", "15",
                                 "--seed", seed, "--project", "grid.prj"});
        ASSERT_EQ(grid.code, 0) << grid.err;
        EXPECT_EQ(outputLine(grid.out, "no match"), "0") << seed;
        EXPECT_EQ(outputLine(grid.out, "chunks").substr(0, 4), "256 ");
        EXPECT_EQ(outputLine(grid.out, "seed"), seed);
    }

    const std::vector<std::string> args = {"synth", "--columns", "16", "--rows", "16", "--south", "45", "--west",
                                           "15", "--dted", "in/landscape.dt0", "--water", "--seed", "1234",
                                           "--sca", "out.sca", "--project", "out.prj"};
    const CliRun first = run(args);
    ASSERT_EQ(first.code, 0) << first.err;
    const std::string prj = slurp(dir.file("out.prj")), sca = slurp(dir.file("out.sca"));
    ASSERT_FALSE(prj.empty());
    ASSERT_NE(sca.find("\tBitmap( "), std::string::npos);
    EXPECT_EQ(sca.find("NoMatch"), std::string::npos);

    ASSERT_EQ(run(args).code, 0);
    EXPECT_EQ(slurp(dir.file("out.prj")), prj);
    EXPECT_EQ(slurp(dir.file("out.sca")), sca);

    std::vector<std::string> other = args;
    other[13] = "1235";
    ASSERT_EQ(run(other).code, 0);
    EXPECT_NE(slurp(dir.file("out.prj")), prj);
}

TEST_F(SynthCommandTest, OneCornerAndTheLockedResolutionGiveTheExtents)
{
    makeLibrary();
    ASSERT_EQ(run({"synth", "--columns", "4", "--rows", "2", "--south", "45", "--west", "15", "--classes", "0",
                   "--seed", "1", "--project", "sw.prj"})
                  .code,
              0);
    ASSERT_EQ(run({"synth", "--columns", "4", "--rows", "2", "--north", "45", "--east", "15", "--resolution", "3",
                   "--seed", "1", "--project", "ne.prj"})
                  .code,
              0);
    ScriptedPlatform platform;
    AppContext app(platform);
    CDibDoc sw(app), ne(app);
    ASSERT_TRUE(loadProject(sw, dir.file("sw.prj")));
    ASSERT_TRUE(loadProject(ne, dir.file("ne.prj")));
    // Shown in degrees, minutes and seconds with two decimals: within a hundredth of a second.
    const double second = 1.0 / 3600 / 100;
    EXPECT_EQ(sw.boundary.south, 45.0);
    EXPECT_EQ(sw.boundary.west, 15.0);
    EXPECT_NEAR(sw.boundary.north, 45.0 + 2 * 256 * 2.0 / 111130.55555555556, second);
    const double k = std::cos(((sw.boundary.north + 45.0) / 2) * 3.14159265359 / 180) * 40075.0 / 360.0;
    EXPECT_NEAR(sw.boundary.east, 15.0 + 4 * 256 * 2.0 / (k * 1000), second);
    EXPECT_EQ(ne.boundary.north, 45.0);
    EXPECT_EQ(ne.boundary.east, 15.0);
    EXPECT_NEAR(ne.boundary.south, 45.0 - 2 * 256 * 3.0 / 111130.55555555556, second);
    EXPECT_EQ(sw.chunks.size(), 8u);
    EXPECT_EQ(sw.creationKind, 0);   // not saved
    // The library is not loaded here: the project keeps the names it could not link.
    for (const TexReliefChunk& chunk : sw.chunks)
        EXPECT_EQ(chunk.unresolvedTextureName, "000000s1.bmp");
}

TEST_F(SynthCommandTest, RefusesBadInputAndAnEmptyLibrary)
{
    const std::vector<std::vector<std::string>> usage = {
        {"synth", "--rows", "2", "--south", "45", "--west", "15"},
        {"synth", "--columns", "0", "--rows", "2", "--south", "45", "--west", "15"},
        {"synth", "--columns", "2", "--rows", "1025", "--south", "45", "--west", "15"},
        {"synth", "--columns", "2", "--rows", "2", "--west", "15"},
        {"synth", "--columns", "2", "--rows", "2", "--south", "45"},
        {"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15", "--water"},
        {"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15", "--sca", "x.sca"},
        {"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15", "--classes", "1,x"},
        {"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15", "--seed", "-1"},
        {"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15", "--resolution", "0"},
        {"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15", "extra"},
    };
    for (const auto& args : usage) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2) << args[1] << " " << args.back();
        EXPECT_NE(r.err.find("usage: orvane-cli synth"), std::string::npos);
    }

    // No TexRelief.cfg here: the library is empty.
    const CliRun empty = run({"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15"});
    EXPECT_EQ(empty.code, 1);
    EXPECT_NE(empty.err.find("No synthetic textures present. Could not create synthetic scenery."), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("synthetic.prj")));

    // A library folder named on the command line, its classes read from the file names.
    const TempDir library;
    ASSERT_EQ(run({"demo-data", "--library", library.str()}).code, 0);
    fs::remove(library.file("TexRelief.cfg"));
    const CliRun named = run({"synth", "--columns", "2", "--rows", "2", "--south", "45", "--west", "15",
                              "--library", library.str(), "--classes", "2", "--seed", "5"});
    EXPECT_EQ(named.code, 0) << named.err;
    EXPECT_EQ(outputLine(named.out, "textures"), "125 in " + library.str());

    EXPECT_EQ(run({"synth", "--help"}).code, 0);
    EXPECT_EQ(run({"demo-data", "--library", "lib", "--size", "1024"}).code, 2);
}
