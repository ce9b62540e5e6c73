// Saving and loading a project: identical fields back, exact bytes, messages of Save and Open.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <sys/stat.h>

#include "altitude/AltitudeMerge.h"
#include "base/PathUtil.h"
#include "project/ProjectFile.h"
#include "project/ProjectFileWriter.h"
#include "project/TaggedWriter.h"
#include "synth/TextureLinks.h"
#include "ProjectFileFixture.h"

namespace {

std::unique_ptr<AltitudeMap> makeMap(const std::string& title, int type, int enabled,
                                     std::vector<AltitudeRecord> records)
{
    auto map = std::make_unique<AltitudeMap>();
    map->title = title;
    map->sourceType = type;
    map->columns = static_cast<std::int32_t>(records.size());
    map->rows = 1;
    map->sourceParam1 = type == 1 ? 250 : 0;
    map->sourceParam2 = type == 1 ? 3 : 0;
    map->showWater = 1;
    map->enabled = enabled;
    map->waterLevel = -12;
    map->records = std::move(records);
    return map;
}

void expectSameMap(const AltitudeMap& a, const AltitudeMap& b)
{
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.columns, b.columns);
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(a.sourceType, b.sourceType);
    EXPECT_EQ(a.sourceParam1, b.sourceParam1);
    EXPECT_EQ(a.sourceParam2, b.sourceParam2);
    EXPECT_EQ(a.showWater, b.showWater);
    EXPECT_EQ(a.enabled, b.enabled);
    EXPECT_EQ(a.waterLevel, b.waterLevel);
    EXPECT_EQ(a.records, b.records);
}

std::string textureName(const TexReliefChunk& chunk) { return chunk.texture ? chunk.texture->name : "<none>"; }

void expectSameProject(const CDibDoc& a, const CDibDoc& b)
{
    EXPECT_EQ(a.formatVersion, b.formatVersion);
    EXPECT_EQ(a.texturePrefix, b.texturePrefix);
    EXPECT_EQ(a.paletteName, b.paletteName);
    EXPECT_EQ(a.scasmFolder, b.scasmFolder);
    EXPECT_EQ(a.scasmFileTitle, b.scasmFileTitle);
    EXPECT_EQ(a.sceneryFolder, b.sceneryFolder);
    EXPECT_EQ(a.bitmapPath, b.bitmapPath);
    EXPECT_EQ(a.colorTable, b.colorTable);
    EXPECT_EQ(a.colorTableParams, b.colorTableParams);
    ASSERT_EQ(a.altitudeMaps.size(), b.altitudeMaps.size());
    for (std::size_t i = 0; i < a.altitudeMaps.size(); ++i)
        expectSameMap(*a.altitudeMaps[i], *b.altitudeMaps[i]);
    EXPECT_EQ(a.mainAltitudeMap.records, b.mainAltitudeMap.records);
    EXPECT_EQ(a.menuPositionItems, b.menuPositionItems);
    EXPECT_EQ(a.macroItems, b.macroItems);
    ASSERT_EQ(a.chunks.size(), b.chunks.size());
    for (std::size_t i = 0; i < a.chunks.size(); ++i) {
        SCOPED_TRACE("chunk " + std::to_string(i));
        const TexReliefChunk& x = a.chunks[i];
        const TexReliefChunk& y = b.chunks[i];
        EXPECT_EQ(x.chunkValueA, y.chunkValueA);
        EXPECT_EQ(x.chunkValueB, y.chunkValueB);
        EXPECT_EQ(x.chunkValueC, y.chunkValueC);
        EXPECT_EQ(x.textureKind, y.textureKind);
        EXPECT_EQ(x.area, y.area);
        EXPECT_EQ(x.properties, y.properties);
        EXPECT_EQ(textureName(x), textureName(y));
    }
    EXPECT_EQ(a.chunkColumns, b.chunkColumns);
    EXPECT_EQ(a.chunkRows, b.chunkRows);
    EXPECT_EQ(a.boundary, b.boundary);
    EXPECT_EQ(a.writeAltitudeCoordinates, b.writeAltitudeCoordinates);
    EXPECT_EQ(a.writeAreaMaxHeader, b.writeAreaMaxHeader);
    EXPECT_EQ(a.areaMaxSizeKB, b.areaMaxSizeKB);
    EXPECT_EQ(a.writeCopyright, b.writeCopyright);
    EXPECT_EQ(a.copyrightText, b.copyrightText);
    EXPECT_EQ(a.includedSeasons, b.includedSeasons);
}

