#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "synth/ChunkNeighbours.h"
#include "synth/SynthRandom.h"
#include "synth/SyntheticScenery.h"
#include "synth/TextureLinks.h"

namespace {

using ChunkNeighbours::neighbourIndex;

// Seeds spread over the whole range: the first value of neighbouring small seeds is nearly the same.
std::uint32_t spread(std::uint32_t seed) { return seed * 2654435761u; }

std::string codeName(int main, int east, int south, char season = 's', char variant = '1')
{
    char name[48];
    std::snprintf(name, sizeof name, "%02d%02d%02d%c%c.bmp", main, east, south, season, variant);
    return name;
}

// A project over an in-memory library: the generation needs only the names and class codes.
class SynthProject {
public:
    ScriptedPlatform platform;
    AppContext app{platform};
    std::unique_ptr<CDibDoc> doc;

    SynthProject()
    {
        app.noMatchTexture = std::make_unique<Texture>();
        app.noMatchTexture->name = "NoMatch.bmp";
        app.noMatchTexture->kind = 0;
        doc = std::make_unique<CDibDoc>(app);
        platform.messages.clear();   // colors.pcf may be missing from the test folder
    }

    void addTexture(const std::string& name)
    {
        auto t = std::make_unique<Texture>();
        t->name = name;
        t->kind = 0;
        t->classCode = std::stoi(name.substr(0, 2));
        t->eastClassCode = std::stoi(name.substr(2, 2));
        t->southClassCode = std::stoi(name.substr(4, 2));
        app.textureLibrary.push_back(std::move(t));
    }

    void library(const std::vector<std::string>& names)
    {
        app.textureLibrary.clear();
        for (const auto& name : names)
            addTexture(name);
    }

    void grid(int columns, int rows, GeoRect boundary = {45.0, 46.0, 15.0, 16.0})
    {
        doc->chunkColumns = columns;
        doc->chunkRows = rows;
        doc->boundary = boundary;
    }

    /// Chunks of the grid without generation, all unlinked.
    void emptyChunks()
    {
        doc->chunks.assign(static_cast<std::size_t>(doc->chunkColumns * doc->chunkRows), TexReliefChunk{});
    }

    const Texture* at(long index) const { return doc->chunks[static_cast<std::size_t>(index)].texture; }
    long libraryIndex(const std::string& name) const { return static_cast<long>(findLibraryTexture(app, name)); }
};

// Every shared edge of the grid shows one class on both sides unless a side shows noMatchTexture.
::testing::AssertionResult tilesFit(const SynthProject& p)
{
    const CDibDoc& doc = *p.doc;
    const Texture* noMatch = p.app.noMatchTexture.get();
    for (long i = 0; i < static_cast<long>(doc.chunks.size()); ++i) {
        const Texture* t = p.at(i);
        if (!t)
            return ::testing::AssertionFailure() << "chunk " << i << " is not linked";
        if (t == noMatch)
            continue;
        const long east = neighbourIndex(doc, i, ChunkNeighbours::East);
        if (east >= 0 && p.at(east) != noMatch && t->eastClassCode != p.at(east)->classCode)
            return ::testing::AssertionFailure() << "chunk " << i << " " << t->name << " east of it "
                                                 << p.at(east)->name;
        const long north = neighbourIndex(doc, i, ChunkNeighbours::North);
        if (north >= 0 && p.at(north) != noMatch && p.at(north)->southClassCode != t->classCode)
            return ::testing::AssertionFailure() << "chunk " << i << " " << t->name << " north of it "
                                                 << p.at(north)->name;
    }
    return ::testing::AssertionSuccess();
}

/// Records 0.01 degree apart over the boundary (sorted by longitude as the main map is); the
/// altitude is 0 west of `waterEast` and 100 elsewhere.
void altitudesWithWaterWestOf(CDibDoc& doc, double waterEast)
{
    auto& records = doc.mainAltitudeMap.records;
    records.clear();
    const GeoRect& b = doc.boundary;
    for (int j = 0; j <= 100; ++j)
        for (int i = 0; i <= 100; ++i) {
            const double lon = b.west + (b.east - b.west) * j / 100;
            const double lat = b.south + (b.north - b.south) * i / 100;
            records.push_back({lat, lon, lon < waterEast ? 0 : 100});
        }
}

} // namespace

