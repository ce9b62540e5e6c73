// Damaged and hostile project files: every truncation, oversized lengths, unknown items, absurd
// counts and random damage give false or a clean skip, never a crash, a hang or a stray write.
#include <random>

#include "project/ProjectFile.h"
#include "ProjectFileFixture.h"

namespace {

class ProjectFileHostile : public ProjectFileFixture {
protected:
    /// A small but complete version 7 project: maps, records, items, chunks with texture names.
    std::vector<std::uint8_t> wholeProject()
    {
        auto doc = newDoc();
        doc->texturePrefix = "pre";
        doc->bitmapPath = "b.bmp";
        auto map = std::make_unique<AltitudeMap>();
        map->title = "m";
        map->records = {{1.0, 2.0, 3}, {1.5, 2.5, 4}};
        doc->altitudeMaps.push_back(std::move(map));
        doc->menuPositionItems.push_back({"t", 1, 2, 3, 4, 5, 6, 7, 8, 9, "d", 1, 2});
        doc->macroItems.push_back({"m.scm", {"a", "b"}, 1, 2});
        auto tile = std::make_unique<Texture>();
        tile->name = "tile";
        tile->kind = 1;
        doc->chunks.resize(2);
        doc->chunks[0].texture = tile.get();
        doc->chunks[1].texture = app.noMatchTexture.get();
        doc->chunkColumns = 2;
        doc->chunkRows = 1;
        EXPECT_TRUE(saveProject(*doc, dir.file("whole.prj")));
        const auto bytes = dir.read("whole.prj");
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(ProjectFileHostile, EveryTruncationFails)
{
    const std::vector<std::uint8_t> whole = wholeProject();
    {
        auto doc = newDoc();
        ASSERT_TRUE(loadBytes(*doc, whole));
    }
    for (std::size_t length = 0; length < whole.size(); ++length) {
        auto doc = newDoc();
        EXPECT_FALSE(loadBytes(*doc, std::vector<std::uint8_t>(whole.begin(), whole.begin() + length)))
            << "cut at " << length;
    }
}

TEST_F(ProjectFileHostile, EveryTruncationOfAnOldFileFails)
{
    // Version 5: fixed-order map block with pending edits, obsolete records, the old boundary.
    ProjectBytes map;
    map.i32(1).i32(2).zeros(40).str(38, "old").i32(1).i32(0).i32(0).record(1, 2, 3).record(1, 2.5, 4);
    map.i32(1).i32(0).i32(0).u16(31).i32(1).record(1, 2, 9).u16(33).i32(1).record(3, 3, 3);
    ProjectBytes body;
    body.value(21, 5).u16(14).u32(8).f64(1).u16(14).u32(8).f64(2).u16(14).u32(8).f64(3).u16(14).u32(8).f64(4);
    body.u16(5).u32(60).zeros(60).block(29, map).u16(19).u32(48).zeros(48).str(17, "");
    body.value(93, 1).block(75, ProjectBytes().value(76, 1).value(80, 1).str(79, "t"));
    ProjectBytes file;
    file.block(64, body);
    {
        auto doc = newDoc();
        ASSERT_TRUE(loadBytes(*doc, file));
    }
    for (std::size_t length = 0; length < file.size(); ++length) {
        auto doc = newDoc();
        EXPECT_FALSE(loadBytes(*doc, std::vector<std::uint8_t>(file.bytes.begin(), file.bytes.begin() + length)))
            << "cut at " << length;
    }
}

TEST_F(ProjectFileHostile, OversizedValuesFillOnlyTheirFieldAndSkipTheRest)
{
    ProjectBytes table;   // a colour table item of 2000 bytes: the first 1024 are the table
    for (std::int32_t i = 0; i < 500; ++i)
        table.i32(i);
    ProjectBytes body;
    body.u16(21).u32(12).i32(7).i32(0x11111111).i32(0x22222222);   // version with surplus
    body.u16(15).u32(2000).append(table);
    body.u16(15).u32(8).i32(5).i32(6).value(15, 2).value(15, 3).value(15, 4);
    body.u16(82).u32(16).i32(3).i32(-1).i32(-1).i32(-1);
    body.u16(86).u32(6).i32(0).u16(0xffff);
    body.value(93, 1).block(75, ProjectBytes().u16(76).u32(100).i32(8).zeros(96).block(49, ProjectBytes().u16(50).u32(9).i32(16).zeros(5)));
    body.u16(81).u32(50).u16(81).u32(20).f64(-3.0).zeros(12).real(81, 3.0).real(81, 1.0).real(81, 2.0).real(81, 99.0).u16(1);
    ProjectBytes file;
    file.block(64, body);

    auto doc = newDoc();
    ASSERT_TRUE(loadBytes(*doc, file));
    EXPECT_EQ(doc->formatVersion, 7);
    EXPECT_EQ(doc->colorTable[0], 0);
    EXPECT_EQ(doc->colorTable[255], 255);
    EXPECT_EQ(doc->colorTableParams, (std::array<std::int32_t, 4>{5, 2, 3, 4}));
    EXPECT_EQ(doc->chunkColumns, 3);
    EXPECT_FALSE(doc->writeAltitudeCoordinates);
    ASSERT_EQ(doc->chunks.size(), 1u);
    EXPECT_EQ(doc->chunks[0].chunkValueA, 8);
    EXPECT_EQ(doc->chunks[0].properties.gridDensity, 16);
    EXPECT_EQ(doc->boundary, (GeoRect{-3.0, 3.0, 1.0, 2.0}));   // a fifth value is ignored
}

TEST_F(ProjectFileHostile, FilesNotOpeningWithTheProjectBlockAreRefused)
{
    for (const std::vector<std::uint8_t>& bytes : std::vector<std::vector<std::uint8_t>>{
             {1, 0}, {21, 0, 4, 0, 0, 0, 7, 0, 0, 0, 1, 0}, {'P', 'K', 3, 4, 1, 0}}) {
        auto doc = newDoc();
        EXPECT_FALSE(loadBytes(*doc, bytes));
    }
    ProjectBytes old;   // the old container holds the items directly
    old.u16(2).u32(0).value(82, 4).u16(1);
    auto doc = newDoc();
    ASSERT_TRUE(loadBytes(*doc, old));
    EXPECT_EQ(doc->chunkColumns, 4);
}

TEST_F(ProjectFileHostile, LengthsBeyondTheFileFail)
{
    for (std::uint16_t tag : {21, 4, 13, 15, 29, 75, 81, 82, 90, 18, 500}) {
        ProjectBytes body;
        body.u16(tag).u32(0x7ffffff0).i32(1).i32(2);
        ProjectBytes file;
        file.block(64, body);
        auto doc = newDoc();
        EXPECT_FALSE(loadBytes(*doc, file)) << "tag " << tag;
    }
}

TEST_F(ProjectFileHostile, UnknownItemsAnywhereAtTheOuterLevelAreSkipped)
{
    const std::vector<std::uint8_t> whole = wholeProject();
    auto reference = newDoc();
    ASSERT_TRUE(loadBytes(*reference, whole));

    // Insert an unknown item at every outer item boundary: walk the file as the reader would.
    std::vector<std::size_t> boundaries;
    {
        ProjectBytes unknown;
        unknown.u16(1234).u32(3).chars("xyz");
        // Outer items of the written file start after the 6-byte block head; collect their offsets
        // by skipping each with the knowledge of its shape.
        std::size_t pos = 6;
        auto u32at = [&](std::size_t at) {
            return static_cast<std::size_t>(whole[at] | whole[at + 1] << 8 | whole[at + 2] << 16 |
                                            static_cast<std::uint32_t>(whole[at + 3]) << 24);
        };
        while (pos + 2 <= whole.size()) {
            boundaries.push_back(pos);
            const std::uint16_t tag = static_cast<std::uint16_t>(whole[pos] | whole[pos + 1] << 8);
            if (tag == 1)
                break;
            if (tag == 24 || tag == 25)
                break;   // records without a length: the items before them are enough
            pos += 6 + u32at(pos + 2);
            if (tag == 15 && u32at(pos - 1024 - 4) == 1024)
                pos += 4 * 10;   // the four parameters that share the tag
        }
        boundaries.push_back(whole.size() - 2);   // just before the closing end tag
        for (std::size_t at : boundaries) {
            std::vector<std::uint8_t> damaged = whole;
            damaged.insert(damaged.begin() + static_cast<std::ptrdiff_t>(at), unknown.bytes.begin(),
                           unknown.bytes.end());
            auto doc = newDoc();
            ASSERT_TRUE(loadBytes(*doc, damaged)) << "unknown item at " << at;
            EXPECT_EQ(doc->texturePrefix, reference->texturePrefix);
            EXPECT_EQ(doc->altitudeMaps.size(), 1u);
            EXPECT_EQ(doc->chunks.size(), 2u);
            EXPECT_EQ(doc->macroItems, reference->macroItems);
        }
    }
    EXPECT_GE(boundaries.size(), 8u);
}

TEST_F(ProjectFileHostile, AbsurdCountsAllocateOnlyWhatTheFileHolds)
{
    // Version 7: the record count is for the progress only; the records are what follows.
    ProjectBytes map;
    map.value(35, 0x7fffffff).value(36, 0x7fffffff).value(37, 0x7fffffff);
    map.u16(45).record(1, 2, 3).u16(45).record(4, 5, 6);
    ProjectBytes body;
    body.value(21, 7).block(29, map).value(93, 0x7fffffff);
    body.u16(25).str(25, "macro").i32(0x7fffffff).str(25, "only one");   // far fewer values than counted
    ProjectBytes file;
    file.block(64, body);
    auto doc = newDoc();
    EXPECT_FALSE(loadBytes(*doc, file));
    ASSERT_EQ(doc->altitudeMaps.size(), 1u);
    EXPECT_EQ(doc->altitudeMaps[0]->records.size(), 2u);
    EXPECT_TRUE(doc->macroItems.empty());

    ProjectBytes negativeMacro;
    negativeMacro.u16(25).str(25, "m").i32(-5).i32(0).i32(0);
    ProjectBytes file2;
    file2.block(64, negativeMacro);
    auto doc2 = newDoc();
    EXPECT_FALSE(loadBytes(*doc2, file2));
}

TEST_F(ProjectFileHostile, RandomDamageNeverCrashes)
{
    const std::vector<std::uint8_t> whole = wholeProject();
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> position(0, whole.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 1500; ++round) {
        std::vector<std::uint8_t> damaged = whole;
        const int changes = 1 + round % 4;
        for (int i = 0; i < changes; ++i)
            damaged[position(random)] = static_cast<std::uint8_t>(byte(random));
        auto doc = newDoc();
        loadBytes(*doc, damaged);   // either answer is fine; it must come back
    }
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> garbage(static_cast<std::size_t>(round * 7 % 400));
        for (auto& b : garbage)
            b = static_cast<std::uint8_t>(byte(random));
        auto doc = newDoc();
        loadBytes(*doc, garbage);
    }
    SUCCEED();
}

} // namespace