ChunkProperties unusualProperties(int seed)
{
    ChunkProperties p;
    std::int32_t* fields[] = {&p.gridDensity,     &p.areaRangeKm,        &p.useBitmapMode,
                              &p.bitmapModeIndex, &p.smoothing,          &p.surfaceColor,
                              &p.perspectiveShade, &p.useSurfaceColor,   &p.flatGridOptimization,
                              &p.usePerspectiveCall2, &p.useRefPointType2, &p.refPointAltitude,
                              &p.colorMode};
    for (int i = 0; i < 13; ++i)
        *fields[i] = 100 * seed + i + 7;   // every field distinct, none at its default
    return p;
}

class ProjectFileRoundTrip : public ProjectFileFixture {
protected:
    void addLibraryTexture(const std::string& name)
    {
        auto texture = std::make_unique<Texture>();
        texture->name = name;
        texture->kind = 0;
        app.textureLibrary.push_back(std::move(texture));
    }

    Texture* addProjectTexture(CDibDoc& doc, const std::string& name)
    {
        auto texture = std::make_unique<Texture>();
        texture->name = name;
        texture->kind = 1;
        doc.projectTextures.push_back(std::move(texture));
        return doc.projectTextures.back().get();
    }

    /// A project that uses every item of the file, with nothing at its default.
    void fill(CDibDoc& doc)
    {
        doc.texturePrefix = "ovt";
        doc.paletteName = "alps";
        doc.scasmFolder = "C:\\scenery\\src";
        doc.scasmFileTitle = "alps";
        doc.sceneryFolder = "C:\\scenery";
        doc.bitmapPath = "C:\\scenery\\alps.bmp";
        for (int i = 0; i < 256; ++i)
            doc.colorTable[static_cast<std::size_t>(i)] = i * 65793 - 7;
        doc.colorTableParams = {3, -4, 5, 6};
        doc.altitudeMaps.push_back(makeMap("C:\\dem\\a.dt0", 2, 1, {{46.5, 7.25, 900}, {46.0, 7.0, -3}, {47.0, 7.5, 4000}}));
        doc.altitudeMaps.push_back(makeMap("", 1, 0, {{45.0, 6.0, 12}}));
        doc.altitudeMaps.push_back(makeMap("c.txt", 3, 1, {}));
        doc.menuPositionItems.push_back({"Runway 27", 46.1, 7.2, 500, 270.5, 121.5, 110.3, 90, 113.9, 270,
                                         "Final approach", 12, 34});
        doc.menuPositionItems.push_back({"", 0, 0, 0, 0, 0, 0, 0, 0, 0, "", 0, 0});
        doc.macroItems.push_back({"C:\\macros\\tower.scm", {"46.1", "7.2", "", "tower"}, 5, 6});
        doc.macroItems.push_back({"empty.api", {}, -1, -2});
        addLibraryTexture("000000s1.bmp");
        addLibraryTexture("010203s2.bmp");
        Texture* tile0 = addProjectTexture(doc, "C:\\scenery\\texture\\ovt00000.bmp");
        Texture* tile1 = addProjectTexture(doc, "C:\\scenery\\texture\\ovt00001.bmp");
        for (int i = 0; i < 4; ++i) {
            TexReliefChunk chunk;
            chunk.chunkValueA = i % 2;
            chunk.chunkValueB = i / 2;
            chunk.chunkValueC = i;
            chunk.area = {46.0 + i, 46.5 + i, 7.0 - i, 7.5 - i};
            chunk.properties = unusualProperties(i);
            doc.chunks.push_back(chunk);
        }
        linkChunkTexture(app, doc.chunks[0], 1);
        linkChunkToTexture(doc.chunks[1], tile0);
        // chunk 2 keeps no texture (kind -1)
        linkChunkToTexture(doc.chunks[3], tile1);
        doc.chunkColumns = 2;
        doc.chunkRows = 2;
        doc.boundary = {46.0, 47.5, 6.5, 8.25};
        doc.writeAltitudeCoordinates = false;
        doc.writeAreaMaxHeader = false;
        doc.areaMaxSizeKB = 128;
        doc.writeCopyright = false;
        doc.copyrightText = "(c) test";
        doc.includedSeasons = 9;
        mergeAltitudeMaps(doc);
    }
};

