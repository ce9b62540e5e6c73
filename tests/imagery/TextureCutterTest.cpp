#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "imagery/BitmapFile.h"
#include "imagery/ProjectBitmap.h"
#include "imagery/TestBitmaps.h"
#include "imagery/TextureCutter.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

const std::vector<std::string> kLevel2 = {"22", "24", "21", "23"};
const std::vector<std::string> kLevel3 = {"322", "324", "342", "344", "321", "323", "341", "343",
                                          "312", "314", "332", "334", "311", "313", "331", "333"};

struct Fixture {
    TempDir dir;
    ScriptedPlatform platform;
    AppContext app{platform};
    std::unique_ptr<CDibDoc> doc;
    std::string tiles;

    explicit Fixture(const testbmp::Layout& layout, int platformSetting = 0)
    {
        app.settings.applicationPath = dir.str();
        app.settings.platform = platformSetting;
        doc = std::make_unique<CDibDoc>(app);
        dir.write("photo.bmp", testbmp::makeFile(layout));
        EXPECT_TRUE(loadProjectBitmap(*doc, dir.file("photo.bmp")));
        tiles = dir.file("texture");
        std::filesystem::create_directories(tiles);
        doc->textureFolder = tiles;
        platform.messages.clear();
    }
    /// Answers the next name dialog with prefix "ab" in the tile folder.
    void choosePrefix() { platform.fileAnswers.push_back(PathUtil::join(tiles, "ab.r8")); }
    std::string r8(int block, const std::string& code) const
    {
        char number[8];
        std::snprintf(number, sizeof number, "%04d", block);
        return PathUtil::join(tiles, "ab" + std::string(number) + "." + code);
    }
    std::vector<std::uint8_t> readTile(const std::string& path) const
    {
        return dir.read(std::filesystem::relative(path, dir.path()).string());
    }
};

testbmp::Layout sized(int width, int height)
{
    testbmp::Layout layout;
    layout.width = width;
    layout.height = height;
    return layout;
}

TEST(TextureCutter, AllLevelsOfOneBlockInWritingOrder)
{
    for (int platformSetting : {0, 1}) {
        SCOPED_TRACE(platformSetting);
        Fixture f(sized(1024, 1024), platformSetting);
        f.choosePrefix();
        ASSERT_TRUE(cutAllLevels(*f.doc));

        std::vector<std::string> expected;
        auto name = [&](const std::string& code) {
            return platformSetting == 0 ? f.r8(0, code) : PathUtil::join(f.tiles, "ab0000" + code + ".bmp");
        };
        expected.push_back(name("1"));
        for (const auto& code : kLevel2)
            expected.push_back(name(code));
        for (const auto& code : kLevel3)
            expected.push_back(name(code));
        EXPECT_EQ(f.doc->textureFileNames, expected);
        const std::uintmax_t size = platformSetting == 0 ? 65536u : 14u + 40 + 1024 + 65536;
        for (const auto& path : expected)
            EXPECT_EQ(std::filesystem::file_size(path), size) << path;

        EXPECT_EQ(f.doc->texturePrefix, "ab");
        EXPECT_EQ(f.doc->sceneryFolder, f.tiles);
        ASSERT_EQ(f.platform.fileDialogs.size(), 1u);
        const FileDialogOptions& options = f.platform.fileDialogs[0];
        EXPECT_EQ(options.title, "Select prefix for All Levels texture filenames:");
        EXPECT_EQ(options.filter, "All Files (*.*)|*.*|R8 files (*.r8)|*.r8||");
        EXPECT_TRUE(options.defaultExt.empty());
        EXPECT_TRUE(options.hideReadOnly && options.overwritePrompt);
        EXPECT_TRUE(f.platform.messages.empty());

        // One progress window: caption, range of 21/16 of the level 3 tiles, a step per tile.
        const auto& log = f.platform.progressLog;
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "create Please wait...Preparing Textures...");
        EXPECT_NE(std::find(log.begin(), log.end(), "range 0 21 step 1"), log.end());
        for (const char* status : {"Preparing Level 1...", "Preparing Level 2...", "Preparing Level 3..."})
            EXPECT_NE(std::find(log.begin(), log.end(), std::string("text  | ") + status), log.end()) << status;
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("pos ", 0) == 0; }),
                  21);
        EXPECT_EQ(log.back(), "destroy");
    }
}

