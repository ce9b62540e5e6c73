// mergeAltitudeMaps and selectEditableMap over a project's maps.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "altitude/AltitudeMerge.h"
#include "AltitudeProjectFixture.h"

namespace {

class AltitudeMergeTest : public AltitudeProjectFixture {
protected:
    AltitudeMap& addMap(const std::string& title, std::vector<AltitudeRecord> records, int enabled = 1)
    {
        auto map = std::make_unique<AltitudeMap>();
        map->title = title;
        map->enabled = enabled;
        map->records = std::move(records);
        doc->altitudeMaps.push_back(std::move(map));
        return *doc->altitudeMaps.back();
    }
    std::vector<std::int32_t> mainAltitudes() const
    {
        std::vector<std::int32_t> result;
        for (const AltitudeRecord& r : doc->mainAltitudeMap.records)
            result.push_back(r.altitude);
        return result;
    }
};

TEST_F(AltitudeMergeTest, EnabledMapsAreMergedSortedAndStable)
{
    addMap("a", {{0, 3.0, 1}, {0, 1.0, 2}, {0, 2.0, 3}});
    addMap("off", {{0, 0.5, 99}}, 0);
    addMap("b", {{1, 2.0, 4}, {1, 1.0, 5}});
    doc->mainAltitudeMap.records = {{5, 5, 5}};   // stale content is dropped
    EXPECT_TRUE(mergeAltitudeMaps(*doc));
    // Equal longitudes keep their merge order: map a before map b.
    EXPECT_EQ(mainAltitudes(), (std::vector<std::int32_t>{2, 5, 3, 4, 1}));
    EXPECT_TRUE(logged("create Preparing Altitude Maps..."));
    EXPECT_TRUE(logged("range 0 3 step 1"));
    EXPECT_TRUE(logged("text  | Adding map a"));
    EXPECT_TRUE(logged("text  | Adding map b"));
    EXPECT_FALSE(logged("text  | Adding map off"));
    EXPECT_EQ(platform.progressLog.back(), "destroy");
}

TEST_F(AltitudeMergeTest, LargeMergeIsFullySorted)
{
    std::vector<AltitudeRecord> records;
    for (int i = 0; i < 5000; ++i)
        records.push_back({0.0, std::fmod(i * 7.31, 13.0) - 6.0, i});
    addMap("big", records);
    addMap("big2", records);
    mergeAltitudeMaps(*doc);
    const auto& merged = doc->mainAltitudeMap.records;
    ASSERT_EQ(merged.size(), 10000u);
    EXPECT_TRUE(std::is_sorted(merged.begin(), merged.end(),
                               [](const AltitudeRecord& a, const AltitudeRecord& b) { return a.longitude < b.longitude; }));
}

// Maps that arrive sorted (grids column by column), unsorted (row by row), empty or disabled,
// plain or packed, with equal longitudes across maps and insertions: the main map is exactly the
// stable sort of all records in merge order, the sources are left as they were, and a lone
// sorted source is shared rather than copied.
TEST_F(AltitudeMergeTest, MergedRunsEqualOneStableSort)
{
    std::mt19937 random(3);
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        doc->altitudeMaps.clear();
        std::vector<AltitudeRecord> expected;
        const int maps = 1 + static_cast<int>(random() % 4);
        for (int m = 0; m < maps; ++m) {
            const int columns = static_cast<int>(random() % 30), rows = 1 + static_cast<int>(random() % 30);
            const bool byColumns = random() % 3 != 0;
            const double west = (random() % 8) * 0.5;
            std::vector<AltitudeRecord> records;
            for (int a = 0; a < (byColumns ? columns : rows); ++a)
                for (int b = 0; b < (byColumns ? rows : columns); ++b) {
                    const int c = byColumns ? a : b, r = byColumns ? b : a;
                    records.push_back({r * 0.25, west + c * 0.25, static_cast<std::int32_t>(m * 100000 + a * 1000 + b)});
                }
            const int enabled = random() % 5 == 0 ? 0 : 1;
            AltitudeMap& map = addMap("m" + std::to_string(m), records, enabled);
            if (random() % 2 == 0)
                map.records.pack();
            if (random() % 3 == 0)
                map.insertions = {{1.0, west, -1}, {2.0, west - 0.25, -2}};
            if (enabled == 1) {
                expected.insert(expected.end(), records.begin(), records.end());
                expected.insert(expected.end(), map.insertions.begin(), map.insertions.end());
            }
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const AltitudeRecord& a, const AltitudeRecord& b) { return a.longitude < b.longitude; });
        std::vector<std::vector<AltitudeRecord>> sources;
        std::size_t enabledMaps = 0;
        for (const auto& map : doc->altitudeMaps) {
            sources.emplace_back(map->records.begin(), map->records.end());
            enabledMaps += map->enabled == 1 ? 1 : 0;
        }
        ASSERT_TRUE(mergeAltitudeMaps(*doc));
        ASSERT_EQ(doc->mainAltitudeMap.records, expected);
        for (std::size_t m = 0; m < sources.size(); ++m) {
            const AltitudeMap& map = *doc->altitudeMaps[m];
            EXPECT_EQ(map.records, sources[m]);
            const bool sorted = std::is_sorted(sources[m].begin(), sources[m].end(),
                [](const AltitudeRecord& a, const AltitudeRecord& b) { return a.longitude < b.longitude; });
            if (enabledMaps == 1 && map.enabled == 1 && map.insertions.empty() && !map.records.empty()) {
                EXPECT_EQ(doc->mainAltitudeMap.records.sharesStorageWith(map.records), sorted);
            }
        }
    }
}

