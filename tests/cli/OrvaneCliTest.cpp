// orvane-cli, run in-process: every subcommand's success path, usage errors and failing input.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/AppSettings.h"
#include "app/ConfigFile.h"
#include "base/PathUtil.h"
#include "cli/CliPlatform.h"
#include "cli/CliProgress.h"
#include "cli/DemoData.h"
#include "cli/OrvaneCli.h"
#include "output/BatchInterpreter.h"
#include "support/TempDir.h"
#include "base/TextFormat.h"
#include "wizards/PhotoExtentsModel.h"
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

class OrvaneCliTest : public ::testing::Test {
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

    // A 1024 x 1024 sample with DTED and text heights in dir/in.
    void makeSample()
    {
        const CliRun r = run({"demo-data", "--out", "in", "--size", "1024", "--points", "31"});
        ASSERT_EQ(r.code, 0) << r.err;
    }

    std::vector<std::string> photoArgs(const std::string& folder, const std::string& prefix = "ab")
    {
        return {"photo", "--bitmap", "in/landscape.bmp", "--north", "45:30", "--south", "45", "--east", "15.5",
                "--west", "15:0:0", "--prefix", prefix, "--folder", folder, "--dted", "in/landscape.dt0"};
    }

    static std::string slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static std::size_t filesIn(const std::string& folder)
    {
        std::size_t n = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            n += entry.is_regular_file() ? 1 : 0;
        return n;
    }

    TempDir dir;

private:
    fs::path previous_;
};

TEST_F(OrvaneCliTest, EveryCommandDescribesItselfWithHelp)
{
    for (const char* command : {"photo", "sca", "compile", "cut", "info", "demo-data"}) {
        SCOPED_TRACE(command);
        const CliRun r = run({command, "--help"});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out.rfind(std::string("usage: orvane-cli ") + command, 0), 0u) << r.out;
        EXPECT_EQ(run({"help", command}).out, r.out);
    }
    const CliRun top = run({"--help"});
    EXPECT_EQ(top.code, 0);
    EXPECT_NE(top.out.find("commands:"), std::string::npos);
}

TEST_F(OrvaneCliTest, UsageErrorsExitWithTwoAndTheUsage)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"photo", "--bitmap", "a.bmp", "--north", "1", "--south", "0", "--east", "1", "--west", "0"},   // no prefix
        {"photo", "--bitmap"},                                                                           // no value
        {"photo", "--bitmap", "a", "--north", "1", "--south", "0", "--east", "1", "--west", "0", "--prefix", "p",
         "--levels", "4"},
        {"photo", "--bitmap", "a", "--north", "1", "--south", "0", "--east", "1", "--west", "0", "--prefix", "p",
         "--bmp", "h.bmp", "0", "1", "0", "1", "low", "100"},
        {"photo", "--bitmap", "a", "--north", "1", "--south", "0", "--east", "1", "--west", "0", "--prefix", "p",
         "--sca", "x.sca"},                                                                              // no altitude
        {"photo", "--bitmap", "a", "--bitmap", "b"},
        {"sca", "only.prj"},
        {"compile", "a.prj", "b.bgl", "c"},
        {"cut", "a.prj"},
        {"cut", "a.prj", "--level", "5"},
        {"info"},
        {"info", "a.prj", "--verbose"},
        {"demo-data"},
        {"demo-data", "--out", "x", "--size", "1000"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.empty() ? std::string("(none)") : args[0] + " ... " + args.back());
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("usage: orvane-cli"), std::string::npos) << r.err;
    }
}

