#include <algorithm>
#include <clocale>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

#include "output/ScasmWriter.h"
#include "output/TextureOrientation.h"
#include "support/TempDir.h"
#include "OutputTestProject.h"

namespace {

const std::string kBanner = ";" + std::string(78, '#');

struct Written {
    bool ok = false;
    std::string text;
    std::vector<std::string> lines;
    int bareLineFeeds = 0;
};

Written writeAndRead(CDibDoc& doc, const TempDir& dir, const std::string& name = "out.sca")
{
    Written w;
    w.ok = writeScasmSource(doc, dir.file(name));
    if (w.ok) {
        w.text = dir.readText(name);
        w.lines = splitCrLf(w.text, &w.bareLineFeeds);
    }
    return w;
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind(prefix, 0) == 0)
            out.push_back(l);
    return out;
}

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

/// The node rows (u, v, altitude) of the first TexRelief block.
std::vector<std::array<int, 3>> nodeRows(const std::vector<std::string>& lines)
{
    std::vector<std::array<int, 3>> rows;
    for (const std::string& l : lines) {
        int u, v, a;
        if (l.rfind("\t\t", 0) == 0 && std::sscanf(l.c_str(), "\t\t%d\t%d\t%d", &u, &v, &a) == 3)
            rows.push_back({u, v, a});
        else if (!rows.empty())
            break;
    }
    return rows;
}

class ScasmWriterTest : public ::testing::Test {
protected:
    ScopedEnv epoch{"SOURCE_DATE_EPOCH", "0"};
    OutputTestProject p;
    TempDir dir;
};

TEST_F(ScasmWriterTest, WorkedExampleIsWrittenExactly)
{
    p.makeChunks(1, 1);
    p.makeIndexedAltitudes();
    const Written w = writeAndRead(*p.doc, dir);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.bareLineFeeds, 0);

    std::vector<std::string> expected = {
        "Copyright( Orvane Scenery Builder (c) Orvane Developers. All rights reserved. )",
        "",
        kBanner,
        ";# Creation Time: 00:00:00",
        ";# Creation Date: Thursday, January 01, 70 ",
        ";# Orvane Scenery. Build V1.93 (2.0 BETA) Jan 14, 2000",
        kBanner,
        "",
        "Header(1 45.100000 45.000000 -73.000000 -73.100000)",
        "LatRange( 45.000000 45.100000)",
        "set( areamx 64 )",
        "Area(B 45.050000 -73.050000 60)",
        "\tRefPoint( 2 :L000000 1.000000 45.050000 -73.050000 v1= 0 v2= 0 E= 0)",
        "\tJump(:L000002)",
        ":L000002",
        "\tPerspectiveCall2(:L000003)",
        "\tJump(:L000000)",
        ":L000003",
        "\tPerspective",
        "\tRefPoint( 2 :L000004 1.000000 45.050000 -73.050000 v1= 0 v2= 0 E= 0)",
        "\tSurfaceColor( 1 69 )",
        "\tSmoothing( 1 )",
        "\tBitmap( tile0_0.bmp 0 0 0 0 )",
        "\tBitmapMode( 0 )",
        "\tTexRelief( 4 4 1967 2779 -3933 -5557",
    };
    const int uv[5] = {0, 64, 128, 192, 255};
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            expected.push_back("\t\t" + std::to_string(uv[j]) + "\t" + std::to_string(uv[i]) + "\t" +
                               std::to_string(1000 * 25 * i + 25 * j));
    for (const char* l : {"\t)", "\tBitmapMode( 0 )", "\tSmoothing( 0 )", ":L000004", "\tReturn", ":L000000", "EndA"})
        expected.push_back(l);
    EXPECT_EQ(w.lines, expected);
    EXPECT_EQ(p.doc->labelCounter, 5);
    EXPECT_EQ(p.platform.waitCursorDepth, 0);
    EXPECT_TRUE(contains(p.platform.progressLog, "create Writing SCASM File..."));
    EXPECT_TRUE(contains(p.platform.progressLog, "range 1 1 step 1"));
}

