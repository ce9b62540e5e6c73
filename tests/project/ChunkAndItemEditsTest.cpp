// Chunk property edits, FS item edits and macro files, without windows.

#include <gtest/gtest.h>

#include <fstream>
#include <limits>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ChunkPropertyEdits.h"
#include "project/FsItemEdits.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

class EditsTest : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    CDibDoc doc{app};

    void SetUp() override
    {
        doc.chunks.resize(4);
        doc.clickLatitude = 45.5;
        doc.clickLongitude = -73.25;
        doc.clickAltitude = 120;
        doc.clickPixelX = 17;
        doc.clickPixelY = 33;
    }
};

TEST_F(EditsTest, OneChunkShowsAndStoresAllThirteenValues)
{
    doc.chunks[2].properties.gridDensity = 16;
    ChunkProperties shown = chunkPropertiesForEdit(doc, {2});
    EXPECT_EQ(shown, doc.chunks[2].properties);

    // A single chunk can also switch options off.
    shown.smoothing = 0;
    shown.useBitmapMode = 0;
    EXPECT_EQ(applyChunkProperties(doc, {2}, shown), 1);
    EXPECT_EQ(doc.chunks[2].properties, shown);
    EXPECT_EQ(doc.chunks[1].properties, ChunkProperties());
}

TEST_F(EditsTest, SeveralChunksChangeOnlyWhatWasFilledIn)
{
    doc.chunks[0].properties.smoothing = 0;
    doc.chunks[1].properties.gridDensity = 32;
    doc.chunks[3].properties.areaRangeKm = 99;

    ChunkProperties values = chunkPropertiesForEdit(doc, {0, 1, 3});
    ChunkProperties allUnchanged;
    allUnchanged = values;
    EXPECT_EQ(values.gridDensity, kUnchangedProperty);
    EXPECT_EQ(values.colorMode, kUnchangedProperty);

    values.smoothing = 1;
    values.areaRangeKm = 30;
    EXPECT_EQ(applyChunkProperties(doc, {0, 1, 3}, values), 3);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(doc.chunks[static_cast<std::size_t>(i)].properties.smoothing, 1);
        EXPECT_EQ(doc.chunks[static_cast<std::size_t>(i)].properties.areaRangeKm, 30);
    }
    EXPECT_EQ(doc.chunks[1].properties.gridDensity, 32);
    EXPECT_EQ(doc.chunks[0].properties.gridDensity, 4);
    EXPECT_EQ(doc.chunks[2].properties, ChunkProperties()) << "an unselected chunk";

    // Nothing filled in changes nothing; indices past the list are skipped.
    const std::vector<TexReliefChunk> before = doc.chunks;
    EXPECT_EQ(applyChunkProperties(doc, {0, 7, -1}, allUnchanged), 1);
    for (std::size_t i = 0; i < doc.chunks.size(); ++i)
        EXPECT_EQ(doc.chunks[i].properties, before[i].properties);
}

TEST(ChunkDensityArrows, DoubleToTwoHundredFiftySixAndHalveToOne)
{
    std::vector<int> up;
    for (int d = 4; up.size() < 8; d = densityStepUp(d))
        up.push_back(d);
    EXPECT_EQ(up, (std::vector<int>{4, 8, 16, 32, 64, 128, 256, 256}));
    EXPECT_EQ(densityStepDown(4), 2);
    EXPECT_EQ(densityStepDown(2), 1);
    EXPECT_EQ(densityStepDown(1), 1);
    // "Leave unchanged" becomes 1 before the arrow acts.
    EXPECT_EQ(densityStepUp(kUnchangedProperty), 2);
    EXPECT_EQ(densityStepDown(kUnchangedProperty), 1);
    EXPECT_EQ(densityStepUp(1000), 256);
    EXPECT_EQ(densityStepDown(1000), 256);
}

TEST(ChunkFieldEnablingRules, DependentFieldsFollowTheirBoxes)
{
    ChunkProperties values;
    ChunkFieldEnabling e = chunkFieldEnabling(values);
    EXPECT_TRUE(e.refPointAltitude && e.bitmapModeIndex && e.surfaceColor);
    values.useRefPointType2 = 0;
    values.useBitmapMode = 0;
    values.useSurfaceColor = 0;
    e = chunkFieldEnabling(values);
    EXPECT_FALSE(e.refPointAltitude || e.bitmapModeIndex || e.surfaceColor);
}

TEST(ChunkNodePreview, CellsCentredInTheFrame)
{
    NodeGridPreview p = nodeGridPreview(4, 10, 20, 96);
    EXPECT_EQ(p.n, 4);
    EXPECT_EQ(p.cell, 24);
    EXPECT_EQ(p.left, 10);
    EXPECT_EQ(p.top, 20);
    p = nodeGridPreview(5, 0, 0, 96);   // 19-pixel cells leave a margin on both sides
    EXPECT_EQ(p.cell, 19);
    EXPECT_EQ(p.left, 48 - 47);
    EXPECT_EQ(nodeGridPreview(128, 0, 0, 96).n, 1);
    EXPECT_EQ(nodeGridPreview(256, 0, 0, 96).cell, 96);
}

struct MacroCase {
    const char* text;
    bool recognised;
    std::vector<std::string> names;
};

