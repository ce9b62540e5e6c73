#include <gtest/gtest.h>

#include <memory>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "synth/TextureLibrary.h"
#include "synth/TextureLinks.h"
#include "support/ScriptedPlatform.h"
#include "synth/SynthTestFiles.h"

namespace {

// A library with a summer and a winter set of the same class patterns, plus one summer-only name.
class SeasonChangeTest : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    TempDir dir;
    std::unique_ptr<CDibDoc> doc;
    int repaints = 0;

    void SetUp() override
    {
        SynthTestFiles::writeLibrary(dir, {"000000s1.bmp", "000000w1.bmp", "000101s1.bmp", "000101w1.bmp",
                                           "010000s1.bmp", "010000w1.bmp", "010101s2.bmp"});
        app.settings.synthTexturesPath = dir.str();
        app.settings.applicationPath = dir.str();
        app.settings.viewSeason = 2;
        for (int code : {0, 1}) {
            TextureClass c;
            c.code = code;
            app.settings.textureClasses.push_back(c);
        }
        loadTextureLibrary(app);
        doc = std::make_unique<CDibDoc>(app);
        doc->onRepaint = [this] { ++repaints; };
        platform.messages.clear();
    }

    void linkByName(TexReliefChunk& chunk, const std::string& name)
    {
        const std::size_t index = findLibraryTexture(app, name);
        ASSERT_LT(index, app.textureLibrary.size()) << name;
        linkChunkTexture(app, chunk, static_cast<long>(index));
    }

    /// Chunks 0-3 on library textures, chunk 4 on a photo tile of the project.
    void buildProject()
    {
        doc->chunks.resize(5);
        linkByName(doc->chunks[0], "000000s1.bmp");
        linkByName(doc->chunks[1], "000101s1.bmp");
        linkByName(doc->chunks[2], "010000s1.bmp");
        linkByName(doc->chunks[3], "010101s2.bmp");
        auto photo = std::make_unique<Texture>();
        photo->kind = 1;
        photo->name = dir.file("tile_0_0.bmp");
        linkChunkToTexture(doc->chunks[4], photo.get());
        doc->projectTextures.push_back(std::move(photo));
    }

    std::vector<std::string> chunkNames() const
    {
        std::vector<std::string> names;
        for (const TexReliefChunk& chunk : doc->chunks)
            names.push_back(chunk.texture ? chunk.texture->name : "<none>");
        return names;
    }

    /// Every link points into the live library, at noMatchTexture or at the project's own tiles.
    void expectLinksValid() const
    {
        for (const TexReliefChunk& chunk : doc->chunks) {
            bool found = chunk.texture == app.noMatchTexture.get();
            for (const auto& t : app.textureLibrary)
                found = found || chunk.texture == t.get();
            for (const auto& t : doc->projectTextures)
                found = found || chunk.texture == t.get();
            EXPECT_TRUE(found);
            if (chunk.texture) {
                EXPECT_EQ(chunk.textureKind, chunk.texture->kind);
            }
        }
    }
};

} // namespace

TEST_F(SeasonChangeTest, WinterAndBackRelinksLibraryChunksAndKeepsPhotoTiles)
{
    buildProject();
    Texture* photo = doc->chunks[4].texture;

    changeSeason(app, 0);
    EXPECT_EQ(app.settings.viewSeason, 0);
    EXPECT_EQ(chunkNames(), (std::vector<std::string>{"000000w1.bmp", "000101w1.bmp", "010000w1.bmp", "NoMatch.bmp",
                                                      photo->name}));
    EXPECT_EQ(doc->chunks[4].texture, photo);
    EXPECT_EQ(doc->chunks[4].textureKind, 1);
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(doc->textureFileNames.empty());
    expectLinksValid();

    changeSeason(app, 2);
    // The summer-only texture was lost to noMatchTexture in winter; the others come back.
    EXPECT_EQ(chunkNames(), (std::vector<std::string>{"000000s1.bmp", "000101s1.bmp", "010000s1.bmp", "NoMatch.bmp",
                                                      photo->name}));
    EXPECT_EQ(doc->chunks[4].texture, photo);
    EXPECT_EQ(repaints, 2);
    expectLinksValid();
}

TEST_F(SeasonChangeTest, WithoutProjectsOnlySeasonAndLibraryChange)
{
    doc.reset();
    changeSeason(app, 0);
    EXPECT_EQ(app.settings.viewSeason, 0);
    ASSERT_EQ(app.textureLibrary.size(), 3u);
    EXPECT_EQ(app.textureLibrary[0]->name, "000000w1.bmp");
}

TEST_F(SeasonChangeTest, ReloadRelinksEveryChunkByName)
{
    buildProject();
    Texture* photo = doc->chunks[4].texture;
    std::filesystem::remove(dir.file("010000s1.bmp"));

    loadTextureLibrary(app);

    EXPECT_EQ(chunkNames(), (std::vector<std::string>{"000000s1.bmp", "000101s1.bmp", "NoMatch.bmp", "010101s2.bmp",
                                                      photo->name}));
    EXPECT_EQ(doc->chunks[4].texture, photo);
    expectLinksValid();

    // Emptying the folder leaves every library chunk on noMatchTexture.
    app.settings.synthTexturesPath = dir.file("gone");
    loadTextureLibrary(app);
    EXPECT_EQ(chunkNames(),
              (std::vector<std::string>{"NoMatch.bmp", "NoMatch.bmp", "NoMatch.bmp", "NoMatch.bmp", photo->name}));
    expectLinksValid();
}

TEST_F(SeasonChangeTest, ProjectSavedInSummerOpensInWinterOnWinterVariants)
{
    buildProject();
    doc->projectTextures.clear();
    doc->chunks.resize(4);
    const std::string path = dir.file("summer.prj");
    if (!saveProject(*doc, path))
        GTEST_SKIP() << "the project file writer is not part of this build yet";

    app.settings.viewSeason = 0;
    loadTextureLibrary(app);
    CDibDoc reopened(app);
    if (!loadProject(reopened, path))
        GTEST_SKIP() << "the project file reader is not part of this build yet";
    ASSERT_EQ(reopened.chunks.size(), 4u);
    std::vector<std::string> names;
    for (const TexReliefChunk& chunk : reopened.chunks)
        names.push_back(chunk.texture ? chunk.texture->name : "<none>");
    EXPECT_EQ(names, (std::vector<std::string>{"000000w1.bmp", "000101w1.bmp", "010000w1.bmp", "NoMatch.bmp"}));
}