TEST_F(ProjectFileRoundTrip, SavedProjectLoadsBackWithIdenticalFieldsAndOrder)
{
    auto original = newDoc();
    fill(*original);
    original->setModified();
    const std::string path = dir.file("alps.prj");
    platform.progressLog.clear();
    ASSERT_TRUE(saveProject(*original, path));
    EXPECT_EQ(original->formatVersion, 7);
    EXPECT_FALSE(original->modified);
    EXPECT_EQ(original->filePath, path);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(progressCaptions(),
              (std::vector<std::string>{"Saving Altitude Data Records...", "Saving Altitude Data Records...",
                                        "Saving Altitude Data Records...", "Saving TexRelief Chunks..."}));
    EXPECT_EQ(platform.waitCursorDepth, 0);

    auto loaded = newDoc();
    ASSERT_TRUE(loadFile(*loaded, path));
    EXPECT_TRUE(platform.messages.empty());
    // The stored path keeps its backslashes; the bitmap is looked for with native separators.
    EXPECT_EQ(bitmapLoads, std::vector<std::string>{PathUtil::toNative("C:\\scenery\\alps.bmp")});
    expectSameProject(*original, *loaded);

    // Links: the library chunk to the library texture, the tiles in chunk order.
    EXPECT_EQ(loaded->chunks[0].texture, app.textureLibrary[1].get());
    ASSERT_EQ(loaded->projectTextures.size(), 2u);
    EXPECT_EQ(loaded->chunks[1].texture, loaded->projectTextures[0].get());
    EXPECT_EQ(loaded->chunks[2].texture, nullptr);
    EXPECT_EQ(loaded->chunks[3].texture, loaded->projectTextures[1].get());
    EXPECT_EQ(loaded->projectTextures[0]->kind, 1);
    EXPECT_EQ(progressCaptions(),
              (std::vector<std::string>{"Loading Altitude Data Records...", "Loading Altitude Data Records...",
                                        "Loading Altitude Data Records...", "Loading TexRelief Chunks...",
                                        "Preparing Altitude Maps..."}));

    // A second save of the loaded project writes the same bytes.
    const std::string again = dir.file("again.prj");
    ASSERT_TRUE(saveProject(*loaded, again));
    EXPECT_EQ(dir.read("alps.prj"), dir.read("again.prj"));
}

TEST_F(ProjectFileRoundTrip, StreamedSaveEqualsTheBufferedBytes)
{
    // Maps and strings of several streamed pieces, so back-patched lengths fall into bytes that
    // have already gone to the file.
    auto doc = newDoc();
    fill(*doc);
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int m = 0; m < 2; ++m) {
        std::vector<AltitudeRecord> records(70000);
        for (AltitudeRecord& r : records)
            r = {static_cast<double>(next()) / 1e7, static_cast<double>(next()) / -3e6, static_cast<std::int32_t>(next())};
        doc->altitudeMaps.push_back(makeMap("big" + std::to_string(m), 2, 1, std::move(records)));
    }
    doc->copyrightText = std::string(1'500'000, 'c');
    TaggedWriter buffered;
    ProjectFileWriter(*doc).write(buffered);

    ASSERT_TRUE(saveProject(*doc, dir.file("streamed.prj")));
    const auto streamed = dir.read("streamed.prj");
    ASSERT_EQ(streamed.size(), buffered.data().size());
    EXPECT_TRUE(std::equal(streamed.begin(), streamed.end(), buffered.data().begin()));
}