TEST(TextureCutter, BlocksAreNumberedFromTheBottomLeft)
{
    struct Case {
        int width;
        int height;
        int secondBlockX;   // lower-left pixel of block 0001
        int secondBlockY;
    };
    for (const Case& c : {Case{2048, 1024, 1024, 0}, Case{1024, 2048, 0, 1024}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        Fixture f(sized(c.width, c.height));
        f.choosePrefix();
        ASSERT_TRUE(cutTextureLevel(*f.doc, 3, "", 1));
        ASSERT_EQ(f.doc->textureFileNames.size(), 32u);
        EXPECT_EQ(f.doc->textureFileNames[0], f.r8(0, "322"));
        EXPECT_EQ(f.doc->textureFileNames[16], f.r8(1, "322"));
        EXPECT_EQ(f.doc->textureFileNames[31], f.r8(1, "333"));
        const auto tile = f.readTile(f.r8(1, "322"));
        ASSERT_EQ(tile.size(), 65536u);
        EXPECT_EQ(tile[0], testbmp::patternIndex(c.secondBlockX, c.secondBlockY));
        EXPECT_EQ(tile[65535], testbmp::patternIndex(c.secondBlockX + 255, c.secondBlockY + 255));

        f.doc->textureFileNames.clear();
        f.choosePrefix();
        ASSERT_TRUE(cutTextureLevel(*f.doc, 1, "", 4));
        EXPECT_EQ(f.doc->textureFileNames, (std::vector<std::string>{f.r8(0, "1"), f.r8(1, "1")}));
    }
}

TEST(TextureCutter, ChunkCountsBeyondTheBitmapCutOnlyTheBitmap)
{
    // A project file may claim any chunk grid; the bitmap loaded with it is 1024 x 1024.
    Fixture f(sized(1024, 1024));
    f.doc->chunkColumns = 2147483647;
    f.doc->chunkRows = 2147483647;
    f.choosePrefix();
    ASSERT_TRUE(cutTextureLevel(*f.doc, 1, "", 4));
    EXPECT_EQ(f.doc->textureFileNames, std::vector<std::string>{f.r8(0, "1")});

    f.doc->textureFileNames.clear();
    f.choosePrefix();
    ASSERT_TRUE(cutAllLevels(*f.doc));
    EXPECT_EQ(f.doc->textureFileNames.size(), 21u);
    const auto& log = f.platform.progressLog;
    EXPECT_NE(std::find(log.begin(), log.end(), "range 0 21 step 1"), log.end());
}

TEST(TextureCutter, LevelThreeTilesReproduceTheIndices)
{
    Fixture f(sized(1024, 1024));
    f.choosePrefix();
    ASSERT_TRUE(cutTextureLevel(*f.doc, 3, "", 1));
    EXPECT_EQ(f.platform.fileDialogs.at(0).title, "Select prefix for Level 3 texture filenames:");
    // Writing index 6 is code 341: third 256 column, second 256 row from the bottom.
    const auto tile = f.readTile(f.r8(0, "341"));
    ASSERT_EQ(tile.size(), 65536u);
    for (int row = 0; row < 256; ++row)
        for (int column = 0; column < 256; ++column)
            ASSERT_EQ(tile[row * 256 + column], testbmp::patternIndex(512 + column, 256 + row))
                << "row " << row << " column " << column;
}

TEST(TextureCutter, LevelTwoAveragesWithTheRoundingConstant)
{
    // Palette: index i is grey i. Each 2 x 2 square of the lower-left tile holds k copies of grey 1
    // and 4 - k of grey 0, k = (column % 5); four equal pixels give exactly their colour.
    testbmp::Layout layout = sized(1024, 1024);
    layout.color = [](int i) { return static_cast<std::uint32_t>(i) * 0x010101u; };
    layout.pixel = [](int x, int y) -> std::uint8_t {
        const int square = (x / 2) % 5;
        if (square == 4)
            return 200;   // four equal pixels of a colour far from the others
        const int position = (y % 2) * 2 + (x % 2);
        return position < square ? 1 : 0;
    };
    Fixture f(layout);
    f.choosePrefix();
    ASSERT_TRUE(cutTextureLevel(*f.doc, 2, "", 2));
    EXPECT_EQ(f.doc->textureFileNames,
              (std::vector<std::string>{f.r8(0, "22"), f.r8(0, "24"), f.r8(0, "21"), f.r8(0, "23")}));
    const auto tile = f.readTile(f.r8(0, "22"));
    ASSERT_EQ(tile.size(), 65536u);
    // k = 0: 0; k = 1: 0.25 -> 0; k = 2: exactly one half rounds down -> 0; k = 3: 0.75 -> 1; four 200s: 200.
    const std::uint8_t expected[5] = {0, 0, 0, 1, 200};
    for (int column = 0; column < 10; ++column)
        EXPECT_EQ(tile[column], expected[column % 5]) << column;
    EXPECT_EQ(tile[255 * 256 + 4], 200);
}

// Random pictures and palettes (some shorter than 256 entries, so that indices past the end
// add nothing), tiles inside and partly outside the bitmap: every pixel of a level 1 and 2 tile
// is the nearest entry of the averages taken in floating point, exactly as written here.
TEST(TextureCutter, AveragedTilesFollowTheFloatingPointRuleOnEveryPixel)
{
    std::uint32_t seed = 99;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    testbmp::Layout layout = sized(1024, 1024);
    std::vector<std::uint8_t> picture(1024 * 1024);
    for (std::uint8_t& index : picture)
        index = static_cast<std::uint8_t>(next());
    layout.pixel = [&picture](int x, int y) { return picture[static_cast<std::size_t>(y) * 1024 + x]; };
    Fixture f(layout);
    for (int trial = 0; trial < 7; ++trial) {
        SCOPED_TRACE(trial);
        LogicalPalette& palette = *f.doc->projectPalette;
        palette.entries.resize(trial % 2 == 0 ? 256 : 97 + trial * 20);
        for (PaletteEntry& e : palette.entries) {
            // Few distinct levels, so that sums land on exact halves often.
            e.red = static_cast<std::uint8_t>(next() % 4 * 85);
            e.green = static_cast<std::uint8_t>(next());
            e.blue = static_cast<std::uint8_t>(next() % 2 * 255);
        }
        // 2, 3 and 4, then the largest step, whose squares reach far past the bitmap.
        const int step = trial < 6 ? 2 + trial % 3 : kMaxTileStep;
        const int x0 = trial < 3 || trial == 6 ? 0 : 1024 - 128 * step;
        const int y0 = trial == 6 ? 0 : trial < 3 ? 256 : 1024 - 64 * step;
        const std::string path = f.dir.file("tile" + std::to_string(trial));
        ASSERT_TRUE(writeTextureTile(*f.doc, path, x0, y0, step));
        const auto tile = f.dir.read("tile" + std::to_string(trial));
        ASSERT_EQ(tile.size(), 65536u);
        for (int row = 0; row < 256; ++row)
            for (int column = 0; column < 256; ++column) {
                double sums[3] = {0.0, 0.0, 0.0};
                for (int dy = 0; dy < step; ++dy)
                    for (int dx = 0; dx < step; ++dx) {
                        const int x = x0 + column * step + dx, y = y0 + row * step + dy;
                        const std::size_t index = x < 1024 && y < 1024 ? picture[static_cast<std::size_t>(y) * 1024 + x] : 0;
                        if (index < palette.entries.size()) {
                            sums[0] += palette.entries[index].red;
                            sums[1] += palette.entries[index].green;
                            sums[2] += palette.entries[index].blue;
                        }
                    }
                std::uint8_t channel[3];
                for (int c = 0; c < 3; ++c)
                    channel[c] = static_cast<std::uint8_t>(
                        static_cast<long long>(sums[c] / (step * step) + 0.49998998641967773) & 0xFF);
                ASSERT_EQ(tile[static_cast<std::size_t>(row) * 256 + column],
                          palette.nearestIndex(channel[0], channel[1], channel[2]))
                    << "row " << row << " column " << column;
            }
    }
    // Steps past the largest are refused, not summed past the width of a channel's field.
    EXPECT_FALSE(writeTextureTile(*f.doc, f.dir.file("step33"), 0, 0, kMaxTileStep + 1));
    // The shared rule itself: exact halves go down, anything above them up.
    EXPECT_EQ(averagedChannel(2.0, 4.0), 0);
    EXPECT_EQ(averagedChannel(3.0, 4.0), 1);
    EXPECT_EQ(averagedChannel(4080.0, 16.0), 255);
}

TEST(TextureCutter, LevelOneMatchesTheNearestEntryLowestIndexFirst)
{
    // Index 0 and 1 hold the same colour: averages landing on it take index 0.
    testbmp::Layout layout = sized(1024, 1024);
    layout.color = [](int i) -> std::uint32_t { return i <= 1 ? 0x0000FFu : (i == 2 ? 0xFF0000u : 0u); };
    layout.pixel = [](int, int) -> std::uint8_t { return 1; };
    Fixture f(layout);
    f.choosePrefix();
    ASSERT_TRUE(cutTextureLevel(*f.doc, 1, "", 4));
    const auto tile = f.readTile(f.r8(0, "1"));
    ASSERT_EQ(tile.size(), 65536u);
    EXPECT_EQ(tile[0], 0);
    EXPECT_EQ(tile[65535], 0);
}

TEST(TextureCutter, CancelUnwritableTilesAndRepeatedCuts)
{
    Fixture f(sized(1024, 1024));
    f.platform.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(cutTextureLevel(*f.doc, 2, "", 2));
    EXPECT_FALSE(cutAllLevels(*f.doc));
    EXPECT_TRUE(f.doc->textureFileNames.empty());
    EXPECT_TRUE(std::filesystem::is_empty(f.tiles));
    EXPECT_TRUE(f.platform.progressLog.empty());

    // A folder standing where one tile should go: that tile is skipped, and the user is told
    // which and that the others were written.
    std::filesystem::create_directories(f.r8(0, "341"));
    f.choosePrefix();
    ASSERT_TRUE(cutTextureLevel(*f.doc, 3, "", 1));
    EXPECT_EQ(f.doc->textureFileNames.size(), 15u);
    EXPECT_EQ(std::find(f.doc->textureFileNames.begin(), f.doc->textureFileNames.end(), f.r8(0, "341")),
              f.doc->textureFileNames.end());
    ASSERT_EQ(f.platform.messages.size(), 1u);
    EXPECT_EQ(f.platform.messages[0].text, "1 of 16 level 3 tiles could not be written (the first: " + f.r8(0, "341") +
                                               "). The 15 written are kept in " + f.tiles + ".");
    f.platform.messages.clear();

    // The same cut again appends the same names again.
    f.choosePrefix();
    ASSERT_TRUE(cutTextureLevel(*f.doc, 3, "", 1));
    ASSERT_EQ(f.doc->textureFileNames.size(), 30u);
    EXPECT_EQ(f.doc->textureFileNames[15], f.doc->textureFileNames[0]);
}

TEST(TextureCutter, FolderTextSkipsTheDialogAndAnUnsetTextureFolderUsesTheChosenOne)
{
    Fixture f(sized(1024, 1024));
    f.doc->texturePrefix = "ab";
    ASSERT_TRUE(cutTextureLevel(*f.doc, 3, f.dir.str(), 1));
    EXPECT_TRUE(f.platform.fileDialogs.empty());
    EXPECT_EQ(f.doc->sceneryFolder, f.dir.str());
    EXPECT_EQ(f.doc->textureFileNames.front(), f.r8(0, "322"));   // still the texture folder

    f.doc->textureFolder.clear();
    f.doc->textureFileNames.clear();
    f.platform.fileAnswers.push_back(PathUtil::join(f.dir.str(), "cd"));
    ASSERT_TRUE(cutTextureLevel(*f.doc, 1, "", 4));
    EXPECT_EQ(f.doc->textureFileNames, std::vector<std::string>{PathUtil::join(f.dir.str(), "cd0000.1")});
}

TEST(TextureCutter, BmpTilesCarryTheProjectColourTable)
{
    Fixture f(sized(1024, 1024), 1);
    f.choosePrefix();
    ASSERT_TRUE(cutTextureLevel(*f.doc, 3, "", 1));
    const std::string path = PathUtil::join(f.tiles, "ab0000344.bmp");
    const auto tile = readBitmapFile(path);
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->width(), 256);
    EXPECT_EQ(tile->height(), 256);
    EXPECT_EQ(tile->bitsPerPixel(), 8);
    EXPECT_EQ(tile->colorAt(42), testbmp::paletteColor(42));
    EXPECT_EQ(tile->pixelIndex(0, 0), testbmp::patternIndex(768, 0));
    EXPECT_EQ(tile->pixelIndex(255, 255), testbmp::patternIndex(1023, 255));
}

} // namespace