TEST(SynthRandomTest, FollowsTheClassicSequenceWithinItsRange)
{
    SynthRandom one(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected)
        EXPECT_EQ(one.next(), value);

    SynthRandom a(12345), b(12345);
    for (int i = 0; i < 10000; ++i) {
        const int value = a.next();
        ASSERT_EQ(value, b.next());
        ASSERT_GE(value, 0);
        ASSERT_LE(value, SynthRandom::kMax);
    }
}

TEST(SynthChoiceTest, CountTimesValueOver32767LimitedToTheLast)
{
    struct Case {
        long count;
        int r;
        long expected;
    } cases[] = {
        {0, 0, -1},      {0, 32767, -1},    {1, 0, 0},       {1, 32767, 0},     {2, 16383, 0},
        {2, 16384, 1},   {3, 10922, 0},     {3, 10923, 1},   {3, 32766, 2},     {3, 32767, 2},
        {500, 32766, 499}, {500, 65, 0},    {500, 66, 1},    {100000, 32767, 99999},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseCandidate(c.count, c.r), c.expected) << c.count << " / " << c.r;
}

TEST(ChunkNeighboursTest, PositionsAroundCentreCornersAndEdges)
{
    SynthProject p;
    p.grid(3, 3);
    p.emptyChunks();
    // The centre (row 1, column 1) sees all nine; chunk index = row x 3 + column.
    for (int position = 0; position < 9; ++position)
        EXPECT_EQ(neighbourIndex(*p.doc, 4, position), (position / 3) * 3 + position % 3) << position;

    struct Case {
        long chunk;
        std::vector<long> expected;   // positions 0 to 8
    } cases[] = {
        {0, {-1, -1, -1, -1, 0, 1, -1, 3, 4}},      // south-west corner
        {2, {-1, -1, -1, 1, 2, -1, 4, 5, -1}},      // south-east corner
        {6, {-1, 3, 4, -1, 6, 7, -1, -1, -1}},      // north-west corner
        {8, {4, 5, -1, 7, 8, -1, -1, -1, -1}},      // north-east corner
        {7, {3, 4, 5, 6, 7, 8, -1, -1, -1}},        // northern edge: no north neighbour
    };
    for (const Case& c : cases)
        for (int position = 0; position < 9; ++position)
            EXPECT_EQ(neighbourIndex(*p.doc, c.chunk, position), c.expected[static_cast<std::size_t>(position)])
                << "chunk " << c.chunk << " position " << position;

    // An index counts only inside the chunk list: while the grid is being laid, northern
    // neighbours do not exist yet; nor does anything around a grid without columns.
    p.doc->chunks.resize(5);
    EXPECT_EQ(neighbourIndex(*p.doc, 1, ChunkNeighbours::North), 4);
    EXPECT_EQ(neighbourIndex(*p.doc, 2, ChunkNeighbours::North), -1);
    EXPECT_EQ(neighbourIndex(*p.doc, 4, ChunkNeighbours::East), -1);
    EXPECT_EQ(neighbourIndex(*p.doc, -1, ChunkNeighbours::Self), -1);
    EXPECT_EQ(neighbourIndex(*p.doc, 4, 9), -1);
    p.doc->chunkColumns = 0;
    EXPECT_EQ(neighbourIndex(*p.doc, 0, ChunkNeighbours::Self), -1);
}

TEST(SyntheticSceneryTest, OnlyWaterAndClassZeroGivesWaterEverywhere)
{
    SynthProject p;
    p.library({"000000s1.bmp"});
    p.grid(5, 4);
    SynthRandom random(7);
    ASSERT_TRUE(generateSyntheticScenery(*p.doc, {{0}, false}, random));
    ASSERT_EQ(p.doc->chunks.size(), 20u);
    for (const TexReliefChunk& chunk : p.doc->chunks) {
        EXPECT_EQ(chunk.texture, p.app.textureLibrary[0].get());
        EXPECT_EQ(chunk.textureKind, 0);
    }
    EXPECT_TRUE(p.platform.messages.empty());
}

