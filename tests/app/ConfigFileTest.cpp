// TexRelief.cfg: start-up without a file, the exact bytes written at exit, round trips,
// unknown tags, and corrupt files that must fail start-up and survive it untouched.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "base/FileLimits.h"
#include "project/AppContext.h"
#include "app/AppStartup.h"
#include "app/ConfigFile.h"
#include "project/TaggedReader.h"
#include "project/TaggedWriter.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

// Assembles expected file bytes by hand, independently of the writer under test.
struct Bytes {
    std::vector<unsigned char> b;
    Bytes& u16(unsigned v) { b.push_back(v & 0xff); b.push_back((v >> 8) & 0xff); return *this; }
    Bytes& u32(std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xff); return *this; }
    Bytes& f64(double d)
    {
        std::uint64_t v;
        std::memcpy(&v, &d, 8);
        for (int i = 0; i < 8; ++i) b.push_back((v >> (8 * i)) & 0xff);
        return *this;
    }
    Bytes& str(unsigned tag, const std::string& s)
    {
        u16(tag).u32(static_cast<std::uint32_t>(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& i32(unsigned tag, std::int32_t v) { return u16(tag).u32(4).u32(static_cast<std::uint32_t>(v)); }
    Bytes& dbl(unsigned tag, double v) { return u16(tag).u32(8).f64(v); }
    // Patches the 32-bit length at `at` to cover everything after it.
    Bytes& patch(std::size_t at)
    {
        const std::uint32_t len = static_cast<std::uint32_t>(b.size() - at - 4);
        for (int i = 0; i < 4; ++i) b[at + i] = (len >> (8 * i)) & 0xff;
        return *this;
    }
};

Bytes defaultConfigBytes()
{
    Bytes x;
    x.u16(2).u32(0);
    x.str(63, "<not specified>").str(72, "<not specified>").str(73, "<not specified>").str(74, "<not specified>");
    x.i32(65, 0).i32(71, 1).i32(84, 0).dbl(85, 0.25).i32(27, 1).i32(91, 2);
    x.u16(34).u32(0);
    x.u16(1);
    return x.patch(2);
}

// Runs start-up and shut-down with the current folder set to a temporary folder.
class ConfigStartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    TempDir dir;
    ScriptedPlatform platform;

private:
    std::filesystem::path previous_;
};

} // namespace

TEST_F(ConfigStartupTest, MissingFileSaysSoOnceAndExitWritesEveryDefaultByteForByte)
{
    AppContext app(platform);
    AppStartup startup(app);
    ASSERT_TRUE(startup.readSettings());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Configuration settings not found. Creating new settings.");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(app.settings.applicationPath, std::filesystem::current_path().string());

    EXPECT_EQ(startup.writeSettings(), 0);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(dir.read("TexRelief.cfg"), defaultConfigBytes().b);

    // The next start finds the file and says nothing.
    ScriptedPlatform second;
    AppContext again(second);
    AppStartup startupAgain(again);
    ASSERT_TRUE(startupAgain.readSettings());
    EXPECT_TRUE(second.messages.empty());
}

TEST_F(ConfigStartupTest, ApplicationFolderIsTheCurrentFolderNotTheProgramFolder)
{
    AppContext app(platform);
    app.settings.applicationPath = "/nonexistent-program-folder";
    AppStartup startup(app);
    ASSERT_TRUE(startup.readSettings());
    EXPECT_EQ(app.settings.applicationPath, dir.str());
    EXPECT_EQ(startup.writeSettings(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("TexRelief.cfg")));
}