TEST(MacroFiles, ParameterListsAreReadAsTheDialogShowsThem)
{
    const MacroCase cases[] = {
        {"; a macro\nmacro( lat lon elev scale object.api )\nrest", true, {"lat", "lon", "elev", "scale"}},
        {"MACRO( NN EE )", true, {"nn", "ee"}},
        {"header words macro( a\nb\tc ) d e", true, {"a", "b", "c"}},
        {"macro( a b", true, {"a", "b"}},
        {"no parameters here", false, {}},
        {"macro(", true, {}},
        {") macro( x )", true, {"x"}},
        {"", false, {}},
    };
    for (const MacroCase& c : cases) {
        const MacroParameters p = parseMacroParameters(c.text);
        EXPECT_EQ(p.recognised, c.recognised) << c.text;
        EXPECT_EQ(p.names, c.names) << c.text;
    }
}

TEST_F(EditsTest, MacroDefaultsComeFromThePickedPoint)
{
    EXPECT_EQ(macroParameterDefault("lat", doc), "45.500000");
    EXPECT_EQ(macroParameterDefault("nn", doc), "45.500000");
    EXPECT_EQ(macroParameterDefault("lon", doc), "-73.250000");
    EXPECT_EQ(macroParameterDefault("ee", doc), "-73.250000");
    EXPECT_EQ(macroParameterDefault("elev", doc), "120");
    EXPECT_EQ(macroParameterDefault("alt", doc), "120");
    EXPECT_EQ(macroParameterDefault("scale", doc), "0");
}

TEST_F(EditsTest, MacroFilesAreReadOnlyWhenRegularAndSmall)
{
    TempDir dir;
    const std::string good = dir.str() + "/m.scm";
    std::ofstream(good) << "macro( lat lon )";
    ASSERT_TRUE(readMacroParameters(good).has_value());
    EXPECT_EQ(readMacroParameters(good)->names.size(), 2u);
    EXPECT_FALSE(readMacroParameters(dir.str() + "/missing.scm"));
    EXPECT_FALSE(readMacroParameters(dir.str())) << "a folder";
    EXPECT_FALSE(readMacroParameters("/dev/zero")) << "a device would never end";
    const std::string big = dir.str() + "/big.scm";
    {
        std::ofstream out(big);
        out << std::string(kMacroFileSizeLimit + 1, ' ');
    }
    EXPECT_FALSE(readMacroParameters(big));
}

TEST_F(EditsTest, PositionItemsCheckRangesTakeTheFirstTitleAndThePickedPixel)
{
    FsMenuPositionItem item;
    item.title = "My Airfields";
    item.latitude = 45.5;
    item.heading = 359.99;
    ASSERT_TRUE(addMenuPositionItem(doc, item));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.menuPositionItems[0].mapX, 17);
    EXPECT_EQ(doc.menuPositionItems[0].mapY, 33);

    item.title = "ignored";
    ASSERT_TRUE(addMenuPositionItem(doc, item));
    EXPECT_EQ(doc.menuPositionItems[1].title, "My Airfields");

    struct Bad {
        double latitude, longitude, heading;
        const char* message;
    };
    const Bad bad[] = {
        {90.5, 0, 0, "Please enter a number between -90 and 90."},
        {-91, 0, 0, "Please enter a number between -90 and 90."},
        {0, 180.01, 0, "Please enter a number between -180 and 180."},
        {0, 0, 360, "Please enter a number between 0 and 359.99."},
        {0, 0, -0.5, "Please enter a number between 0 and 359.99."},
        {0, 0, std::numeric_limits<double>::quiet_NaN(), "Please enter a number between 0 and 359.99."},
    };
    for (const Bad& b : bad) {
        FsMenuPositionItem wrong;
        wrong.latitude = b.latitude;
        wrong.longitude = b.longitude;
        wrong.heading = b.heading;
        ASSERT_TRUE(menuPositionRangeError(wrong).has_value());
        EXPECT_EQ(*menuPositionRangeError(wrong), b.message);
        EXPECT_FALSE(addMenuPositionItem(doc, wrong));
    }
    EXPECT_EQ(doc.menuPositionItems.size(), 2u);
}

TEST_F(EditsTest, MacroItemsCheckTheFileNameLength)
{
    EXPECT_TRUE(addMacroItem(doc, "fourteen_c.scm", {"1", "2"}));
    EXPECT_EQ(doc.macroItems[0].mapX, 17);
    EXPECT_FALSE(addMacroItem(doc, "fifteen_ch.scm1", {}));
    EXPECT_EQ(*macroFileNameError("fifteen_ch.scm1"), "Please enter no more than 14 characters.");
    EXPECT_EQ(doc.macroItems.size(), 1u);
}

TEST_F(EditsTest, DeletingRemovesExactlyTheNamedItem)
{
    for (const char* name : {"a", "b", "c"})
        addMacroItem(doc, name, {});
    doc.modified = false;
    EXPECT_FALSE(deleteMacroItem(doc, -1));
    EXPECT_FALSE(deleteMacroItem(doc, 3));
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(deleteMacroItem(doc, 1));
    ASSERT_EQ(doc.macroItems.size(), 2u);
    EXPECT_EQ(doc.macroItems[0].macroFile, "a");
    EXPECT_EQ(doc.macroItems[1].macroFile, "c");
    EXPECT_TRUE(doc.modified);
}

} // namespace