TEST_F(AltitudeMergeTest, EditListsApplyInOrderAndMergingTwiceGivesTheSameMap)
{
    AltitudeMap& first = addMap("first", {{0, 10.0, 1}, {0, 10.5, 2}});
    AltitudeMap& second = addMap("second", {{0, 10.2, 3}, {0, 20.0, 4}});
    second.overrides = {{0, 20.01, 40}, {0, 50.0, 77}};   // the second is far from every record
    second.deletions = {{0, 10.45, 0}, {0, 80.0, 0}};      // nearest main record: first's 10.5
    second.insertions = {{0, 15.0, 5}};
    (void)first;
    mergeAltitudeMaps(*doc);
    const auto once = doc->mainAltitudeMap.records;
    EXPECT_EQ(mainAltitudes(), (std::vector<std::int32_t>{1, 3, 5, 40}));
    EXPECT_EQ(second.records[1].altitude, 40);   // overrides change the source map itself
    EXPECT_EQ(second.records[0].altitude, 3);
    mergeAltitudeMaps(*doc);
    EXPECT_EQ(doc->mainAltitudeMap.records, once);
}

TEST_F(AltitudeMergeTest, RecordsWithoutAPositionAreLeftOut)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    addMap("m", {{0, 2.0, 1}, {nan, 1.0, 2}, {0, nan, 3}, {0, 1.0, 4}});
    mergeAltitudeMaps(*doc);
    EXPECT_EQ(mainAltitudes(), (std::vector<std::int32_t>{4, 1}));
}

TEST_F(AltitudeMergeTest, SelectEditableMap)
{
    EXPECT_EQ(selectEditableMap(*doc), -2);
    addMap("off", {}, 0);
    EXPECT_EQ(selectEditableMap(*doc), -2);
    addMap("on", {});
    EXPECT_EQ(selectEditableMap(*doc), 1);
    addMap("other", {}, 2);   // only 1 counts as enabled
    EXPECT_EQ(selectEditableMap(*doc), 1);
    addMap("second", {});
    EXPECT_EQ(selectEditableMap(*doc), -1);
}

} // namespace