TEST(SyntheticSceneryTest, WestNeighboursEastEdgeDecidesOnTheSouthernRow)
{
    SynthProject p;
    p.library({"010101s1.bmp", "010202s1.bmp", "020202s1.bmp"});
    p.grid(2, 1);
    p.emptyChunks();
    linkChunkTexture(p.app, p.doc->chunks[0], p.libraryIndex("010202s1.bmp"));
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        SynthRandom random(seed);
        EXPECT_EQ(pickTextureForClasses(*p.doc, 1, {1, 2}, random), p.libraryIndex("020202s1.bmp")) << seed;
    }
    // Class 2 not allowed: nothing fits.
    SynthRandom random(3);
    EXPECT_EQ(pickTextureForClasses(*p.doc, 1, {1}, random), -1);
}

TEST(SyntheticSceneryTest, NoAllowedClassInTheLibraryGivesNoMatchEverywhere)
{
    SynthProject p;
    p.library({"000000s1.bmp", "010101s1.bmp", "000100s1.bmp"});
    p.grid(4, 3);
    SynthRandom random(11);
    ASSERT_TRUE(generateSyntheticScenery(*p.doc, {{7, 8}, false}, random));
    ASSERT_EQ(p.doc->chunks.size(), 12u);
    for (const TexReliefChunk& chunk : p.doc->chunks)
        EXPECT_EQ(chunk.texture, p.app.noMatchTexture.get());
}

TEST(SyntheticSceneryTest, OneChunkGridCanGetEveryAllowedTextureAndNoOther)
{
    SynthProject p;
    p.library({"000000s1.bmp", "000100s1.bmp", "010000s1.bmp", "010101s1.bmp", "020202s1.bmp", "000200s1.bmp"});
    std::set<std::string> chosen;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        p.grid(1, 1);
        SynthRandom random(spread(seed));
        ASSERT_TRUE(generateSyntheticScenery(*p.doc, {{0, 1}, false}, random));
        ASSERT_EQ(p.doc->chunks.size(), 1u);
        chosen.insert(p.doc->chunks[0].texture->name);
    }
    EXPECT_EQ(chosen, (std::set<std::string>{"000000s1.bmp", "000100s1.bmp", "010000s1.bmp", "010101s1.bmp"}));
}

TEST(SyntheticSceneryTest, NorthernEdgeChunkIsHeldOnlyBySouthAndEast)
{
    SynthProject p;
    p.library({"000000s1.bmp", "010100s1.bmp", "020200s1.bmp", "010101s1.bmp"});
    p.grid(1, 2);
    p.emptyChunks();
    linkChunkTexture(p.app, p.doc->chunks[0], p.libraryIndex("000000s1.bmp"));
    // Chunk 1 is on the northern edge: only its south neighbour (class 0) holds it.
    std::set<std::string> chosen;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        SynthRandom random(spread(seed));
        const long index = pickTextureForNeighbours(*p.doc, 1, -1, random);
        ASSERT_GE(index, 0);
        chosen.insert(p.app.textureLibrary[static_cast<std::size_t>(index)]->name);
    }
    EXPECT_EQ(chosen, (std::set<std::string>{"000000s1.bmp", "010100s1.bmp", "020200s1.bmp"}));
    // A required class stands for the north and west edges.
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        SynthRandom random(seed);
        EXPECT_EQ(pickTextureForNeighbours(*p.doc, 1, 2, random), p.libraryIndex("020200s1.bmp"));
    }
}