TEST_F(OrvaneCliTest, PhotoMakesTheProjectTilesAndSourceLikeTheWizard)
{
    makeSample();
    std::vector<std::string> args = photoArgs("out");
    fs::create_directory("out");
    for (const char* extra : {"--text", "in/landscape.txt", "--levels", "all", "--sca", "out/s.sca"})
        args.push_back(extra);
    const CliRun r = run(args);
    ASSERT_EQ(r.code, 0) << r.err;

    EXPECT_TRUE(PathUtil::fileExists("out/ab.prj"));
    EXPECT_EQ(filesIn("out/texture"), 16u + 4u + 1u);
    EXPECT_TRUE(PathUtil::fileExists("out/texture/ab0000322.bmp"));
    EXPECT_TRUE(PathUtil::fileExists("out/texture/ab000021.bmp"));
    EXPECT_TRUE(PathUtil::fileExists("out/texture/ab00001.bmp"));
    EXPECT_TRUE(PathUtil::folderExists("out/scenery"));
    const std::string source = slurp("out/s.sca");
    EXPECT_NE(source.find("Header(1 45.500000 45.000000 15.500000 15.000000)\r\n"), std::string::npos);
    EXPECT_NE(source.find("Bitmap( ab0000322.bmp"), std::string::npos);

    const CliRun info = run({"info", "out/ab.prj"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("\"chunkCount\": 16"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"texturePrefix\": \"ab\""), std::string::npos);
    EXPECT_NE(info.out.find("\"scasmFileTitle\": \"s\""), std::string::npos);
    EXPECT_NE(info.out.find("landscape.dt0"), std::string::npos);
    EXPECT_NE(info.out.find("landscape.txt"), std::string::npos);
    EXPECT_NE(info.out.find("ab0000333.bmp"), std::string::npos);

    // The saved project writes the very same source again.
    const CliRun sca = run({"sca", "out/ab.prj", "again.sca"});
    ASSERT_EQ(sca.code, 0) << sca.err;
    EXPECT_EQ(slurp("again.sca"), source);
}

TEST_F(OrvaneCliTest, PhotoRefusesWhatTheWizardRefuses)
{
    makeSample();
    DemoData::writeBitmap("odd.bmp", 1000, 1024);
    std::vector<std::string> oddBitmap = photoArgs("out");
    oddBitmap[2] = "odd.bmp";
    std::vector<std::string> badLatitudes = photoArgs("out");
    badLatitudes[4] = "44";   // north below south
    const struct { std::vector<std::string> args; const char* message; } cases[] = {
        {oddBitmap, "orvane-cli: error: This Image's width is not a multiple of 1024 . Loading abandoned.\n"},
        {badLatitudes, "orvane-cli: error: Latitude range is invalid. Please set latitude range.\n"},
        {photoArgs("out", "<none>"), "orvane-cli: error: Please provide texture name prefix.\n"},
        {photoArgs("out", ""), "orvane-cli: error: Please provide texture name prefix.\n"},
    };
    // The reason is the run's one error and its last line: no generic line repeats the failure.
    const auto lastErrorLine = [](const std::string& err) {
        const std::size_t at = err.rfind("orvane-cli: error: ");
        return at == std::string::npos ? std::string() : err.substr(at);
    };
    const auto errorCount = [](const std::string& err) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = err.find("orvane-cli: error: ", at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const CliRun r = run(c.args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(lastErrorLine(r.err), c.message) << r.err;
        EXPECT_EQ(errorCount(r.err), 1u) << r.err;
        EXPECT_EQ(r.err.find("the wizard's input was refused"), std::string::npos) << r.err;
        EXPECT_FALSE(PathUtil::fileExists("out/ab.prj"));
    }
    // A missing altitude file fails the run as well, with its own one line.
    std::vector<std::string> noDted = photoArgs("out");
    noDted.back() = "in/missing.dt0";
    const CliRun r = run(noDted);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(errorCount(r.err), 1u) << r.err;
}

// A grey 8-bit BMP height image: grey level = 10 + x (x from 0 to 239 over 240 columns).
void writeGreyBitmap(const std::string& path, int width, int height)
{
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    std::string b(14 + 40 + 1024 + stride * static_cast<std::size_t>(height), '\0');
    auto put32 = [&b](std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k)
            b[at + k] = static_cast<char>(v >> (8 * k));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 14 + 40 + 1024);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = 8;
    for (int i = 0; i < 256; ++i)
        b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = static_cast<char>(i);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b[1078 + stride * static_cast<std::size_t>(y) + static_cast<std::size_t>(x)] = static_cast<char>(10 + x % 240);
    std::ofstream(path, std::ios::binary) << b;
}

TEST_F(OrvaneCliTest, PhotoTakesBmpHeightsWithTheirExtentsAndRefusesAColourOne)
{
    makeSample();
    writeGreyBitmap("grey.bmp", 256, 256);
    std::vector<std::string> args = photoArgs("out");
    args.resize(args.size() - 2);   // no DTED this time
    for (const char* extra : {"--bmp", "grey.bmp", "45", "45:30", "15", "15.5", "100", "900", "--sca", "out/g.sca"})
        args.push_back(extra);
    const CliRun ok = run(args);
    ASSERT_EQ(ok.code, 0) << ok.err;
    const CliRun info = run({"info", "out/ab.prj"});
    EXPECT_NE(info.out.find("\"sourceType\": 1"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"records\": 65536"), std::string::npos);
    EXPECT_NE(info.out.find("\"waterLevel\": 100"), std::string::npos);

    // The coloured landscape is no height image.
    args[args.size() - 9] = "in/landscape.bmp";
    const CliRun refused = run(args);
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("This image is not a grayscale image. Loading abandoned."), std::string::npos)
        << refused.err;
}