TEST_F(ProjectFileRoundTrip, WrittenBytesMatchTheItemTables)
{
    auto doc = newDoc();
    doc->texturePrefix = "ab";
    doc->scasmFileTitle = "t";
    doc->colorTable[0] = 0x00112233;
    doc->colorTable[255] = -1;
    doc->colorTableParams = {1, 2, 3, 4};
    doc->altitudeMaps.push_back(makeMap("m.bmp", 1, 1, {{1.5, 2.5, 3}, {-1.5, -2.5, -3}}));
    doc->menuPositionItems.push_back({"T", 1.0, 2.0, 3, 4.0, 5.0, 6.0, 7, 8.0, 9, "D", 10, 11});
    doc->macroItems.push_back({"m.scm", {"p1", "p2"}, 12, 13});
    auto tile = std::make_unique<Texture>();
    tile->name = "tile.bmp";
    tile->kind = 1;
    TexReliefChunk chunk;
    chunk.chunkValueA = 0;
    chunk.chunkValueB = 1;
    chunk.area = {1.0, 2.0, 3.0, 4.0};
    chunk.properties.bitmapModeIndex = 5;
    chunk.textureKind = 0;   // refreshed from the linked tile
    chunk.texture = tile.get();
    doc->chunks.push_back(chunk);
    doc->chunkColumns = 1;
    doc->chunkRows = 1;
    doc->boundary = {-1.0, 1.0, -2.0, 2.0};

    ProjectBytes map;
    map.value(35, 2).value(36, 2).value(37, 1).str(38, "m.bmp").value(39, 1).value(40, 250).value(41, 3);
    map.u16(45).record(1.5, 2.5, 3).u16(45).record(-1.5, -2.5, -3);
    map.value(42, 1).value(43, 1).value(44, -12);

    // Tags 50..62 in ascending order: defaults, with bitmapModeIndex (61) after refPointAltitude (60).
    const std::int32_t propertyValues[13] = {4, 60, 1, 1, 1, 1, 1, 0, 1, 1, 0, 5, 0};
    ProjectBytes properties;
    for (std::uint16_t i = 0; i < 13; ++i)
        properties.value(static_cast<std::uint16_t>(50 + i), propertyValues[i]);
    ProjectBytes chunkBytes;
    chunkBytes.value(76, 0).value(77, 1).value(78, 0).rect(1.0, 2.0, 3.0, 4.0).block(49, properties);
    chunkBytes.value(80, 1).str(79, "tile.bmp");

    ProjectBytes body;
    body.value(21, 7).str(4, "ab").str(9, "").str(10, "").str(12, "t").str(11, "").str(13, "");
    body.u16(15).u32(1024).i32(0x00112233).zeros(254 * 4).i32(-1);
    body.value(15, 1).value(15, 2).value(15, 3).value(15, 4);
    body.block(29, map);
    body.u16(24).str(24, "T").f64(1.0).f64(2.0).i32(3).f64(4.0).f64(5.0).f64(6.0).i32(7).f64(8.0).i32(9);
    body.str(24, "D").i32(10).i32(11);
    body.u16(25).str(25, "m.scm").i32(2).str(25, "p1").str(25, "p2").i32(12).i32(13);
    body.value(93, 1).block(75, chunkBytes);
    body.value(82, 1).value(83, 1).rect(-1.0, 1.0, -2.0, 2.0);
    body.value(86, 1).value(87, 1).value(89, 64).value(88, 1).str(90, doc->copyrightText).value(92, 4);
    ProjectBytes expected;
    expected.block(64, body);

    ASSERT_TRUE(saveProject(*doc, dir.file("p.prj")));
    EXPECT_EQ(dir.read("p.prj"), std::vector<unsigned char>(expected.bytes.begin(), expected.bytes.end()));
    EXPECT_EQ(doc->chunks[0].textureKind, 1);
}