TEST(SyntheticSceneryTest, ChunkAreasGridValuesAndProjectFields)
{
    SynthProject p;
    p.library({"000000s1.bmp"});
    p.grid(3, 2, {44.0, 45.0, 15.0, 16.5});
    SynthRandom random(1);
    ASSERT_TRUE(generateSyntheticScenery(*p.doc, {{0}, false}, random));
    ASSERT_EQ(p.doc->chunks.size(), 6u);
    const TexReliefChunk& chunk = p.doc->chunks[5];   // row 1, column 2
    EXPECT_EQ(chunk.chunkValueA, 2);
    EXPECT_EQ(chunk.chunkValueB, 1);
    EXPECT_DOUBLE_EQ(chunk.area.south, 44.5);
    EXPECT_DOUBLE_EQ(chunk.area.north, 45.0);
    EXPECT_DOUBLE_EQ(chunk.area.west, 16.0);
    EXPECT_DOUBLE_EQ(chunk.area.east, 16.5);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(p.doc->chunks[i].chunkValueA, static_cast<int>(i % 3));
        EXPECT_EQ(p.doc->chunks[i].chunkValueB, static_cast<int>(i / 3));
    }
    EXPECT_EQ(p.doc->documentWidth, 768);
    EXPECT_EQ(p.doc->documentHeight, 512);

    // A boundary without area still numbers the chunks by their place in the grid.
    SynthProject flat;
    flat.library({"000000s1.bmp"});
    flat.grid(3, 2, {45.0, 45.0, 15.0, 15.0});
    ASSERT_TRUE(generateSyntheticScenery(*flat.doc, {{0}, false}, random));
    EXPECT_EQ(flat.doc->chunks[5].chunkValueA, 2);
    EXPECT_EQ(flat.doc->chunks[5].chunkValueB, 1);
    EXPECT_EQ(p.doc->creationKind, 2);

    const std::vector<std::string> expectedLog = {
        "create Please Wait...SynthWizard is doing its magic...",
    };
    ASSERT_FALSE(p.platform.progressLog.empty());
    EXPECT_EQ(p.platform.progressLog.front(), expectedLog.front());
    EXPECT_NE(std::find(p.platform.progressLog.begin(), p.platform.progressLog.end(), "range 0 6 step 1"),
              p.platform.progressLog.end());
    EXPECT_EQ(p.platform.progressLog.back(), "destroy");
    EXPECT_EQ(p.platform.waitCursorDepth, 0);
}

TEST(SyntheticSceneryTest, RefusalsLeaveNoChunks)
{
    {   // an empty library: the message, nothing made
        SynthProject p;
        p.grid(2, 2);
        SynthRandom random(1);
        EXPECT_FALSE(generateSyntheticScenery(*p.doc, {{0}, false}, random));
        EXPECT_EQ(p.platform.messageTexts(), (std::vector<std::string>{kNoSyntheticTextures}));
        EXPECT_EQ(p.platform.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(p.doc->chunks.empty());
        EXPECT_TRUE(p.platform.progressLog.empty());
    }
    for (int cancelAfter : {1, 3, 12}) {   // Cancel during the generation, also at its last chunk
        SynthProject p;
        p.library({"000000s1.bmp"});
        p.grid(4, 3);
        p.platform.cancelAfterSteps = cancelAfter;
        SynthRandom random(1);
        EXPECT_FALSE(generateSyntheticScenery(*p.doc, {{0}, false}, random)) << cancelAfter;
        EXPECT_TRUE(p.doc->chunks.empty());
        EXPECT_NE(p.doc->creationKind, 2);
        EXPECT_EQ(p.platform.progressLog.back(), "destroy");
    }
    for (auto size : {std::pair{0, 3}, std::pair{3, 0}, std::pair{kMaxSynthGridSide + 1, 1}}) {   // no grid
        SynthProject p;
        p.library({"000000s1.bmp"});
        p.grid(size.first, size.second);
        SynthRandom random(1);
        EXPECT_FALSE(generateSyntheticScenery(*p.doc, {{0}, false}, random));
        EXPECT_TRUE(p.doc->chunks.empty());
    }
}

TEST(SyntheticSceneryTest, WaterAtWaterLevelStaysWaterAndNeighboursFit)
{
    SynthProject p;
    p.library({"000000s1.bmp", "000101s1.bmp", "010000s1.bmp", "010101s1.bmp", "010100s1.bmp", "000001s1.bmp",
               "000100s1.bmp", "010001s1.bmp"});
    p.grid(6, 4, {45.0, 45.4, 15.0, 15.6});
    // The western half (three columns) lies at 0 m.
    altitudesWithWaterWestOf(*p.doc, 15.3);
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        SynthRandom random(seed);
        ASSERT_TRUE(generateSyntheticScenery(*p.doc, {{1}, true}, random));
        for (long i = 0; i < 24; ++i) {
            if (i % 6 < 2) {   // columns 0 and 1: every node at 0 m
                EXPECT_EQ(p.at(i)->name, "000000s1.bmp") << "seed " << seed << " chunk " << i;
            }
        }
        EXPECT_TRUE(tilesFit(p)) << "seed " << seed;
    }

    // Without altitude records there is no water level: the grid keeps its allowed class.
    p.doc->mainAltitudeMap.records.clear();
    SynthRandom random(5);
    ASSERT_TRUE(generateSyntheticScenery(*p.doc, {{1}, true}, random));
    for (const TexReliefChunk& chunk : p.doc->chunks)
        EXPECT_EQ(chunk.texture->name, "010101s1.bmp");

    // In winter the library holds the winter set, so water is its winter variant.
    p.library({"000000w1.bmp", "010101w1.bmp"});
    p.app.settings.viewSeason = 0;
    altitudesWithWaterWestOf(*p.doc, 15.3);
    ASSERT_TRUE(generateSyntheticScenery(*p.doc, {{1}, true}, random));
    EXPECT_EQ(p.at(0)->name, "000000w1.bmp");
}