TEST_F(OrvaneCliTest, R8TilesNeedDefaultBmp)
{
    makeSample();
    std::vector<std::string> args = photoArgs("out");
    args.push_back("--platform");
    args.push_back("0");
    // Without default.bmp the run says so, naming the folders looked in, before anything is cut.
    const CliRun without = run(args);
    EXPECT_EQ(without.code, 1);
    EXPECT_NE(without.err.find("need default.bmp in " + fs::current_path().string() + ", "), std::string::npos)
        << without.err;
    EXPECT_NE(without.err.find("share/orvane; it is missing"), std::string::npos)
        << without.err;
    EXPECT_FALSE(fs::exists("out/texture"));

    // default.bmp: a 256 x 256 8-bit bitmap whose header and colours the .r8 tiles borrow.
    DemoData::writeBitmap("default.bmp", 256, 256);
    const CliRun with = run(args);
    EXPECT_EQ(with.code, 0) << with.err;
    EXPECT_TRUE(PathUtil::fileExists("out/texture/ab0000.322"));
    EXPECT_EQ(fs::file_size("out/texture/ab0000.322"), 65536u);
}

// The extents page's reference corner and locked resolutions: the side away from the corner
// follows from the resolution, exactly as the page computes it.
TEST_F(OrvaneCliTest, PhotoTakesTheExtentsPageCornerAndLockedResolutions)
{
    makeSample();
    struct Case {
        int corner;
        std::vector<std::string> sides;   // the two sides the corner keeps
    };
    const Case cases[] = {
        {0, {"--north", "45:30", "--west", "15"}},
        {1, {"--south", "45", "--west", "15"}},
        {2, {"--north", "45:30", "--east", "15.5"}},
        {3, {"--south", "45", "--east", "15.5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.corner);
        std::vector<std::string> args = {"photo", "--bitmap", "in/landscape.bmp", "--prefix", "ab", "--folder",
                                         "c" + std::to_string(c.corner), "--corner", std::to_string(c.corner),
                                         "--horizontal", "40", "--vertical", "52.5"};
        args.insert(args.end(), c.sides.begin(), c.sides.end());
        const CliRun r = run(args);
        ASSERT_EQ(r.code, 0) << r.err;
        const CliRun info = run({"info", "c" + std::to_string(c.corner) + "/ab.prj"});
        ASSERT_EQ(info.code, 0) << info.err;

        PhotoExtentsModel page(1024, 1024, AppSettings().coordinateFormat);   // as the page shows them
        page.corner = c.corner;
        page.maxLatText = "45:30";
        page.minLatText = "45";
        page.maxLonText = "15.5";
        page.minLonText = "15";
        page.vertical = 52.5;
        page.verticalLock = true;
        page.verticalChanged();
        page.horizontal = 40;
        page.horizontalLock = true;
        page.horizontalChanged();
        const auto number = [](double v) { return TextFormat::cformat("%.17g", v); };
        EXPECT_NE(info.out.find("\"north\": " + number(page.north())), std::string::npos) << info.out;
        EXPECT_NE(info.out.find("\"south\": " + number(page.south())), std::string::npos) << info.out;
        EXPECT_NE(info.out.find("\"east\": " + number(page.east())), std::string::npos) << info.out;
        EXPECT_NE(info.out.find("\"west\": " + number(page.west())), std::string::npos) << info.out;
    }
    // A side that no resolution computes is still needed; corners are 0 to 3.
    EXPECT_EQ(run({"photo", "--bitmap", "in/landscape.bmp", "--prefix", "ab", "--north", "45", "--west", "15",
                   "--horizontal", "40"})
                  .code,
              2);
    EXPECT_EQ(run({"photo", "--bitmap", "in/landscape.bmp", "--prefix", "ab", "--north", "45", "--west", "15",
                   "--south", "44", "--east", "16", "--corner", "4"})
                  .code,
              2);
    EXPECT_NE(cliUsage("photo").find("--horizontal M"), std::string::npos);
}

// sca and compile --save: the project as the builder saves it after writing; info --records.
TEST_F(OrvaneCliTest, ScaSavesTheProjectAfterWritingAndInfoListsRecords)
{
    makeSample();
    ASSERT_EQ(run(photoArgs("out")).code, 0);
    const CliRun r = run({"sca", "out/ab.prj", "out/named.sca", "--save", "out/after.prj"});
    ASSERT_EQ(r.code, 0) << r.err;
    const CliRun info = run({"info", "out/after.prj", "--records"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("\"scasmFileTitle\": \"named\""), std::string::npos);
    // 31 x 31 DTED posts: every one listed for its map and again in the main map.
    const auto count = [&](const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(info.out, "\"recordList\""), 1u);
    EXPECT_EQ(count(info.out, "\"mainAltitudeRecordList\""), 1u);
    EXPECT_EQ(count(info.out, "\n        ["), 31u * 31u);
    EXPECT_EQ(count(info.out, "\n    ["), 31u * 31u);
    EXPECT_EQ(run({"info", "out/after.prj"}).out.find("recordList"), std::string::npos);
}

// Devices and FIFOs are refused at once instead of being read for ever.
TEST_F(OrvaneCliTest, InfoAndPhotoRefuseDevicesAndFifos)
{
    makeSample();
    ASSERT_EQ(::mkfifo("fifo.prj", 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), std::string("fifo.prj")}) {
        SCOPED_TRACE(path);
        const CliRun r = run({"info", path});
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("cannot open project"), std::string::npos);
    }
    std::vector<std::string> args = photoArgs("out");
    args.resize(args.size() - 2);
    args.insert(args.end(), {"--text", "/dev/zero"});
    const CliRun photo = run(args);
    EXPECT_EQ(photo.code, 1);
    EXPECT_NE(photo.err.find("/dev/zero: not a regular file"), std::string::npos) << photo.err;
}

TEST_F(OrvaneCliTest, SettingsComeFromTexReliefCfgInTheCurrentFolder)
{
    makeSample();
    DemoData::writeBitmap("default.bmp", 256, 256);
    AppSettings settings;
    settings.platform = 0;   // .r8 tiles
    ASSERT_TRUE(writeConfigFile("TexRelief.cfg", settings));
    const CliRun r = run(photoArgs("out"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(PathUtil::fileExists("out/texture/ab0000.322"));
    EXPECT_FALSE(PathUtil::fileExists("out/texture/ab0000322.bmp"));
    EXPECT_TRUE(PathUtil::fileExists("TexRelief.cfg"));

    // A damaged configuration stops every command before it does anything.
    std::ofstream("TexRelief.cfg", std::ios::binary) << std::string("\x02\x00\xff\xff\xff\x7f", 6);
    const CliRun damaged = run({"info", "out/ab.prj"});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_NE(damaged.err.find("TexRelief.cfg is damaged"), std::string::npos) << damaged.err;
}

TEST_F(OrvaneCliTest, ScaAndInfoFailOnAFileThatIsNoProject)
{
    std::ofstream("junk.prj") << "not a project";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", "junk.prj"}, {"sca", "junk.prj", "o.sca"}, {"sca", "missing.prj", "o.sca"},
          {"compile", "junk.prj", "o.bgl"}, {"cut", "junk.prj", "--level", "3"}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("cannot open project"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(PathUtil::fileExists("o.sca"));
}

TEST_F(OrvaneCliTest, ScaFailsWhenTheSourceCannotBeWritten)
{
    makeSample();
    fs::create_directory("out");
    ASSERT_EQ(run(photoArgs("out")).code, 0);
    const CliRun r = run({"sca", "out/ab.prj", "no/such/folder/x.sca"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos);
}

TEST_F(OrvaneCliTest, CutWritesTheLevelIntoTheFolderWithThePrefix)
{
    makeSample();
    fs::create_directory("out");
    ASSERT_EQ(run(photoArgs("out")).code, 0);
    const CliRun r = run({"cut", "out/ab.prj", "--level", "2", "--folder", "other", "--prefix", "zz"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(filesIn("other/texture"), 4u);
    EXPECT_TRUE(PathUtil::fileExists("other/texture/zz000024.bmp"));
    // The project file is left as it was.
    const CliRun info = run({"info", "out/ab.prj"});
    EXPECT_NE(info.out.find("\"texturePrefix\": \"ab\""), std::string::npos);

    // A folder that cannot be made gives no tiles and a failure.
    std::ofstream("blocker") << "x";
    EXPECT_EQ(run({"cut", "out/ab.prj", "--level", "1", "--folder", "blocker"}).code, 1);
}

TEST_F(OrvaneCliTest, CompileRunsScasmFromTheCurrentFolder)
{
    makeSample();
    fs::create_directory("out");
    ASSERT_EQ(run(photoArgs("out")).code, 0);

    const CliRun missing = run({"compile", "out/ab.prj", "out/lake.bgl"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Couldn't find SCASM.EXE"), std::string::npos) << missing.err;

    // A stand-in assembler: copies the source into the BGL it is asked for.
    std::ofstream("scasm.exe") << "#!/bin/sh\ncp \"$1\" \"$2\"\n";
    fs::permissions("scasm.exe", fs::perms::owner_all);
    const CliRun ok = run({"compile", "out/ab.prj", "out/lake.bgl"});
    ASSERT_EQ(ok.code, 0) << ok.err;
    EXPECT_TRUE(PathUtil::fileExists("out/lake.bgl"));
    EXPECT_EQ(slurp("out/lake.bgl"), slurp("out/lake.sca"));
    EXPECT_FALSE(PathUtil::fileExists("sca.bat"));

    // An assembler that makes no BGL is a failure, told in one line that says why.
    const std::string here = fs::current_path().string();
    const struct {
        const char* script;
        std::string line;
    } failures[] = {
        {"#!/bin/sh\nexit 3\n",
         "orvane-cli: error: compiling " + here + "/out/other.bgl failed: SCASM ended without writing " + here +
             "/other.bgl\n"},
        {"#!/bin/sh\necho 'line 3: bad' > SCAERROR.LOG\nexit 2\n",
         "orvane-cli: error: compiling " + here + "/out/other.bgl failed: SCASM ended with exit code 2; see " + here +
             "/SCAERROR.LOG\n"},
        {"#!/bin/sh\ncp \"$1\" \"$2\"\nexit 4\n",
         "orvane-cli: error: compiling " + here + "/out/other.bgl failed: SCASM ended with exit code 4; it left no "
                                                  "SCAERROR.LOG\n"},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.script);
        fs::remove("SCAERROR.LOG");
        std::ofstream("scasm.exe") << f.script;
        const CliRun failed = run({"compile", "out/ab.prj", "out/other.bgl"});
        EXPECT_EQ(failed.code, 1);
        ASSERT_GE(failed.err.size(), f.line.size()) << failed.err;
        EXPECT_EQ(failed.err.substr(failed.err.size() - f.line.size()), f.line) << failed.err;
        EXPECT_EQ(failed.err.find("orvane-cli: error: "), failed.err.size() - f.line.size()) << failed.err;
        EXPECT_FALSE(PathUtil::fileExists("out/other.bgl"));
    }

    // A Windows program without wine: the reason, with the install command, once, as the last line.
    std::ofstream("scasm.exe") << std::string("MZ\0\0", 4);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (here + "/no-such-folder").c_str(), 1);
    const CliRun noWine = run({"compile", "out/ab.prj", "out/other.bgl"});
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(noWine.code, 1);
    const std::string reason = "Cannot start scasm.exe: it is a Windows program and wine";
    EXPECT_EQ(noWine.err.find(reason), noWine.err.rfind(reason)) << noWine.err;
    EXPECT_NE(noWine.err.find("orvane-cli: error: compiling " + here + "/out/other.bgl failed: " + reason),
              std::string::npos)
        << noWine.err;
    EXPECT_NE(noWine.err.find("(apt-get install wine)"), std::string::npos) << noWine.err;
}

TEST_F(OrvaneCliTest, CompileHelpSaysWhereScasmIsLookedForAndHowItRuns)
{
    const CliRun help = run({"compile", "--help"});
    ASSERT_EQ(help.code, 0);
    for (const char* text : {"scasm.exe is looked for in the folder orvane-cli is started from",
                             "runs through wine", "apt-get install wine.", "apt-get install wine32:i386"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    EXPECT_EQ(cliUsage("compile"), help.out);
    for (const char* command : {"photo", "synth"})
        EXPECT_NE(run({command, "--help"}).out.find("see 'compile --help' for how scasm.exe is found and run"),
                  std::string::npos)
            << command;
}

TEST_F(OrvaneCliTest, DemoDataWritesMatchingPictureAndHeights)
{
    const CliRun r = run({"demo-data", "--out", "d", "--size", "1024", "--points", "11", "--name", "x"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(fs::file_size("d/x.bmp"), 14u + 40 + 1024 + 1024 * 1024);
    EXPECT_EQ(fs::file_size("d/x.dt0"), 3428u + 11 * (8 + 2 * 11 + 4));
    EXPECT_NE(r.out.find("north 45:30:0.00"), std::string::npos);
    // A folder that is a file cannot take the samples.
    std::ofstream("file") << "x";
    EXPECT_EQ(run({"demo-data", "--out", "file"}).code, 1);
}

TEST(CliPlatform, QuestionsGetTheAnswerThatChangesNothing)
{
    EXPECT_EQ(CliPlatform::safeAnswer(MsgButtons::Ok), MsgAnswer::Ok);
    EXPECT_EQ(CliPlatform::safeAnswer(MsgButtons::OkCancel), MsgAnswer::Cancel);
    EXPECT_EQ(CliPlatform::safeAnswer(MsgButtons::YesNo), MsgAnswer::No);
    EXPECT_EQ(CliPlatform::safeAnswer(MsgButtons::YesNoCancel), MsgAnswer::Cancel);

    std::ostringstream err;
    CliPlatform platform(err, false);
    EXPECT_EQ(platform.message("Overwrite?\nReally?", MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::No);
    EXPECT_EQ(err.str(), "orvane-cli: note: Overwrite?\n    Really? [answered No]\n");
    EXPECT_FALSE(platform.openFileDialog({}).has_value());
}

// Kinds as command-line tools print them; a cause code joins its line rather than standing alone.
TEST(CliPlatform, PrintsErrorsWarningsAndNotesWithoutStrayLines)
{
    const struct {
        MsgIcon icon;
        const char* text;
        const char* printed;
    } cases[] = {
        {MsgIcon::Stop, "Please provide texture name prefix.", "orvane-cli: error: Please provide texture name prefix.\n"},
        {MsgIcon::Exclamation, "Couldn't read default palette file.\n2\ncolors.pcf was looked for in /a.",
         "orvane-cli: warning: Couldn't read default palette file. (code 2)\n    colors.pcf was looked for in /a.\n"},
        {MsgIcon::Information, "Done.\r\nAll of it.", "orvane-cli: note: Done.\n    All of it.\n"},
        {MsgIcon::Question, "Go?", "orvane-cli: note: Go?\n"},
        {MsgIcon::None, "1\n2", "orvane-cli: note: 1 (code 2)\n"},
        {MsgIcon::Information, "Tiles:\n\n12345678901", "orvane-cli: note: Tiles:\n    \n    12345678901\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::ostringstream err;
        CliPlatform platform(err, false);
        platform.message(c.text, c.icon, MsgButtons::Ok);
        EXPECT_EQ(err.str(), c.printed);
        EXPECT_EQ(platform.stops(), c.icon == MsgIcon::Stop ? 1 : 0);
    }
    // While refusals count, a warning is the error that ends the run.
    std::ostringstream err;
    CliPlatform platform(err, false);
    platform.setRefusalsAreErrors(true);
    platform.message("Fine so far.", MsgIcon::Information, MsgButtons::Ok);
    platform.message("Bad size.", MsgIcon::Exclamation, MsgButtons::Ok);
    platform.message("Cannot load.", MsgIcon::Information, MsgButtons::Ok);   // only repeats it
    platform.setRefusalsAreErrors(false);
    platform.message("Odd.", MsgIcon::Exclamation, MsgButtons::Ok);
    platform.message("Later.", MsgIcon::Information, MsgButtons::Ok);
    EXPECT_EQ(err.str(), "orvane-cli: note: Fine so far.\norvane-cli: error: Bad size.\norvane-cli: warning: Odd.\n"
                         "orvane-cli: note: Later.\n");
    EXPECT_EQ(platform.stops(), 1);
}

TEST(CliProgress, DrawsABarOnlyWhenAsked)
{
    std::ostringstream quiet, shown;
    {
        CliProgress off(quiet, "Loading", false);
        off.SetRange(0, 10);
        off.SetPos(5);
        EXPECT_EQ(off.barLine(10), "Loading [#####     ]  50%");
        off.SetPos(40);   // past the end: a full bar, not an overflow
        EXPECT_EQ(off.barLine(10), "Loading [##########] 100%");
    }
    EXPECT_TRUE(quiet.str().empty());
    {
        CliProgress on(shown, "Loading", true);
        on.SetRange(0, 4);
        on.StepIt();
    }
    EXPECT_NE(shown.str().find("\r\x1b[K"), std::string::npos);
    EXPECT_EQ(shown.str().back(), '\n');
}

} // namespace

namespace {

// The first start of wine is told as a note line, once, before the program's own output.
TEST(CliPlatform, TellsOnceThatWineIsPreparingItsFolder)
{
    TempDir dir;
    TempDir bin;
    bin.write("wine", "#!/bin/sh\necho \"running $1\"\n");
    fs::permissions(bin.file("wine"), fs::perms::owner_all);
    dir.write("scasm.exe", std::string("MZ\0\0", 4));
    dir.write("sca.bat", "@echo off\r\nscasm a.sca a.bgl\r\npause\r\n");
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const char* oldPrefix = std::getenv("WINEPREFIX");
    const std::string savedPrefix = oldPrefix ? oldPrefix : "";
    ::setenv("PATH", (bin.str() + ":/usr/bin:/bin").c_str(), 1);
    ::setenv("WINEPREFIX", dir.file("prefix").c_str(), 1);
    forgetWinePreparingNote();
    std::ostringstream err;
    CliPlatform platform(err, false);
    const BatchRunResult first = platform.runBatchFile(dir.file("sca.bat"), dir.str());
    platform.runBatchFile(dir.file("sca.bat"), dir.str());
    ::setenv("PATH", oldPath.c_str(), 1);
    if (oldPrefix)
        ::setenv("WINEPREFIX", savedPrefix.c_str(), 1);
    else
        ::unsetenv("WINEPREFIX");
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(err.str(), "orvane-cli: note: Wine is preparing its folder " + dir.file("prefix") +
                             " for the first time; this can take a few seconds.\n"
                             "running " + dir.file("scasm.exe") + "\nPress any key to continue . . . \n"
                             "running " + dir.file("scasm.exe") + "\nPress any key to continue . . . \n");
}

} // namespace
