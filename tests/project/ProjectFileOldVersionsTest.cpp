// Files of the older format versions, assembled by hand: fixed-order map blocks, old record
// images, old boundary and map headers, obsolete and discarded items, pending edit lists.
#include <sys/stat.h>

#include "ProjectFileFixture.h"

namespace {

struct OldVersion {
    std::int32_t version;
    std::size_t recordSize;   // 32-byte images in version 1, 20 bytes after
    bool sixDiscardedValues;  // before version 6
    bool waterLevel;          // from version 3
    std::size_t obsoleteValues;
};

const OldVersion kVersions[] = {
    {1, 32, true, false, 14},
    {2, 20, true, false, 14},
    {5, 20, true, true, 15},
    {6, 20, false, true, 15},
};

const AltitudeRecord kGrid[] = {{10.0, 20.0, 100}, {10.0, 20.5, 200}, {10.5, 20.0, 300}, {10.5, 20.5, 400}};

ProjectBytes oldMapBlockContents(const OldVersion& v)
{
    ProjectBytes map;
    map.i32(2).i32(2);
    if (v.sixDiscardedValues)
        map.i32(77).i32(78).f64(1.0).f64(2.0).f64(3.0).f64(4.0);
    map.str(38, "C:\\dem\\old.dt0").i32(2).i32(0).i32(0);
    for (const AltitudeRecord& r : kGrid) {
        if (v.recordSize == 32)
            map.f64(-555.0).record(r.latitude, r.longitude, r.altitude).i32(-1);   // bytes 0-7 and 28-31 ignored
        else
            map.record(r.latitude, r.longitude, r.altitude);
    }
    map.i32(1).i32(1);
    if (v.waterLevel)
        map.i32(-7);
    map.u16(31).i32(1).record(10.01, 20.49, 999);   // override: the second record
    map.u16(32).i32(1).record(10.49, 20.01, 0);     // deletion: the third record
    map.u16(33).i32(1).record(11.0, 21.0, 500);     // insertion
    return map;
}

ProjectBytes oldProject(const OldVersion& v)
{
    ProjectBytes body;
    body.u16(2).u32(0);   // the old container
    body.value(21, v.version);
    body.u16(14).u32(8).f64(-1.0).u16(14).u32(8).f64(1.0).u16(14).u32(8).f64(-2.0).u16(14).u32(8).f64(2.0);
    for (std::uint16_t tag : {5, 6, 7, 8}) {
        body.u16(tag).u32(static_cast<std::uint32_t>(v.obsoleteValues * 4));
        for (std::size_t i = 0; i < v.obsoleteValues; ++i)
            body.i32(static_cast<std::int32_t>(i));
    }
    for (std::uint16_t tag : {18, 26, 28, 30})
        body.u16(tag).u32(3).chars("abc");
    body.str(4, "old");
    body.block(29, oldMapBlockContents(v));
    body.value(93, 1).block(75, ProjectBytes().value(76, 3).value(77, 4));
    body.value(82, 1).value(83, 1);
    ProjectBytes file;
    file.block(64, body);
    return file;
}

class ProjectFileOldVersions : public ProjectFileFixture {};

TEST_F(ProjectFileOldVersions, EachVersionLoadsIntoTheSameValues)
{
    for (const OldVersion& v : kVersions) {
        SCOPED_TRACE("version " + std::to_string(v.version));
        auto doc = newDoc();
        ASSERT_TRUE(loadBytes(*doc, oldProject(v)));
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(doc->formatVersion, v.version);
        EXPECT_EQ(doc->boundary, (GeoRect{-1.0, 1.0, -2.0, 2.0}));
        EXPECT_EQ(doc->texturePrefix, "old");
        ASSERT_EQ(doc->altitudeMaps.size(), 1u);
        const AltitudeMap& map = *doc->altitudeMaps[0];
        EXPECT_EQ(map.columns, 2);
        EXPECT_EQ(map.rows, 2);
        EXPECT_EQ(map.title, "C:\\dem\\old.dt0");
        EXPECT_EQ(map.sourceType, 2);
        EXPECT_EQ(map.enabled, 1);
        EXPECT_EQ(map.showWater, 1);
        EXPECT_EQ(map.waterLevel, v.waterLevel ? -7 : 0);
        // The pending edits are folded into the map's own records and the lists emptied.
        const std::vector<AltitudeRecord> expected = {kGrid[0], {10.0, 20.5, 999}, kGrid[3], {11.0, 21.0, 500}};
        EXPECT_EQ(map.records, expected);
        EXPECT_TRUE(map.overrides.empty());
        EXPECT_TRUE(map.deletions.empty());
        EXPECT_TRUE(map.insertions.empty());
        EXPECT_EQ(doc->mainAltitudeMap.records, expected);   // already in longitude order
        ASSERT_EQ(doc->chunks.size(), 1u);
        EXPECT_EQ(doc->chunks[0].chunkValueA, 3);
        EXPECT_EQ(doc->chunks[0].chunkValueB, 4);
        EXPECT_EQ(doc->chunkColumns, 1);
    }
}

TEST_F(ProjectFileOldVersions, OldMapHeadersAndReferencesAppendAMapEach)
{
    dir.write("heights.txt", std::string("46.0 7.0 100\n46.0 7.5 200\n"));
    ProjectBytes body;
    body.value(21, 5);
    // header: length, four int32 (the third and fourth are the altitude range), four doubles
    auto header = [&](std::uint16_t tag) {
        body.u16(tag).u32(48).i32(0).i32(0).i32(10).i32(900).f64(46.0).f64(47.0).f64(7.0).f64(8.0);
    };
    header(19);
    body.str(17, "");
    header(20);
    body.str(3, dir.file("missing.dt0"));
    header(23);
    body.str(22, "");
    body.str(22, dir.file("heights.txt"));
    body.str(22, "");   // nothing read: no records, not those of the reference before
    ProjectBytes file;
    file.block(64, body);

    auto doc = newDoc();
    ASSERT_TRUE(loadBytes(*doc, file));
    ASSERT_EQ(doc->altitudeMaps.size(), 5u);
    const std::int32_t types[] = {1, 2, 3};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(doc->altitudeMaps[i]->sourceType, types[i]);
        EXPECT_TRUE(doc->altitudeMaps[i]->records.empty());
    }
    EXPECT_EQ(doc->altitudeMaps[0]->title, "Orvane v1.02 Type AltMap");
    EXPECT_EQ(doc->altitudeMaps[2]->title, "Orvane v1.02 Type AltMap");
    // The last reference re-reads the pending TEXT map from its file.
    EXPECT_EQ(doc->altitudeMaps[3]->records.size(), 2u);
    EXPECT_TRUE(doc->altitudeMaps[4]->records.empty());
    EXPECT_EQ(doc->mainAltitudeMap.records.size(), 2u);
}