TEST_F(ProjectFileRoundTrip, EmptyProjectWritesZeroChunkCountAndEmptyStrings)
{
    auto doc = newDoc();
    doc->copyrightText.clear();
    ASSERT_TRUE(saveProject(*doc, dir.file("empty.prj")));
    const std::vector<unsigned char> bytes = dir.read("empty.prj");
    // After the colour table: tag 93 = 0, then directly the chunk counts.
    ProjectBytes tail;
    tail.value(93, 0).value(82, 0).value(83, 0);
    const auto found = std::search(bytes.begin(), bytes.end(), tail.bytes.begin(), tail.bytes.end());
    EXPECT_NE(found, bytes.end());
    EXPECT_EQ(progressCaptions(), std::vector<std::string>{"Saving TexRelief Chunks..."});

    auto loaded = newDoc();
    ASSERT_TRUE(loadFile(*loaded, dir.file("empty.prj")));
    EXPECT_EQ(loaded->copyrightText, "");
    EXPECT_EQ(loaded->texturePrefix, "");
    EXPECT_TRUE(loaded->chunks.empty());
    EXPECT_TRUE(bitmapLoads.empty());   // no bitmap named, none loaded
}

TEST_F(ProjectFileRoundTrip, LibraryNameWithoutLibraryTextureSurvivesASave)
{
    // Opened while the library is not loaded: the chunk links noMatchTexture, but the name stays.
    ProjectBytes chunk;
    chunk.value(80, 0).str(79, "050505s1.bmp");
    ProjectBytes body;
    body.value(21, 7).value(93, 1).block(75, chunk);
    ProjectBytes file;
    file.block(64, body);

    auto doc = newDoc();
    ASSERT_TRUE(loadBytes(*doc, file));
    EXPECT_EQ(doc->chunks[0].texture, app.noMatchTexture.get());
    ASSERT_TRUE(saveProject(*doc, dir.file("s.prj")));
    auto again = newDoc();
    addLibraryTexture("050505s1.bmp");
    ASSERT_TRUE(loadFile(*again, dir.file("s.prj")));
    EXPECT_EQ(again->chunks[0].texture, app.textureLibrary[0].get());
}

TEST_F(ProjectFileRoundTrip, LibraryNamesLinkTheVariantOfTheViewSeason)
{
    addLibraryTexture("000000s1.bmp");
    addLibraryTexture("000000w1.bmp");
    ProjectBytes body;
    body.value(21, 7).value(93, 3);
    body.block(75, ProjectBytes().value(80, 0).str(79, "000000s1.bmp"));
    body.block(75, ProjectBytes().value(80, 0).str(79, "notseasonal.bmp"));
    body.block(75, ProjectBytes().value(80, 7).str(79, "000000s1.bmp"));   // other kinds link nothing
    ProjectBytes file;
    file.block(64, body);

    app.settings.viewSeason = 0;   // winter
    auto doc = newDoc();
    ASSERT_TRUE(loadBytes(*doc, file));
    EXPECT_EQ(doc->chunks[0].texture, app.textureLibrary[1].get());
    EXPECT_EQ(doc->chunks[0].textureKind, 0);
    EXPECT_EQ(doc->chunks[1].texture, app.noMatchTexture.get());
    EXPECT_EQ(doc->chunks[2].texture, nullptr);
    EXPECT_TRUE(doc->textureFileNames.empty());
}