TEST_F(ScasmWriterTest, ChunkLabelsFollowTheCounterAndRestartInEveryFile)
{
    p.makeChunks(3, 1);
    p.makeIndexedAltitudes();
    for (int round = 0; round < 2; ++round) {
        const Written w = writeAndRead(*p.doc, dir, "labels" + std::to_string(round) + ".sca");
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(w.text.find("L000001"), std::string::npos);
        EXPECT_EQ(p.doc->labelCounter, 15);
        const auto labels = linesStartingWith(w.lines, ":L");
        ASSERT_EQ(labels.size(), 12u);
        for (int k = 0; k < 3; ++k) {
            auto hex = [](int v) {
                char b[16];
                std::snprintf(b, sizeof b, ":L%06X", v);
                return std::string(b);
            };
            EXPECT_EQ(labels[4 * k + 0], hex(5 * k + 2));
            EXPECT_EQ(labels[4 * k + 1], hex(5 * k + 3));
            EXPECT_EQ(labels[4 * k + 2], hex(5 * k + 4));
            EXPECT_EQ(labels[4 * k + 3], hex(5 * k));
        }
        EXPECT_TRUE(contains(w.lines, "\tRefPoint( 2 :L00000A 1.000000 45.050000 -72.850000 v1= 0 v2= 0 E= 0)"));
    }
}

TEST_F(ScasmWriterTest, HeaderAndBlocksFollowTheProjectOptions)
{
    p.makeChunks(1, 1);
    p.makeUniformAltitude(10);

    p.doc->writeCopyright = false;
    Written w = writeAndRead(*p.doc, dir);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.text.rfind("\r\n" + kBanner + "\r\n", 0), 0u);
    // No menu or macro: straight from the set line to the first area.
    auto set = std::find(w.lines.begin(), w.lines.end(), "set( areamx 64 )");
    ASSERT_NE(set, w.lines.end());
    EXPECT_EQ(*(set + 1), "Area(B 45.050000 -73.050000 60)");

    p.doc->writeCopyright = true;
    p.doc->copyrightText = "My own";
    p.doc->writeAreaMaxHeader = false;
    FsMenuPositionItem m;
    m.title = "Lake";
    m.latitude = 45.5;
    m.longitude = -73.25;
    m.altitude = 100;
    m.heading = 90;
    m.com = 121.5;
    m.nav1 = 110.3;
    m.obi1 = 45;
    m.nav2 = 113.1;
    m.obi2 = 270;
    m.description = "Runway 24";
    p.doc->menuPositionItems = {m, m};
    p.doc->menuPositionItems[1].title = "ignored";
    p.doc->menuPositionItems[1].description = "Second";
    p.doc->macroItems = {{"m", {"1", "2"}}, {"bare.api", {}}};
    w = writeAndRead(*p.doc, dir);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.lines.front(), "Copyright( My own )");
    const std::string entry = "MenuEntry( 45.500000 -73.250000 100 90.000000 121.500000 110.300000 45 113.100000 270 ";
    auto lat = std::find(w.lines.begin(), w.lines.end(), "LatRange( 45.000000 45.100000)");
    ASSERT_NE(lat, w.lines.end());
    const std::vector<std::string> between(lat + 1, lat + 11);
    EXPECT_EQ(between, (std::vector<std::string>{"", "Menu( Lake )", entry + "Runway 24 )", entry + "Second )", "", "",
                                                 "Macro( m 1 2 )", "Macro( bare.api )", "",
                                                 "Area(B 45.050000 -73.050000 60)"}));
}