TEST_F(ConfigStartupTest, CorruptFilesFailStartUpSilentlyAndAreNeverOverwritten)
{
    const Bytes good = defaultConfigBytes();
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    std::vector<Case> cases;
    // Cut short inside the length of an unknown item.
    cases.push_back({"short unknown length", {0x02, 0x00, 0x10, 0x00, 0x00, 0x00, 0x63, 0x00, 0x01}});
    // A string whose length runs past the end.
    cases.push_back({"string past end", Bytes().u16(2).u32(0).u16(63).u32(1000).b});
    // An unknown item whose length runs past the end.
    cases.push_back({"skip past end", Bytes().u16(2).u32(0).u16(500).u32(0x7fffffff).u16(1).b});
    // Ends after the values, without tag 34 or the end tag.
    cases.push_back({"no end", std::vector<unsigned char>(good.b.begin(), good.b.end() - 8)});
    // A value count larger than the file.
    cases.push_back({"huge count", Bytes().u16(2).u32(0).u16(34).u32(0x40000000).u32(7).b});
    // A texture class block without its end tag.
    cases.push_back({"open class block", Bytes().u16(2).u32(0).u16(66).u32(20).str(67, "Water").b});
    // A value item whose payload is missing.
    cases.push_back({"value past end", Bytes().u16(2).u32(0).u16(27).u32(4).u16(0).b});
    // Another first tag: refused before the rest of the file is read.
    cases.push_back({"project file", Bytes().u16(64).u32(0).u16(1).b});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("TexRelief.cfg", c.bytes);
        ScriptedPlatform p;
        AppContext app(p);
        AppStartup startup(app);
        EXPECT_FALSE(startup.readSettings());
        EXPECT_TRUE(p.messages.empty());
        AppSettings defaults;
        defaults.applicationPath = app.settings.applicationPath;
        EXPECT_EQ(app.settings, defaults);  // nothing half-read
        EXPECT_EQ(startup.writeSettings(), 0);
        EXPECT_EQ(dir.read("TexRelief.cfg"), c.bytes);
    }
}

// A device or FIFO in the configuration's place, or a file far beyond any configuration, is
// refused at once and left alone.
TEST_F(ConfigStartupTest, DevicesFifosAndHugeFilesAreRefusedAtOnce)
{
    AppSettings settings;
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.cfg"));
    ASSERT_EQ(::mkfifo(dir.file("fifo.cfg").c_str(), 0600), 0);
    dir.write("huge.cfg", defaultConfigBytes().b);
    std::filesystem::resize_file(dir.file("huge.cfg"), FileLimits::kConfigFile + 1);
    for (const char* name : {"zero.cfg", "fifo.cfg", "huge.cfg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(readConfigFile(dir.file(name), settings), ConfigFileState::Corrupt);
    }
    EXPECT_EQ(readConfigFile(dir.file("none.cfg"), settings), ConfigFileState::Missing);
}

TEST_F(ConfigStartupTest, UnwritableFileAtExitSaysSoAndGivesExitCodeMinusOne)
{
    AppContext app(platform);
    AppStartup startup(app);
    ASSERT_TRUE(startup.readSettings());
    app.settings.applicationPath = dir.file("no-such-folder");
    EXPECT_EQ(startup.writeSettings(), -1);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "Couldn't open config file. Exiting.");
    EXPECT_EQ(platform.messages[1].icon, MsgIcon::Exclamation);
}

TEST_F(ConfigStartupTest, ARunThatNeverReadTheFileDoesNotReplaceIt)
{
    // Registration-only runs end before the file is read; the exit must not write defaults over it.
    AppSettings custom;
    custom.fs98Path = "C:\\FS98";
    ASSERT_TRUE(writeConfigFile(dir.file("TexRelief.cfg"), custom));
    const auto before = dir.read("TexRelief.cfg");
    AppContext app(platform);
    AppStartup startup(app);
    EXPECT_EQ(startup.writeSettings(), 0);
    EXPECT_EQ(dir.read("TexRelief.cfg"), before);
}

