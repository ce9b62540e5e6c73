#include <gtest/gtest.h>

#include <algorithm>

#include "project/AppContext.h"
#include "project/TexReliefChunk.h"
#include "synth/TextureFileMask.h"
#include "synth/TextureLibrary.h"
#include "synth/TextureLinks.h"
#include "support/ScriptedPlatform.h"
#include "synth/SynthTestFiles.h"

namespace {

std::vector<std::string> libraryNames(const AppContext& app)
{
    std::vector<std::string> names;
    for (const auto& texture : app.textureLibrary)
        names.push_back(texture->name);
    return names;
}

TextureClass enabledClass(int code, bool enabled = true)
{
    TextureClass c;
    c.code = code;
    c.enabled = enabled ? 1 : 0;
    return c;
}

class TextureLibraryTest : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    TempDir dir;

    void SetUp() override
    {
        app.settings.synthTexturesPath = dir.str();
        app.settings.applicationPath = dir.str();
    }
};

} // namespace

TEST(TextureFileMaskTest, MatchesEightCharactersBeforeBmp)
{
    struct Case {
        const char* name;
        char season;
        bool expected;
    } cases[] = {
        {"000000s1.bmp", 's', true},
        {"000000s1.BMP", 's', true},
        {"000000S1.bmp", 's', true},
        {"000000s1.bmp", 'w', false},
        {"000000w1.bmp", 'w', true},
        {"000000w1.bmp", 0, true},
        {"00000s1.bmp", 0, false},
        {"0000000s1.bmp", 0, false},
        {"000000s1.bm", 0, false},
        {"000000s1.bmpx", 0, false},
        {"000000s1.dib", 0, false},
        {"000.00s1.bmp", 0, false},
        {"000000s1xbmp", 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextureFileMask::matches(c.name, c.season), c.expected) << c.name << " / " << c.season;
}

TEST_F(TextureLibraryTest, LoadsEnabledClassesInClassOrderThenNameOrder)
{
    SynthTestFiles::writeLibrary(dir, {"000000s1.bmp", "120000s1.bmp", "001200s1.bmp", "990000s1.bmp", "000000w1.bmp"});
    dir.write("NoMatch.bmp", SynthTestFiles::bitmapBytes(256, 256));
    app.settings.textureClasses = {enabledClass(0), enabledClass(12)};

    loadTextureLibrary(app);

    EXPECT_EQ(libraryNames(app), (std::vector<std::string>{"000000s1.bmp", "001200s1.bmp", "120000s1.bmp"}));
    ASSERT_EQ(app.textureLibrary.size(), 3u);
    const Texture& t = *app.textureLibrary[1];
    EXPECT_EQ(t.kind, 0);
    EXPECT_EQ(t.classCode, 0);
    EXPECT_EQ(t.eastClassCode, 12);
    EXPECT_EQ(t.southClassCode, 0);
    EXPECT_TRUE(t.image.has_value());
    EXPECT_TRUE(t.palette.has_value());
    EXPECT_EQ(t.width, 256);
    EXPECT_EQ(t.height, 256);

    EXPECT_EQ(app.noMatchTexture->name, "NoMatch.bmp");
    EXPECT_TRUE(app.noMatchTexture->image.has_value());
    EXPECT_EQ(app.noMatchTexture->classCode, -1);
    EXPECT_TRUE(platform.messages.empty()) << platform.messageTexts().front();
    ASSERT_FALSE(platform.progressLog.empty());
    EXPECT_EQ(platform.progressLog.front(), "create Loading/Replacing Synthetic Textures...");
    EXPECT_EQ(platform.progressLog.back(), "destroy");
    EXPECT_NE(std::find(platform.progressLog.begin(), platform.progressLog.end(), "range 1 2 step 1"),
              platform.progressLog.end());
    EXPECT_EQ(std::count_if(platform.progressLog.begin(), platform.progressLog.end(),
                            [](const std::string& line) { return line.rfind("pos ", 0) == 0; }),
              2);
}

TEST_F(TextureLibraryTest, DisabledClassesTakeNoPart)
{
    SynthTestFiles::writeLibrary(dir, {"000000s1.bmp", "001200s1.bmp", "120000s1.bmp", "121200s1.bmp"});
    app.settings.textureClasses = {enabledClass(0), enabledClass(12, false)};
    app.settings.textureClasses.resize(13);
    app.settings.textureClasses[12] = enabledClass(12, false);

    loadTextureLibrary(app);

    EXPECT_EQ(libraryNames(app), (std::vector<std::string>{"000000s1.bmp"}));
}

TEST_F(TextureLibraryTest, WinterLoadsOnlyWinterSetAndOtherSeasonsTheSummerSet)
{
    SynthTestFiles::writeLibrary(dir, {"000000s1.bmp", "000000w1.bmp", "000000w2.bmp", "000000p1.bmp"});
    app.settings.textureClasses = {enabledClass(0)};

    const struct {
        int season;
        std::vector<std::string> expected;
    } cases[] = {
        {0, {"000000w1.bmp", "000000w2.bmp"}},
        {1, {"000000s1.bmp"}},
        {2, {"000000s1.bmp"}},
        {3, {"000000s1.bmp"}},
    };
    for (const auto& c : cases) {
        app.settings.viewSeason = c.season;
        loadTextureLibrary(app);
        EXPECT_EQ(libraryNames(app), c.expected) << "season " << c.season;
    }
}

TEST_F(TextureLibraryTest, EmptyFolderLeavesLibraryEmptyWithoutProgress)
{
    app.settings.textureClasses = {enabledClass(0)};
    SynthTestFiles::writeLibrary(dir, {"000000s1.bmp"});
    loadTextureLibrary(app);
    ASSERT_EQ(app.textureLibrary.size(), 1u);

    app.settings.synthTexturesPath = dir.file("missing");
    platform.progressLog.clear();
    loadTextureLibrary(app);
    EXPECT_TRUE(app.textureLibrary.empty());
    EXPECT_TRUE(platform.progressLog.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(TextureLibraryTest, RescanBuildsClassListFromMainCodes)
{
    // "-1" reads as a negative code, which names no class and must not index before the list.
    SynthTestFiles::writeLibrary(dir, {"050000s1.bmp", "020000w1.bmp", "050300s2.bmp", "notatexture.bmp", "-10000s1.bmp"});
    TextureClass named = enabledClass(2);
    named.name = "Forest";
    named.color = 0x00FF00;
    app.settings.textureClasses = {named};

    EXPECT_TRUE(rescanTextureClasses(app));

    const auto& classes = app.settings.textureClasses;
    ASSERT_EQ(classes.size(), 6u);
    const int codes[] = {-1, -1, 2, -1, -1, 5};
    for (std::size_t i = 0; i < classes.size(); ++i) {
        EXPECT_EQ(classes[i].code, codes[i]) << i;
        EXPECT_EQ(classes[i].name, "<no name>");
        EXPECT_EQ(classes[i].color, 0x808080u);
        EXPECT_EQ(classes[i].enabled, 1);
    }
}

TEST_F(TextureLibraryTest, RescanOfEmptyFolderKeepsClassesAndSaysSo)
{
    dir.write("readme.txt", std::string("no textures"));
    app.settings.textureClasses = {enabledClass(7)};

    EXPECT_FALSE(rescanTextureClasses(app));

    EXPECT_EQ(platform.messageTexts(), std::vector<std::string>{"No Textures present in this directory."});
    EXPECT_EQ(platform.messages.front().icon, MsgIcon::Exclamation);
    ASSERT_EQ(app.settings.textureClasses.size(), 1u);
    EXPECT_EQ(app.settings.textureClasses[0].code, 7);
}

TEST_F(TextureLibraryTest, InvalidImagesAreReportedAndStayListed)
{
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
        const char* message;
    } cases[] = {
        {"000000s1.bmp", SynthTestFiles::bitmapBytes(512, 512), "This Image's width is not 256 pixels . Loading abandoned."},
        {"000000s2.bmp", SynthTestFiles::bitmapBytes(256, 128), "This Image's height is not 256 pixels . Loading abandoned."},
        {"000000s3.bmp", SynthTestFiles::bitmapBytes(256, 256, 24), "This image has more than 256 colors. Loading Abandoned."},
    };
    for (const auto& c : cases) {
        dir.write(c.name, c.bytes);
        platform.messages.clear();
        Texture texture;
        texture.name = c.name;
        texture.kind = 0;
        EXPECT_FALSE(loadTextureImage(app, texture)) << c.name;
        EXPECT_FALSE(texture.image.has_value());
        ASSERT_EQ(platform.messages.size(), 2u) << c.name;
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(platform.messages[1].text, "Cannot load DIB");
        EXPECT_EQ(platform.messages[1].icon, MsgIcon::Information);
    }

    // Inside the library the texture is still listed, without an image.
    app.settings.textureClasses = {enabledClass(0)};
    loadTextureLibrary(app);
    ASSERT_EQ(app.textureLibrary.size(), 3u);
    EXPECT_FALSE(app.textureLibrary[0]->image.has_value());
}

TEST_F(TextureLibraryTest, UnopenableFilesAreSkippedSilently)
{
    Texture texture;
    texture.name = "000000s9.bmp";
    texture.kind = 0;
    EXPECT_FALSE(loadTextureImage(app, texture));
    dir.write("garbage.bmp", std::string("not a bitmap"));
    texture.name = "garbage.bmp";
    EXPECT_EQ(platform.messages.size(), 0u);
    EXPECT_FALSE(loadTextureImage(app, texture));
    EXPECT_EQ(platform.messageTexts(), std::vector<std::string>{"Cannot load DIB"});
}

TEST_F(TextureLibraryTest, PhotoTilesLoadAsBmpOrAsR8DressedWithDefaultBmp)
{
    dir.write("tile.bmp", SynthTestFiles::bitmapBytes(256, 256, 8, 7));
    std::vector<unsigned char> r8(256 * 256);
    for (std::size_t i = 0; i < r8.size(); ++i)
        r8[i] = static_cast<unsigned char>(i * 31 % 251);
    dir.write("tile.r8", r8);

    Texture bmp;
    bmp.kind = 1;
    bmp.name = dir.file("tile.bmp");
    app.settings.platform = 1;
    ASSERT_TRUE(loadTextureImage(app, bmp));
    EXPECT_EQ(bmp.image->pixelIndex(0, 0), 7);

    Texture tile;
    tile.kind = 1;
    tile.name = dir.file("tile.r8");
    app.settings.platform = 0;
    EXPECT_FALSE(loadTextureImage(app, tile)) << "no default.bmp yet";
    EXPECT_TRUE(platform.messages.empty());

    dir.write("default.bmp", SynthTestFiles::bitmapBytes(256, 256));
    ASSERT_TRUE(loadTextureImage(app, tile));
    EXPECT_EQ(tile.width, 256);
    EXPECT_EQ(tile.image->colorAt(10), 0x0005F50Au);
    EXPECT_EQ(tile.palette->colorRef(10), tile.image->colorAt(10));
    EXPECT_EQ(tile.image->pixelIndex(0, 0), r8[0]);
    EXPECT_EQ(tile.image->pixelIndex(5, 3), r8[3 * 256 + 5]);
    EXPECT_EQ(tile.image->pixelIndex(255, 255), r8.back());

    dir.write("short.r8", std::vector<unsigned char>(1000));
    Texture shortTile;
    shortTile.kind = 1;
    shortTile.name = dir.file("short.r8");
    EXPECT_FALSE(loadTextureImage(app, shortTile));
    EXPECT_EQ(platform.messageTexts(), std::vector<std::string>{"Cannot load DIB"});
}

TEST_F(TextureLibraryTest, OutOfRangeIndicesLinkNoMatchTexture)
{
    SynthTestFiles::writeLibrary(dir, {"000000s1.bmp", "000000s2.bmp"});
    app.settings.textureClasses = {enabledClass(0)};
    loadTextureLibrary(app);
    ASSERT_EQ(app.textureLibrary.size(), 2u);

    TexReliefChunk chunk;
    linkChunkTexture(app, chunk, 1);
    EXPECT_EQ(chunk.texture, app.textureLibrary[1].get());
    EXPECT_EQ(chunk.textureKind, 0);
    for (long index : {-1L, 2L}) {
        chunk.texture = nullptr;
        linkChunkTexture(app, chunk, index);
        EXPECT_EQ(chunk.texture, app.noMatchTexture.get()) << index;
    }
}