TEST_F(ScasmWriterTest, LeftOutItemsStayOutOfTheSource)
{
    p.makeChunks(1, 1);
    p.makeUniformAltitude(10);
    FsMenuPositionItem first;
    first.title = "Lake";
    first.description = "One";
    FsMenuPositionItem second = first;
    second.description = "Two";
    first.included = false;
    p.doc->menuPositionItems = {first, second};
    p.doc->macroItems = {{"a.scm", {"1"}}, {"b.scm", {"2"}}};
    p.doc->macroItems[1].included = false;
    Written w = writeAndRead(*p.doc, dir);
    ASSERT_TRUE(w.ok);
    // The title stays the project's, kept on its first item.
    EXPECT_TRUE(contains(w.lines, "Menu( Lake )"));
    EXPECT_EQ(linesStartingWith(w.lines, "MenuEntry(").size(), 1u);
    EXPECT_NE(linesStartingWith(w.lines, "MenuEntry(").front().find("Two )"), std::string::npos);
    EXPECT_EQ(linesStartingWith(w.lines, "Macro("), (std::vector<std::string>{"Macro( a.scm 1 )"}));

    // Nothing left in: no block and no framing lines at all.
    p.doc->menuPositionItems[1].included = false;
    p.doc->macroItems[0].included = false;
    w = writeAndRead(*p.doc, dir);
    ASSERT_TRUE(w.ok);
    EXPECT_TRUE(linesStartingWith(w.lines, "Menu").empty());
    EXPECT_TRUE(linesStartingWith(w.lines, "Macro").empty());
    auto set = std::find(w.lines.begin(), w.lines.end(), "set( areamx 64 )");
    ASSERT_NE(set, w.lines.end());
    EXPECT_EQ(*(set + 1), "Area(B 45.050000 -73.050000 60)");
}

