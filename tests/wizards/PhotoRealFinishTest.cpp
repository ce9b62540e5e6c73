// Finish of the PhotoReal wizard and its page-apply steps on real bitmaps and tiles.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "imagery/ProjectBitmap.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "synth/Texture.h"
#include "wizards/NewProject.h"
#include "wizards/PhotoRealFinish.h"
#include "wizards/WizardTestFiles.h"

namespace {

const char* const kTooLarge =
    "The range of scenery specified is too large for the texture provided. The scenery engine might have "
    "difficulties properly displaying the terrain.";

class PhotoRealFinishTest : public ::testing::Test {
protected:
    PhotoRealFinishTest() : app(platform), doc(app) { platform.messages.clear(); }

    // Pages 1 and 2 of the wizard on a bitmap whose pixels name their chunk.
    void loadBitmap(int width, int height, GeoRect extents = {44.0, 45.0, 15.0, 16.0})
    {
        const std::string path = dir.file("photo.bmp");
        WizardTestFiles::writeBitmap(path, width, height, WizardTestFiles::chunkCode);
        doc.bitmapPath = path;
        ASSERT_TRUE(loadProjectBitmap(doc, path));
        ASSERT_TRUE(applyPhotoExtents(doc, extents.north, extents.south, extents.east, extents.west));
        platform.messages.clear();
    }

    bool hasMessage(const std::string& text, MsgIcon icon) const
    {
        return std::any_of(platform.messages.begin(), platform.messages.end(),
                           [&](const ScriptedPlatform::Message& m) { return m.text == text && m.icon == icon; });
    }