// A tiny old project that names a device or a FIFO as its altitude file loads at once: the
// reader refuses anything but a regular file instead of reading for ever or waiting for a writer.
TEST_F(ProjectFileOldVersions, MapReferencesToDevicesAndFifosAreRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo(dir.file("heights.fifo").c_str(), 0600), 0);
    for (const std::string& reference : {std::string("/dev/zero"), dir.file("heights.fifo")}) {
        SCOPED_TRACE(reference);
        ProjectBytes body;
        body.value(21, 5);
        body.u16(23).u32(48).i32(0).i32(0).i32(10).i32(900).f64(46.0).f64(47.0).f64(7.0).f64(8.0);
        body.str(22, reference);
        ProjectBytes file;
        file.block(64, body);
        auto doc = newDoc();
        platform.messages.clear();
        ASSERT_TRUE(loadBytes(*doc, file));
        ASSERT_EQ(doc->altitudeMaps.size(), 1u);
        EXPECT_TRUE(doc->altitudeMaps[0]->records.empty());
        bool said = false;
        for (const auto& m : platform.messages)
            said = said || m.text == "Couldn't read that file.\n" + reference + ": not a regular file.";
        EXPECT_TRUE(said);
    }
}

TEST_F(ProjectFileOldVersions, UnreadableMapBlockIsReportedAndSkipped)
{
    const std::string message =
        "You have loaded an old Orvane Project Format. Make sure you save your project within this version.";
    // A grid far larger than the block (2^31 records), a negative size, an edit list beyond the file.
    ProjectBytes huge, negative, badEdits;
    huge.i32(65536).i32(32768).zeros(40).str(38, "huge").i32(1).i32(0).i32(0).record(1, 2, 3);
    negative.i32(-1).i32(4).zeros(40).str(38, "neg").i32(1).i32(0).i32(0);
    badEdits.i32(1).i32(1).zeros(40).str(38, "edits").i32(1).i32(0).i32(0).record(1, 2, 3).i32(1).i32(0).i32(0);
    badEdits.u16(31).i32(0x7fffffff).record(1, 2, 3);
    for (const ProjectBytes* contents : {&huge, &negative, &badEdits}) {
        ProjectBytes body;
        body.value(21, 5).block(29, *contents).value(82, 9);
        ProjectBytes file;
        file.block(64, body);
        auto doc = newDoc();
        ASSERT_TRUE(loadBytes(*doc, file));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, message);
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
        EXPECT_TRUE(doc->altitudeMaps.empty());
        EXPECT_EQ(doc->chunkColumns, 9);   // reading went on after the block
    }
}

TEST_F(ProjectFileOldVersions, OldBlockWithoutEndTagEndsAtTheNextOuterItem)
{
    // An old map block read by its fixed layout: the tag after it is handed back to the outer level.
    ProjectBytes map = oldMapBlockContents(kVersions[3]);
    ProjectBytes body;
    body.value(21, 6).u16(29).u32(static_cast<std::uint32_t>(map.size())).append(map).value(82, 5);
    ProjectBytes file;
    file.block(64, body);
    auto doc = newDoc();
    ASSERT_TRUE(loadBytes(*doc, file));
    EXPECT_EQ(doc->altitudeMaps.size(), 1u);
    EXPECT_EQ(doc->chunkColumns, 5);
}

} // namespace