TEST_F(ScasmWriterTest, AreaBlockLinesFollowTheChunkProperties)
{
    struct Case {
        const char* name;
        std::function<void(CDibDoc&, ChunkProperties&)> change;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const std::vector<Case> cases = {
        {"type 7 refpoint", [](CDibDoc&, ChunkProperties& c) { c.useRefPointType2 = 0; },
         {"\tRefPoint( 7 :L000000 1.000000 45.050000 -73.050000 v1= 0 v2= 0)",
          "\tRefPoint( 7 :L000004 1.000000 45.050000 -73.050000 v1= 0 v2= 0)"},
         {}},
        {"refpoint altitude", [](CDibDoc&, ChunkProperties& c) { c.refPointAltitude = -12; },
         {"\tRefPoint( 2 :L000004 1.000000 45.050000 -73.050000 v1= 0 v2= 0 E= -12)"}, {}},
        {"perspective call", [](CDibDoc&, ChunkProperties& c) { c.usePerspectiveCall2 = 0; },
         {"\tPerspectiveCall(:L000003)"}, {"\tPerspectiveCall2(:L000003)"}},
        {"palette and colour", [](CDibDoc& d, ChunkProperties& c) {
             d.paletteName = "lake.pal";
             c.surfaceColor = 0xABCDEF;
             c.areaRangeKm = 12;
         },
         {"\tPalette( lake.pal )", "\tSurfaceColor( ABCDEF 69 )", "Area(B 45.050000 -73.050000 12)"}, {}},
        {"no colour, smoothing or bitmap mode", [](CDibDoc&, ChunkProperties& c) {
             c.useSurfaceColor = 0;
             c.smoothing = 0;
             c.useBitmapMode = 0;
         },
         {}, {"\tSurfaceColor( 1 69 )", "\tSmoothing( 1 )", "\tSmoothing( 0 )", "\tBitmapMode( 0 )"}},
        {"bitmap mode index", [](CDibDoc&, ChunkProperties& c) { c.bitmapModeIndex = 3; },
         {"\tBitmapMode( 3 )", "\tBitmapMode( 0 )"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OutputTestProject q;
        q.makeChunks(1, 1);
        q.makeUniformAltitude(10);
        c.change(*q.doc, q.doc->chunks[0].properties);
        const Written w = writeAndRead(*q.doc, dir);
        ASSERT_TRUE(w.ok);
        for (const std::string& l : c.present)
            EXPECT_TRUE(contains(w.lines, l)) << l;
        for (const std::string& l : c.absent)
            EXPECT_FALSE(contains(w.lines, l)) << l;
        EXPECT_EQ(linesStartingWith(w.lines, "\tPalette").size(), q.doc->paletteName.empty() ? 0u : 1u);
    }
}

TEST_F(ScasmWriterTest, FlatGridRuleSetsDensityOneOnlyForFlatNonNegativeChunks)
{
    struct Case {
        int altitude;
        int flatOption;
        int density;   // afterwards
    };
    for (const Case c : {Case{0, 1, 1}, Case{250, 1, 1}, Case{-5, 1, 4}, Case{0, 0, 4}}) {
        SCOPED_TRACE(c.altitude);
        OutputTestProject q;
        q.makeChunks(1, 1);
        q.makeUniformAltitude(c.altitude);
        q.doc->chunks[0].properties.flatGridOptimization = c.flatOption;
        const auto range = chunkAltitudeRange(q.doc->chunks[0], *q.doc);
        EXPECT_EQ(range.first, c.altitude);
        EXPECT_EQ(range.second, std::max(c.altitude, 0));
        const Written w = writeAndRead(*q.doc, dir);
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(q.doc->chunks[0].properties.gridDensity, c.density);
        EXPECT_EQ(q.doc->modified, c.density == 1);
        const auto rows = nodeRows(w.lines);
        if (c.density == 1) {
            EXPECT_TRUE(contains(w.lines, "\tTexRelief( 1 1 7865 11114 -3931 -5556"));
            EXPECT_EQ(rows, (std::vector<std::array<int, 3>>{
                                {0, 0, c.altitude}, {255, 0, c.altitude}, {0, 255, c.altitude}, {255, 255, c.altitude}}));
        } else {
            EXPECT_EQ(rows.size(), 25u);
        }
    }
}

TEST_F(ScasmWriterTest, EveryDensityWritesAFullGridFromEdgeToEdge)
{
    // Stored density -> density written.
    const std::vector<std::pair<int, int>> densities = {{1, 1},   {2, 2},     {3, 3},      {5, 5},   {7, 7},
                                                        {16, 16}, {100, 100}, {256, 256},  {0, 1},   {-3, 1},
                                                        {257, 256}, {100000, 256}};
    for (const auto& [stored, n] : densities) {
        SCOPED_TRACE(stored);
        OutputTestProject q;
        q.makeChunks(1, 1);
        q.makeIndexedAltitudes(0.01);   // 11 x 11 records: edges are index 0 and 10
        q.doc->chunks[0].properties.gridDensity = stored;
        ScasmWriteStats stats;
        ASSERT_TRUE(writeScasmSource(*q.doc, dir.file("d.sca"), &stats));
        const auto lines = splitCrLf(dir.readText("d.sca"));
        EXPECT_EQ(q.doc->chunks[0].properties.gridDensity, stored);
        const auto tex = linesStartingWith(lines, "\tTexRelief( ");
        ASSERT_EQ(tex.size(), 1u);
        EXPECT_EQ(tex[0].rfind("\tTexRelief( " + std::to_string(n) + " " + std::to_string(n) + " ", 0), 0u);
        const auto rows = nodeRows(lines);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>((n + 1) * (n + 1)));
        EXPECT_EQ(stats.nearestSearches, rows.size());
        const int step = 256 / n;
        for (int i = 0; i <= n; ++i)
            for (int j = 0; j <= n; ++j) {
                const auto& r = rows[static_cast<std::size_t>(i * (n + 1) + j)];
                ASSERT_EQ(r[0], j == n ? 255 : j * step);
                ASSERT_EQ(r[1], i == n ? 255 : i * step);
                // Altitude 1000 x lat index + lon index: the first node on the west edge, the last
                // on the east edge, the first line on the south edge, the last on the north edge.
                if (j == 0) {
                    ASSERT_EQ(r[2] % 1000, 0);
                }
                if (j == n) {
                    ASSERT_EQ(r[2] % 1000, 10);
                }
                if (i == 0) {
                    ASSERT_EQ(r[2] / 1000, 0);
                }
                if (i == n) {
                    ASSERT_EQ(r[2] / 1000, 10);
                }
            }
    }
}

TEST_F(ScasmWriterTest, OrientationMirrorsTextureCoordinatesButKeepsNodeOrder)
{
    p.makeChunks(1, 1);
    p.makeIndexedAltitudes();
    const Written plain = writeAndRead(*p.doc, dir);
    const auto base = nodeRows(plain.lines);
    ASSERT_EQ(base.size(), 25u);
    // Flip value -> (east-west mirrored, north-south mirrored); unknown values as 0.
    const std::vector<std::tuple<int, bool, bool>> cases = {{1, true, false}, {2, false, true}, {3, true, true},
                                                            {7, false, false}, {-1, false, false}};
    for (const auto& [flip, mirrorU, mirrorV] : cases) {
        SCOPED_TRACE(flip);
        p.doc->chunks[0].chunkValueC = flip;
        const auto rows = nodeRows(writeAndRead(*p.doc, dir).lines);
        ASSERT_EQ(rows.size(), base.size());
        for (std::size_t k = 0; k < rows.size(); ++k) {
            EXPECT_EQ(rows[k][0], mirrorU ? 255 - base[k][0] : base[k][0]);
            EXPECT_EQ(rows[k][1], mirrorV ? 255 - base[k][1] : base[k][1]);
            EXPECT_EQ(rows[k][2], base[k][2]);
        }
        const TextureSourceRect r = textureSourceRect(TextureOrientation::fromFlipValue(flip));
        EXPECT_EQ(std::make_pair(r.left, r.right), mirrorU ? std::make_pair(255, -1) : std::make_pair(0, 256));
        EXPECT_EQ(std::make_pair(r.top, r.bottom), mirrorV ? std::make_pair(255, -1) : std::make_pair(0, 256));
    }
    // A mirrored axis starts on the far edge and closes on the near one, for any density.
    std::vector<int> mirrored;
    for (int k = 0; k <= 3; ++k)
        mirrored.push_back(textureCoordinate(k, 3, true));
    EXPECT_EQ(mirrored, (std::vector<int>{255, 170, 85, 0}));
}

TEST_F(ScasmWriterTest, BitmapNameFollowsTextureKindAndSeasonRule)
{
    struct Case {
        bool hasTexture;
        int kind;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {true, 1, "C:\\scenery\\tiles\\abc12345.bmp", "abc12345.bmp"},
        {true, 1, "/home/u/tiles/x.bmp", "x.bmp"},
        {true, 0, "012345w1.bmp", "012345s1.bmp"},
        {true, 0, "012345F1.bmp", "012345s1.bmp"},
        {true, -1, "C:\\lib\\012345w1.bmp", "012345s1.bmp"},
        {true, 0, "ab12.bmp", ""},
        {true, 0, "0123456w.bmp", ""},
        {false, 1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OutputTestProject q;
        q.makeChunks(1, 1);
        q.makeUniformAltitude(0);
        TexReliefChunk& chunk = q.doc->chunks[0];
        chunk.textureKind = c.kind;
        if (c.hasTexture)
            chunk.texture->name = c.name;
        else
            chunk.texture = nullptr;
        const Written w = writeAndRead(*q.doc, dir);
        ASSERT_TRUE(w.ok);
        EXPECT_TRUE(contains(w.lines, std::string("\tBitmap( ") + c.expected + " 0 0 0 0 )"));
    }
}

TEST_F(ScasmWriterTest, AFileThatCannotBeCreatedLeavesNoTraceAndSaysWhy)
{
    p.makeChunks(1, 1);
    p.makeUniformAltitude(0);
    const std::string missingFolder = dir.file("no/such/folder/x.sca");
    EXPECT_FALSE(writeScasmSource(*p.doc, missingFolder));
    EXPECT_FALSE(std::filesystem::exists(missingFolder));
    EXPECT_FALSE(writeScasmSource(*p.doc, dir.str()));   // a folder
    EXPECT_FALSE(writeScasmSource(*p.doc, ""));
    ASSERT_EQ(p.platform.messages.size(), 2u);
    EXPECT_EQ(p.platform.messages[0].text, "Cannot write " + missingFolder + ": No such file or directory.");
    EXPECT_EQ(p.platform.messages[1].text, "Cannot write " + dir.str() + ": Is a directory.");
    EXPECT_TRUE(p.platform.progressLog.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

// A folder that refuses new files: the old source stays whole (it is never rewritten in place),
// the message names the real cause, and no empty or temporary file appears.
TEST_F(ScasmWriterTest, AFolderThatRefusesNewFilesKeepsTheOldSource)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not apply";
    p.makeChunks(1, 1);
    p.makeUniformAltitude(0);
    std::filesystem::create_directory(dir.file("locked"));
    dir.write("locked/old.sca", std::string("old source\r\n"));
    std::filesystem::permissions(dir.file("locked"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    std::filesystem::permissions(dir.file("locked/old.sca"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const bool written = writeScasmSource(*p.doc, dir.file("locked/old.sca"));
    const bool createdNew = writeScasmSource(*p.doc, dir.file("locked/new.sca"));
    std::filesystem::permissions(dir.file("locked"), std::filesystem::perms::owner_all);
    EXPECT_FALSE(written);
    EXPECT_FALSE(createdNew);
    EXPECT_EQ(dir.readText("locked/old.sca"), "old source\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("locked")), {}), 1);
    ASSERT_EQ(p.platform.messages.size(), 2u);
    EXPECT_EQ(p.platform.messages[0].text, "Cannot write " + dir.file("locked/old.sca") + ": Permission denied.");
}

TEST_F(ScasmWriterTest, ARewrittenFileReplacesTheOldOneWithoutLeftovers)
{
    p.makeChunks(2, 1);
    p.makeUniformAltitude(0);
    dir.write("out.sca", std::string(100000, 'x'));
    const Written w = writeAndRead(*p.doc, dir);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.lines.front().rfind("Copyright(", 0), 0u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

/// A several-chunk project with every optional block, for the locale comparison.
void fillRichProject(OutputTestProject& q)
{
    q.makeChunks(3, 2);
    q.makeIndexedAltitudes();
    q.doc->paletteName = "lake.pal";
    FsMenuPositionItem m;
    m.title = "Lake";
    m.latitude = 45.123456;
    m.longitude = -73.5;
    m.heading = 271.25;
    m.com = 122.8;
    q.doc->menuPositionItems = {m};
    q.doc->macroItems = {{"tower.api", {"0.5", "12"}}};
    q.doc->chunks[1].properties.gridDensity = 3;
    q.doc->chunks[2].chunkValueC = 3;
}

TEST_F(ScasmWriterTest, OutputIgnoresTheLocaleApartFromTimeAndDate)
{
    OutputTestProject c;
    fillRichProject(c);
    ASSERT_TRUE(writeScasmSource(*c.doc, dir.file("c.sca")));
    const auto classic = splitCrLf(dir.readText("c.sca"));
    EXPECT_EQ(classic[3], ";# Creation Time: 00:00:00");
    EXPECT_EQ(classic[4], ";# Creation Date: Thursday, January 01, 70 ");

    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    OutputTestProject g;
    fillRichProject(g);
    const bool ok = writeScasmSource(*g.doc, dir.file("g.sca"));
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_TRUE(ok);
    const auto german = splitCrLf(dir.readText("g.sca"));
    ASSERT_EQ(german.size(), classic.size());
    EXPECT_EQ(german[4], ";# Creation Date: Donnerstag, Januar 01, 70 ");
    for (std::size_t i = 0; i < classic.size(); ++i)
        if (i != 3 && i != 4) {
            ASSERT_EQ(german[i], classic[i]) << "line " << i;
        }
}

TEST_F(ScasmWriterTest, SourceDateEpochFixesTheTimeAndDateLines)
{
    p.makeChunks(1, 1);
    p.makeUniformAltitude(0);
    ScopedEnv later{"SOURCE_DATE_EPOCH", "1765000000"};   // 2025-12-06 05:46:40 UTC
    const Written w = writeAndRead(*p.doc, dir);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.lines[3], ";# Creation Time: 05:46:40");
    EXPECT_EQ(w.lines[4], ";# Creation Date: Saturday, December 06, 25 ");
}

} // namespace

TEST_F(ScasmWriterTest, CancelLeavesThePreviousSource)
{
    p.makeChunks(3, 2);
    p.makeIndexedAltitudes();
    const std::string path = dir.file("out.sca");
    ASSERT_TRUE(writeScasmSource(*p.doc, path));
    const std::string before = dir.readText("out.sca");
    for (int cancelAt : {1, 6}) {
        SCOPED_TRACE(cancelAt);
        p.platform.messages.clear();
        p.platform.cancelAfterSteps = cancelAt;
        p.doc->boundary.north += 0.5;   // a source written now would differ
        EXPECT_FALSE(writeScasmSource(*p.doc, path));
        ASSERT_EQ(p.platform.messages.size(), 1u);
        EXPECT_EQ(p.platform.messages[0].text, "Writing the source was cancelled: " + path + " was left as it was.");
        EXPECT_EQ(dir.readText("out.sca"), before);
        EXPECT_EQ(p.platform.waitCursorDepth, 0);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