    TempDir dir;
    ScriptedPlatform platform;
    AppContext app;
    CDibDoc doc;
};

TEST_F(PhotoRealFinishTest, GridOf2048By1024FollowsTheBlockOrderAndLinksEveryChunkToItsTile)
{
    app.settings.platform = 1;
    loadBitmap(2048, 1024);
    ASSERT_TRUE(applyPhotoFolder(doc, dir.str(), "ab"));
    finishPhotoRealWizard(doc, dir.str());

    ASSERT_EQ(doc.chunkColumns, 8);
    ASSERT_EQ(doc.chunkRows, 4);
    ASSERT_EQ(doc.projectTextures.size(), 32u);
    ASSERT_EQ(doc.chunks.size(), 32u);
    EXPECT_TRUE(doc.textureFileNames.empty());
    EXPECT_EQ(doc.creationKind, 1);
    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text;

    // (chunk index, column, row): the bottom row of the first block, its next row, the second block.
    const struct { int index, column, row; } cases[] = {
        {0, 0, 0}, {1, 1, 0}, {3, 3, 0}, {4, 0, 1}, {15, 3, 3}, {16, 4, 0}, {19, 7, 0}, {31, 7, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const TexReliefChunk& chunk = doc.chunks[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(chunk.chunkValueA, c.column);
        EXPECT_EQ(chunk.chunkValueB, c.row);
        EXPECT_DOUBLE_EQ(chunk.area.south, 44.0 + c.row * 0.25);
        EXPECT_DOUBLE_EQ(chunk.area.north, chunk.area.south + 0.25);
        EXPECT_DOUBLE_EQ(chunk.area.west, 15.0 + c.column * 0.125);
        EXPECT_DOUBLE_EQ(chunk.area.east, chunk.area.west + 0.125);
        EXPECT_EQ(chunk.properties, ChunkProperties{});
    }
    EXPECT_EQ(PathUtil::fileName(doc.projectTextures[0]->name), "ab0000322.bmp");
    EXPECT_EQ(PathUtil::fileName(doc.projectTextures[16]->name), "ab0001322.bmp");
    EXPECT_EQ(PathUtil::fileName(doc.projectTextures[31]->name), "ab0001333.bmp");

    // Every chunk shows its own piece of the bitmap: the tile's pixels carry the chunk's code.
    for (std::size_t n = 0; n < doc.chunks.size(); ++n) {
        SCOPED_TRACE(n);
        const TexReliefChunk& chunk = doc.chunks[n];
        ASSERT_EQ(chunk.texture, doc.projectTextures[n].get());
        EXPECT_EQ(chunk.textureKind, 1);
        const Texture& texture = *chunk.texture;
        EXPECT_EQ(texture.kind, 1);
        EXPECT_EQ(texture.classCode, -1);
        EXPECT_EQ(texture.eastClassCode, -1);
        EXPECT_EQ(texture.southClassCode, -1);
        ASSERT_TRUE(texture.image.has_value());
        EXPECT_EQ(texture.image->pixelIndex(10, 10), chunk.chunkValueB * 16 + chunk.chunkValueA);
    }
}

TEST_F(PhotoRealFinishTest, AMissingTileDoesNotShiftTheOtherChunksTextures)
{
    app.settings.platform = 1;
    loadBitmap(1024, 1024);
    ASSERT_TRUE(applyPhotoFolder(doc, dir.str(), "ab"));
    // A folder in the place of the tile of chunk (row 1, column 2) makes that one tile unwritable.
    std::filesystem::create_directory(level3TilePath(doc, 1, 2));
    // The user hears which tile and how many, and the project is not to be opened.
    EXPECT_FALSE(finishPhotoRealWizard(doc, dir.str()));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "1 of 16 texture tiles could not be written into\n" + doc.textureFolder +
                                             "\nThe first is " + PathUtil::fileName(level3TilePath(doc, 1, 2)) +
                                             ". No project was made.");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Stop);

    ASSERT_EQ(doc.projectTextures.size(), 16u);
    for (std::size_t n = 0; n < doc.chunks.size(); ++n) {
        SCOPED_TRACE(n);
        const TexReliefChunk& chunk = doc.chunks[n];
        EXPECT_EQ(chunk.texture->name, level3TilePath(doc, chunk.chunkValueB, chunk.chunkValueA));
        const bool missing = chunk.chunkValueB == 1 && chunk.chunkValueA == 2;
        ASSERT_EQ(chunk.texture->image.has_value(), !missing);
        if (!missing) {
            EXPECT_EQ(chunk.texture->image->pixelIndex(0, 0), chunk.chunkValueB * 16 + chunk.chunkValueA);
        }
    }
}

TEST_F(PhotoRealFinishTest, R8TilesAreNamedWithTheCodeAsExtension)
{
    app.settings.platform = 0;
    doc.textureFolder = "T";
    doc.texturePrefix = "xy";
    doc.chunkColumns = 8;
    doc.chunkRows = 8;
    EXPECT_EQ(level3TilePath(doc, 0, 0), PathUtil::join("T", "xy0000.322"));
    EXPECT_EQ(level3TilePath(doc, 7, 7), PathUtil::join("T", "xy0003.333"));
    EXPECT_EQ(level3TilePath(doc, 2, 5), PathUtil::join("T", "xy0001.314"));
}

TEST_F(PhotoRealFinishTest, ExtentsAreRefusedUnlessBothRangesArePositive)
{
    const struct { double n, s, e, w; const char* message; } cases[] = {
        {45, 45, 16, 15, "Latitude range is invalid. Please set latitude range."},
        {44, 45, 16, 15, "Latitude range is invalid. Please set latitude range."},
        {45, 44, 0, 0, "Longitude range is invalid. Please set longitude range."},
        {45, 44, 15, 16, "Longitude range is invalid. Please set longitude range."},
        {45, 45, 15, 15, "Latitude range is invalid. Please set latitude range."},
    };
    for (const auto& c : cases) {
        platform.messages.clear();
        EXPECT_FALSE(applyPhotoExtents(doc, c.n, c.s, c.e, c.w));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(doc.boundary, GeoRect{});
        EXPECT_FALSE(doc.modified);
    }
}

TEST_F(PhotoRealFinishTest, CoarseExtentsWarnButAreApplied)
{
    doc.chunkColumns = 4;   // a 1024-pixel-wide bitmap
    EXPECT_TRUE(applyPhotoExtents(doc, 45, 44, 16, 15));
    EXPECT_TRUE(hasMessage(kTooLarge, MsgIcon::Exclamation));
    EXPECT_EQ(doc.boundary, (GeoRect{44, 45, 15, 16}));
    EXPECT_NEAR(doc.metresPerPixel, 77.53, 0.01);
    EXPECT_TRUE(doc.modified);

    platform.messages.clear();
    doc.chunkColumns = 8;
    EXPECT_TRUE(applyPhotoExtents(doc, 44.5, 44, 15.5, 15));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PhotoRealFinishTest, APrefixOfNoneOrNothingIsRefusedButTheFoldersAreMade)
{
    for (const char* prefix : {"", "<none>"}) {
        SCOPED_TRACE(prefix);
        platform.messages.clear();
        const std::string root = dir.file(std::string("root") + (*prefix ? "1" : "2"));
        std::filesystem::create_directory(root);
        EXPECT_FALSE(applyPhotoFolder(doc, root, prefix));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "Please provide texture name prefix.");
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Stop);
        EXPECT_EQ(doc.sceneryFolder, root);
        EXPECT_EQ(doc.textureFolder, PathUtil::join(root, "texture"));
        EXPECT_EQ(doc.sceneryOutputFolder, PathUtil::join(root, "scenery"));
        EXPECT_EQ(doc.texturePrefix, prefix);
        EXPECT_TRUE(PathUtil::folderExists(doc.textureFolder));
        EXPECT_TRUE(PathUtil::folderExists(doc.sceneryOutputFolder));
    }
    platform.messages.clear();
    EXPECT_TRUE(applyPhotoFolder(doc, dir.str(), "a"));
    EXPECT_TRUE(platform.messages.empty());
    // Existing folders are no error.
    EXPECT_TRUE(applyPhotoFolder(doc, dir.str(), "a"));
}