TEST_F(ProjectFileRoundTrip, MissingBitmapQuestionRepeatsUntilFoundOrRefused)
{
    ProjectBytes body;
    body.value(21, 7).str(13, "gone.bmp");
    ProjectBytes file;
    file.block(64, body);
    const std::string question =
        "The terrain bitmap was not found in the location it was saved. Would you like to look for it?";

    struct Case {
        std::vector<MsgAnswer> answers;
        std::vector<bool> selects;
        bool loads;
        std::size_t questions;
    };
    const Case cases[] = {
        {{MsgAnswer::No}, {}, false, 1},
        {{MsgAnswer::Yes, MsgAnswer::Yes}, {false, true}, true, 2},
        {{MsgAnswer::Yes, MsgAnswer::No}, {false}, false, 2},
    };
    for (const Case& c : cases) {
        auto doc = newDoc();
        bitmapLoadResult = false;
        bitmapSelects = 0;
        selectResults = c.selects;
        platform.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(loadBytes(*doc, file), c.loads);
        ASSERT_EQ(platform.messages.size(), c.questions);
        for (const auto& m : platform.messages) {
            EXPECT_EQ(m.text, question);
            EXPECT_EQ(m.icon, MsgIcon::Question);
            EXPECT_EQ(m.buttons, MsgButtons::YesNo);
        }
    }
}

TEST_F(ProjectFileRoundTrip, SaveAndOpenReportFailures)
{
    auto doc = newDoc();
    doc->setModified();
    EXPECT_FALSE(saveProject(*doc, dir.file("no-such-folder/p.prj")));
    EXPECT_FALSE(saveProject(*doc, dir.str()));   // a folder is no file name
    EXPECT_FALSE(saveProject(*doc, ""));
    // Each failure names its real cause; only a missing name is an invalid file name.
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[0].text, "Cannot save " + dir.file("no-such-folder/p.prj") + ": No such file or directory.");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(platform.messages[1].text, "Cannot save " + dir.str() + ": Is a directory.");
    EXPECT_EQ(platform.messages[2].text, "Invalid filename.");
    EXPECT_TRUE(doc->modified);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);

    platform.messages.clear();
    dir.write("junk.prj", std::string("not a project"));
    EXPECT_FALSE(openProject(*doc, dir.file("junk.prj")));
    EXPECT_FALSE(openProject(*doc, dir.file("missing.prj")));
    // Devices and FIFOs are refused at once, before anything is read from them.
    ASSERT_EQ(::mkfifo(dir.file("fifo.prj").c_str(), 0600), 0);
    EXPECT_FALSE(openProject(*doc, dir.file("fifo.prj")));
    EXPECT_FALSE(openProject(*doc, "/dev/zero"));
    ASSERT_EQ(platform.messages.size(), 4u);
    EXPECT_EQ(platform.messages[0].text, "Couldn't read project file. Possibly not a Orvane project.");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    // A file that is not there is not called a foreign file: the message names it.
    EXPECT_EQ(platform.messages[1].text, "The project file\n" + dir.file("missing.prj") + "\ndoes not exist.");
    EXPECT_EQ(platform.messages[2].text, "Couldn't read project file. Possibly not a Orvane project.");
    EXPECT_EQ(platform.messages[3].text, "Couldn't read project file. Possibly not a Orvane project.");
    EXPECT_EQ(platform.messages[1].icon, MsgIcon::Exclamation);
}

TEST_F(ProjectFileRoundTrip, OpenSetsTheDocumentSizeFromTheChunkGrid)
{
    auto doc = newDoc();
    doc->chunkColumns = 3;
    doc->chunkRows = 2;
    ASSERT_TRUE(saveProject(*doc, dir.file("grid.prj")));
    auto opened = newDoc();
    ASSERT_TRUE(openProject(*opened, dir.file("grid.prj")));
    EXPECT_EQ(opened->documentWidth, 768);
    EXPECT_EQ(opened->documentHeight, 512);
    EXPECT_EQ(opened->filePath, dir.file("grid.prj"));

    // Chunk counts of a damaged file: the pixel size stays within the int range.
    doc->chunkColumns = 2147483647;
    doc->chunkRows = -2147483647 - 1;
    ASSERT_TRUE(saveProject(*doc, dir.file("huge.prj")));
    auto huge = newDoc();
    ASSERT_TRUE(openProject(*huge, dir.file("huge.prj")));
    EXPECT_EQ(huge->documentWidth, 2147483647);
    EXPECT_EQ(huge->documentHeight, -2147483647 - 1);
}

} // namespace