TEST(SyntheticSceneryTest, MatchNeighboursRefitsTheSixNeighboursAroundAChangedChunk)
{
    SynthProject p;
    p.library({"010101s1.bmp", "000000s1.bmp", "000101s1.bmp", "010000s1.bmp", "010100s1.bmp", "000001s1.bmp",
               "000100s1.bmp", "010001s1.bmp"});
    p.grid(3, 3);
    p.emptyChunks();
    for (TexReliefChunk& chunk : p.doc->chunks)
        linkChunkTexture(p.app, chunk, p.libraryIndex("010101s1.bmp"));
    linkChunkTexture(p.app, p.doc->chunks[4], p.libraryIndex("000000s1.bmp"));
    SynthRandom random(9);
    matchNeighbours(*p.doc, 4, random);
    EXPECT_TRUE(tilesFit(p));
    // South-east and north-west are left as they were.
    EXPECT_EQ(p.at(2)->name, "010101s1.bmp");
    EXPECT_EQ(p.at(6)->name, "010101s1.bmp");
    EXPECT_EQ(p.at(4)->name, "000000s1.bmp");
    // Outside the chunk list nothing happens.
    matchNeighbours(*p.doc, 9, random);
    matchNeighbours(*p.doc, -1, random);
}

// Many seeds over random libraries, grids and allowed classes: the grid always tiles, and every
// chosen texture shows allowed classes only.
TEST(SyntheticSceneryPropertyTest, EveryGridTilesAndShowsOnlyAllowedClasses)
{
    std::mt19937 dice(20240601);
    auto roll = [&dice](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(dice); };
    int noMatches = 0, linked = 0;
    for (int round = 0; round < 400; ++round) {
        SynthProject p;
        const int classes = roll(1, 5);
        std::set<std::string> names;
        const int count = roll(1, 40);
        for (int i = 0; i < count; ++i)
            names.insert(codeName(roll(0, classes - 1), roll(0, classes - 1), roll(0, classes - 1), 's',
                                  static_cast<char>('0' + roll(1, 3))));
        p.library({names.begin(), names.end()});
        std::vector<std::int32_t> allowed;
        for (int c = 0; c < classes; ++c)
            if (roll(0, 2) > 0)
                allowed.push_back(c);
        if (allowed.empty())
            allowed.push_back(roll(0, classes - 1));
        const int columns = roll(1, 12), rows = roll(1, 12);
        p.grid(columns, rows);
        const bool water = round % 3 == 0;
        if (water)
            altitudesWithWaterWestOf(*p.doc, 15.0 + roll(0, 10) / 10.0);

        SynthRandom random(static_cast<std::uint32_t>(roll(0, 1 << 30)));
        ASSERT_TRUE(generateSyntheticScenery(*p.doc, {allowed, water}, random));
        ASSERT_EQ(p.doc->chunks.size(), static_cast<std::size_t>(columns * rows));
        ASSERT_TRUE(tilesFit(p)) << "round " << round;
        if (water)
            continue;   // re-matching around water chooses among all classes
        for (const TexReliefChunk& chunk : p.doc->chunks) {
            if (chunk.texture == p.app.noMatchTexture.get()) {
                ++noMatches;
                continue;
            }
            ++linked;
            for (int code : {chunk.texture->classCode, chunk.texture->eastClassCode, chunk.texture->southClassCode})
                ASSERT_NE(std::find(allowed.begin(), allowed.end(), code), allowed.end())
                    << chunk.texture->name << " in round " << round;
        }
    }
    // The rounds exercise both outcomes.
    EXPECT_GT(linked, 1000);
    EXPECT_GT(noMatches, 10);
}