TEST_F(PhotoRealFinishTest, FinishMakesAFolderThatDoesNotExistWithItsParentsAndCutsTheTiles)
{
    app.settings.platform = 1;
    loadBitmap(1024, 1024);
    const std::string folder = PathUtil::join(dir.file("new"), "deeper");
    ASSERT_TRUE(applyPhotoFolder(doc, folder, "ab"));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(PathUtil::folderExists(PathUtil::join(folder, "texture")));
    EXPECT_TRUE(PathUtil::folderExists(PathUtil::join(folder, "scenery")));
    ASSERT_TRUE(finishPhotoRealWizard(doc, folder));
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(doc.projectTextures.size(), 16u);
    for (const auto& texture : doc.projectTextures) {
        EXPECT_TRUE(PathUtil::fileExists(texture->name)) << texture->name;
        EXPECT_TRUE(texture->image.has_value()) << texture->name;
    }
}

TEST_F(PhotoRealFinishTest, AFolderThatCannotBeMadeIsNamedAndRefused)
{
    // A plain file where the folder or one of its parents should go.
    const std::string blocker = dir.file("blocker");
    dir.write("blocker", std::string("x"));
    for (const std::string& folder : {blocker, PathUtil::join(blocker, "below")}) {
        SCOPED_TRACE(folder);
        platform.messages.clear();
        EXPECT_FALSE(applyPhotoFolder(doc, folder, "ab"));
        ASSERT_EQ(platform.messages.size(), 1u);
        const std::string& text = platform.messages[0].text;
        EXPECT_EQ(text.rfind("3 folders could not be made:\n" + folder + "\n", 0), 0u) << text;
        EXPECT_NE(text.find(PathUtil::join(folder, "texture")), std::string::npos);
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Stop);
    }
}

TEST_F(PhotoRealFinishTest, NewProjectRunsTheWizardOfTheMode)
{
    int photoRuns = 0;
    NewProjectWizards wizards;
    wizards.photoReal = [&](CDibDoc&) { ++photoRuns; return photoRuns == 1; };

    app.settings.newProjectMode = 0;
    EXPECT_FALSE(initializeNewProject(doc, wizards));
    EXPECT_EQ(photoRuns, 0);

    app.settings.newProjectMode = 1;
    EXPECT_TRUE(initializeNewProject(doc, wizards));
    EXPECT_FALSE(initializeNewProject(doc, wizards));   // the wizard's own result: cancelled
    EXPECT_EQ(photoRuns, 2);

    app.settings.newProjectMode = 7;
    EXPECT_FALSE(initializeNewProject(doc, wizards));
    EXPECT_TRUE(platform.messages.empty());

    app.settings.newProjectMode = 2;   // no SynthWizard offered
    EXPECT_FALSE(initializeNewProject(doc, wizards));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, kWizardUnavailable);
    EXPECT_EQ(photoRuns, 2);
}

} // namespace