TEST_F(ProjectFileRoundTrip, LeftOutFsItemsKeepTheirStateThroughASave)
{
    auto doc = newDoc();
    doc->menuPositionItems.resize(3);
    doc->macroItems.resize(2);
    const std::string all = dir.file("all.prj");
    ASSERT_TRUE(saveProject(*doc, all));
    const auto plain = dir.read("all.prj");

    doc->menuPositionItems[1].included = false;
    doc->macroItems[0].included = false;
    const std::string some = dir.file("some.prj");
    ASSERT_TRUE(saveProject(*doc, some));
    // Two extra items, each a tag, a length and one int32 per item; nothing else moves.
    EXPECT_EQ(dir.read("some.prj").size(), plain.size() + (2 + 4 + 12) + (2 + 4 + 8));

    auto loaded = newDoc();
    ASSERT_TRUE(loadFile(*loaded, some));
    ASSERT_EQ(loaded->menuPositionItems.size(), 3u);
    EXPECT_TRUE(loaded->menuPositionItems[0].included);
    EXPECT_FALSE(loaded->menuPositionItems[1].included);
    EXPECT_TRUE(loaded->menuPositionItems[2].included);
    EXPECT_FALSE(loaded->macroItems[0].included);
    EXPECT_TRUE(loaded->macroItems[1].included);

    auto everything = newDoc();
    ASSERT_TRUE(loadFile(*everything, all));
    for (const FsMenuPositionItem& item : everything->menuPositionItems)
        EXPECT_TRUE(item.included);
}

TEST_F(ProjectFileRoundTrip, InclusionFlagsOfAnotherLengthAreSkipped)
{
    ProjectBytes file;
    file.u16(64).u32(0).value(21, 7);
    file.u16(25).str(25, "m.scm").i32(0).i32(1).i32(2);
    // Three flags for one macro item: they cannot belong to it.
    file.u16(95).u32(12).i32(0).i32(0).i32(0);
    file.u16(94).u32(0);   // and flags for no menu items at all
    file.value(93, 0).u16(1);
    auto doc = newDoc();
    ASSERT_TRUE(loadBytes(*doc, file));
    ASSERT_EQ(doc->macroItems.size(), 1u);
    EXPECT_TRUE(doc->macroItems[0].included);
    EXPECT_EQ(doc->macroItems[0].mapY, 2);
}

// Cancel in any of the saving windows: the previous file stays byte for byte, and so does the
// modified mark. The scripted Cancel counts the steps of each window: the first record, the last
// record of the first map (3 records), and the fourth chunk (no map has four records).
TEST_F(ProjectFileRoundTrip, CancelledSaveLeavesThePreviousFile)
{
    auto doc = newDoc();
    fill(*doc);
    const std::string path = dir.file("alps.prj");
    ASSERT_TRUE(saveProject(*doc, path));
    const std::vector<unsigned char> before = dir.read("alps.prj");
    doc->boundary.north += 1.0;
    ASSERT_EQ(doc->altitudeMaps[0]->records.size(), 3u);
    ASSERT_GE(doc->chunks.size(), 4u);
    for (int cancelAt : {1, 3, 4}) {
        SCOPED_TRACE(cancelAt);
        doc->setModified();
        platform.messages.clear();
        platform.cancelAfterSteps = cancelAt;
        EXPECT_FALSE(saveProject(*doc, path));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "Saving was cancelled: " + path + " was left as it was.");
        EXPECT_EQ(dir.read("alps.prj"), before);
        EXPECT_TRUE(doc->modified);
        EXPECT_EQ(platform.waitCursorDepth, 0);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    platform.cancelAfterSteps = -1;
    EXPECT_TRUE(saveProject(*doc, path));
    EXPECT_NE(dir.read("alps.prj"), before);
}