TEST(ConfigFile, RoundTripsSettingsClassesAndExtraValues)
{
    AppSettings s;
    s.synthTexturesPath = "D:\\Textures\\Synth";
    s.fs98Path = "";
    s.cfsPath = "C:\\CFS";
    s.fs2000Path = "C:\\Program Files\\FS2000";
    s.loadTexturesOnOpen = 1;
    s.platform = 0;
    s.showSynthTilesColorCoded = 1;
    s.zoomLevel = 0.125;
    s.coordinateFormat = 0;
    s.viewSeason = 3;
    s.textureClasses = {{"Water", 0x00FF0000, 1, 0}, {"", 0x00123456, 0, 7}, {"Forest", 0x0000FF00, 1, -1}};
    s.extraValues = {0, -1, 2147483647, 42};

    TaggedWriter writer;
    writeConfig(writer, s);
    TaggedReader reader(writer.data());
    AppSettings read;
    ASSERT_TRUE(readConfig(reader, read));
    EXPECT_EQ(read, s);

    // A class block is tag 66, its length, the four items and the end tag.
    const auto& d = writer.data();
    const std::vector<unsigned char> water = Bytes().u16(66).u32(0).str(67, "Water").i32(68, 0x00FF0000).i32(69, 1)
                                                 .i32(70, 0).u16(1).patch(2).b;
    EXPECT_NE(std::search(d.begin(), d.end(), water.begin(), water.end()), d.end());
}

TEST(ConfigFile, UnknownTagsAreSkippedWhereverTheyStand)
{
    Bytes cls;
    cls.u16(66).u32(0).str(67, "Sand").u16(99).u32(2).u16(7).i32(70, 5).u16(1).patch(2);

    Bytes file;
    file.u16(2).u32(0);
    file.u16(500).u32(3).b.insert(file.b.end(), {1, 2, 3});
    file.str(63, "lib").u16(0).u32(0).i32(27, 0);
    file.b.insert(file.b.end(), cls.b.begin(), cls.b.end());
    file.u16(4000).u32(8).f64(1.0).i32(91, 1).u16(34).u32(1).u32(9).u16(1).patch(2);

    TaggedReader reader(file.b);
    AppSettings s;
    ASSERT_TRUE(readConfig(reader, s));
    EXPECT_EQ(s.synthTexturesPath, "lib");
    EXPECT_EQ(s.coordinateFormat, 0);
    EXPECT_EQ(s.viewSeason, 1);
    ASSERT_EQ(s.textureClasses.size(), 1u);
    EXPECT_EQ(s.textureClasses[0].name, "Sand");
    EXPECT_EQ(s.textureClasses[0].code, 5);
    EXPECT_EQ(s.textureClasses[0].color, TextureClass().color);  // untouched default
    EXPECT_EQ(s.extraValues, std::vector<std::int32_t>{9});
}

TEST(ConfigFile, ValueItemsLongerThanTheirSettingNeverWritePastIt)
{
    // coordinateFormat with an 8-byte payload, zoomLevel with 12, then a normal item.
    Bytes file;
    file.u16(2).u32(0);
    file.u16(27).u32(8).u32(0).u32(0xDEADBEEF);
    file.u16(85).u32(12).f64(2.5).u32(0xFFFFFFFF);
    file.i32(91, 0).u16(34).u32(0).u16(1).patch(2);
    TaggedReader reader(file.b);
    AppSettings s;
    ASSERT_TRUE(readConfig(reader, s));
    EXPECT_EQ(s.coordinateFormat, 0);
    EXPECT_EQ(s.zoomLevel, 2.5);
    EXPECT_EQ(s.viewSeason, 0);
    AppSettings expected;
    expected.coordinateFormat = 0;
    expected.zoomLevel = 2.5;
    expected.viewSeason = 0;
    EXPECT_EQ(s, expected);  // neighbours of the long items unchanged
}

TEST(ConfigFile, ReadingStopsAfterTheValueList)
{
    // Whatever follows the tag 34 list is not read, not even a missing end tag.
    Bytes file;
    file.u16(2).u32(0).i32(71, 2).u16(34).u32(2).u32(5).u32(6);
    TaggedReader reader(file.b);
    AppSettings s;
    ASSERT_TRUE(readConfig(reader, s));
    EXPECT_EQ(s.platform, 2);
    EXPECT_EQ(s.extraValues, (std::vector<std::int32_t>{5, 6}));
}