// Any bit pattern of a record comes back as it was saved (not-a-number payloads, infinities,
// minus zero too), whether the file is streamed through the reader's window or held whole, and a
// file cut anywhere, across the window's edges too, reads the same both ways.
TEST_F(ProjectFileRoundTrip, RandomMapsComeBackBitForBitStreamedOrHeldWhole)
{
    std::mt19937_64 random(15);
    auto bits = [&random] {
        double value;
        const std::uint64_t pattern = random();
        std::memcpy(&value, &pattern, sizeof value);
        return value;
    };
    auto original = newDoc();
    // The largest map spans several windows of the streamed reader; records of another map
    // are plain positions, so the main map gets records too.
    std::vector<AltitudeRecord> wild(130'000), plain(5'000);
    const double specials[] = {0.0, -0.0, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::denorm_min()};
    for (std::size_t i = 0; i < wild.size(); ++i) {
        wild[i] = {bits(), bits(), static_cast<std::int32_t>(random())};
        if (i % 1000 == 7)
            wild[i].latitude = specials[(i / 1000) % 5];
    }
    for (AltitudeRecord& r : plain)
        r = {45.0 + static_cast<double>(random() % 100000) / 1e5, 7.0 + static_cast<double>(random() % 100000) / 1e5,
             static_cast<std::int32_t>(random() % 5000)};
    original->altitudeMaps.push_back(makeMap("wild", 2, 1, wild));
    original->altitudeMaps.push_back(makeMap("empty", 3, 1, {}));
    original->altitudeMaps.push_back(makeMap("plain", 1, 1, plain));
    mergeAltitudeMaps(*original);
    const std::string path = dir.file("random.prj");
    ASSERT_TRUE(saveProject(*original, path));
    const std::vector<unsigned char> saved = dir.read("random.prj");
    ASSERT_GT(saved.size(), 2u << 20);

    auto sameBits = [](const RecordList& a, const RecordList& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const AltitudeRecord x = a[i];
            const AltitudeRecord y = b[i];
            if (std::memcmp(&x.latitude, &y.latitude, 8) != 0 || std::memcmp(&x.longitude, &y.longitude, 8) != 0 ||
                x.altitude != y.altitude)
                return false;
        }
        return true;
    };
    auto streamed = newDoc();
    ASSERT_TRUE(loadFile(*streamed, path));
    auto whole = newDoc();
    ASSERT_TRUE(loadBytes(*whole, std::vector<std::uint8_t>(saved.begin(), saved.end())));
    for (const CDibDoc* loaded : {streamed.get(), whole.get()}) {
        ASSERT_EQ(loaded->altitudeMaps.size(), 3u);
        for (std::size_t m = 0; m < 3; ++m) {
            SCOPED_TRACE("map " + std::to_string(m));
            EXPECT_TRUE(sameBits(loaded->altitudeMaps[m]->records, original->altitudeMaps[m]->records));
        }
        EXPECT_TRUE(sameBits(loaded->mainAltitudeMap.records, original->mainAltitudeMap.records));
    }

    // Cut inside the first window, just before and after its edge, inside a record of the big
    // map, and in the last map.
    const std::size_t window = std::size_t(1) << 20;
    for (const std::size_t cut : {std::size_t(5000), window - 1, window + 1, window + 13, 2 * window + 21,
                                  saved.size() - 90'000, saved.size() - 3}) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const std::vector<unsigned char> part(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(cut));
        dir.write("cut.prj", part);
        auto a = newDoc();
        const bool readStreamed = loadFile(*a, dir.file("cut.prj"));
        const std::vector<std::string> streamedMessages = platform.messageTexts();
        auto b = newDoc();
        const bool readWhole = loadBytes(*b, std::vector<std::uint8_t>(part.begin(), part.end()));
        EXPECT_EQ(readStreamed, readWhole);
        EXPECT_EQ(streamedMessages, platform.messageTexts());
        ASSERT_EQ(a->altitudeMaps.size(), b->altitudeMaps.size());
        for (std::size_t m = 0; m < a->altitudeMaps.size(); ++m)
            EXPECT_TRUE(sameBits(a->altitudeMaps[m]->records, b->altitudeMaps[m]->records));
        EXPECT_TRUE(sameBits(a->mainAltitudeMap.records, b->mainAltitudeMap.records));
    }
}
