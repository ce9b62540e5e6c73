// Override, delete and insert a record; the project commands around them; old edit lists.
#include <cmath>
#include <limits>
#include <random>

#include "altitude/AltitudeEdits.h"
#include "altitude/AltitudeMerge.h"
#include "AltitudeProjectFixture.h"

namespace {

class AltitudeEditsTest : public AltitudeProjectFixture {
protected:
    int repaints = 0;

    void SetUp() override
    {
        AltitudeProjectFixture::SetUp();
        doc->onRepaint = [this] { ++repaints; };
    }
    AltitudeMap& addMap(std::vector<AltitudeRecord> records, int enabled = 1)
    {
        auto map = std::make_unique<AltitudeMap>();
        map->enabled = enabled;
        map->records = std::move(records);
        doc->altitudeMaps.push_back(std::move(map));
        return *doc->altitudeMaps.back();
    }
    void clickAt(double latitude, double longitude, std::int32_t altitude = 0)
    {
        doc->clickLatitude = latitude;
        doc->clickLongitude = longitude;
        doc->clickAltitude = altitude;
    }
};

// Row-ordered like a BMP or TEXT source: not sorted by longitude.
const std::vector<AltitudeRecord> kRows = {{1.0, 7.5, 10}, {1.0, 7.0, 20}, {0.5, 7.5, 30}, {0.5, 7.0, 40}};

TEST_F(AltitudeEditsTest, OperationsOnTheRecordNearestTheClick)
{
    AltitudeMap& map = addMap(kRows);
    map.owner = doc.get();

    clickAt(0.6, 7.1, 123);
    platform.altitudeAnswers = {std::nullopt, 555};
    EXPECT_FALSE(overrideRecord(map));   // Cancel changes nothing
    EXPECT_TRUE(overrideRecord(map));
    EXPECT_EQ(platform.altitudePrompts, (std::vector<std::int32_t>{123, 123}));
    EXPECT_EQ(map.records[3].altitude, 555);

    clickAt(0.9, 7.4);
    EXPECT_TRUE(deleteRecord(map));
    EXPECT_EQ(map.records, (std::vector<AltitudeRecord>{kRows[1], kRows[2], {0.5, 7.0, 555}}));

    clickAt(2.0, 8.0, 9);
    platform.altitudeAnswers = {std::nullopt, 777};
    EXPECT_FALSE(insertRecord(map));
    EXPECT_TRUE(insertRecord(map));
    EXPECT_EQ(map.records.back(), (AltitudeRecord{2.0, 8.0, 777}));
}

TEST_F(AltitudeEditsTest, NothingChangesFarFromEveryRecordOrWithoutOwner)
{
    AltitudeMap& map = addMap(kRows);
    EXPECT_FALSE(deleteRecord(map));   // no owner yet
    map.owner = doc.get();
    clickAt(1.0, 9.0);                 // 1.5 degrees east of every record
    platform.altitudeAnswers = {1};
    EXPECT_FALSE(overrideRecord(map));
    EXPECT_FALSE(deleteRecord(map));
    EXPECT_EQ(map.records, kRows);
    AltitudeMap empty;
    empty.owner = doc.get();
    EXPECT_FALSE(deleteRecord(empty));

    doc->clickLatitude = doc->clickLongitude = std::numeric_limits<double>::max();   // nothing picked
    platform.altitudeAnswers = {5};
    EXPECT_FALSE(insertRecord(map));
    EXPECT_EQ(map.records, kRows);
}

TEST_F(AltitudeEditsTest, CommandsWorkOnTheOnlyEnabledMapAndMergeAgain)
{
    addMap({{0, 1.0, 1}}, 0);
    AltitudeMap& editable = addMap(kRows);
    clickAt(0.5, 7.0);
    platform.altitudeAnswers = {999};
    EXPECT_TRUE(overrideAltitudeCommand(*doc));
    EXPECT_EQ(editable.owner, doc.get());
    EXPECT_EQ(editable.records[3].altitude, 999);
    EXPECT_EQ(doc->mainAltitudeMap.records.size(), 4u);
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(doc->modified);

    platform.altitudeAnswers = {std::nullopt};
    EXPECT_FALSE(insertAltitudeRecordCommand(*doc));   // cancelled: no merge, no repaint
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(deleteAltitudeRecordCommand(*doc));
    EXPECT_EQ(doc->mainAltitudeMap.records.size(), 3u);
}

TEST_F(AltitudeEditsTest, RecordEditsAreUndoneAndRedoneWithTheMainMap)
{
    AltitudeMap& editable = addMap(kRows);
    mergeAltitudeMaps(*doc);
    doc->setModified(false);   // as saved
    const RecordList mainBefore = doc->mainAltitudeMap.records;

    clickAt(0.5, 7.0);
    platform.altitudeAnswers = {999, 5};
    ASSERT_TRUE(overrideAltitudeCommand(*doc));
    ASSERT_TRUE(deleteAltitudeRecordCommand(*doc));
    clickAt(3.0, 9.0);
    ASSERT_TRUE(insertAltitudeRecordCommand(*doc));
    const RecordList edited = editable.records;
    ASSERT_EQ(doc->undoStack.count(), 3u);
    EXPECT_EQ(doc->undoStack.undoText(), "Insert Altitude Record");

    const char* const texts[] = {"Insert Altitude Record", "Delete Altitude Record", "Override Altitude"};
    for (const char* text : texts) {
        EXPECT_EQ(doc->undoStack.undoText(), text);
        EXPECT_TRUE(doc->modified);
        doc->undoStack.undo(*doc);
    }
    EXPECT_EQ(editable.records, kRows);
    EXPECT_EQ(doc->mainAltitudeMap.records, mainBefore);
    EXPECT_FALSE(doc->modified);   // back where it was saved

    for (int i = 0; i < 3; ++i)
        doc->undoStack.redo(*doc);
    EXPECT_EQ(editable.records, edited);
    EXPECT_EQ(doc->mainAltitudeMap.records.size(), edited.size());
    EXPECT_TRUE(doc->modified);

    // A cancelled edit records nothing.
    platform.altitudeAnswers = {std::nullopt};
    EXPECT_FALSE(overrideAltitudeCommand(*doc));
    EXPECT_EQ(doc->undoStack.count(), 3u);
}

TEST_F(AltitudeEditsTest, CommandsDoNothingUnlessExactlyOneMapIsEnabled)
{
    clickAt(0.5, 7.0);
    for (int enabledMaps : {0, 2}) {
        doc->altitudeMaps.clear();
        addMap(kRows, enabledMaps >= 1 ? 1 : 0);
        addMap(kRows, enabledMaps >= 2 ? 1 : 0);
        platform.altitudeAnswers = {1, 2};
        EXPECT_FALSE(overrideAltitudeCommand(*doc));
        EXPECT_FALSE(deleteAltitudeRecordCommand(*doc));
        EXPECT_FALSE(insertAltitudeRecordCommand(*doc));
        EXPECT_TRUE(platform.altitudePrompts.empty());
        EXPECT_EQ(doc->altitudeMaps[0]->records, kRows);
        EXPECT_EQ(repaints, 0);
    }
}

TEST_F(AltitudeEditsTest, FoldingOldEditListsKeepsThemInTheRecords)
{
    AltitudeMap map;
    map.records = kRows;
    map.overrides = {{1.0, 7.01, 11}, {40.0, 40.0, 12}};
    map.deletions = {{0.49, 7.49, 0}};
    map.insertions = {{3.0, 3.0, 13}};
    foldPendingEdits(map);
    EXPECT_EQ(map.records, (std::vector<AltitudeRecord>{kRows[0], {1.0, 7.0, 11}, kRows[3], {3.0, 3.0, 13}}));
    EXPECT_TRUE(map.overrides.empty());
    EXPECT_TRUE(map.deletions.empty());
    EXPECT_TRUE(map.insertions.empty());
}

} // namespace

namespace {

// The folding as one scan per edit does it: the reference the search tree must match exactly.
void foldByScanning(AltitudeMap& map)
{
    for (const AltitudeRecord& edit : map.overrides)
        if (const auto index = nearestRecordInWindow(map, edit.latitude, edit.longitude))
            map.records.setAltitude(*index, edit.altitude);
    for (const AltitudeRecord& edit : map.deletions)
        if (const auto index = nearestRecordInWindow(map, edit.latitude, edit.longitude)) {
            auto& records = map.records.edit();
            records.erase(records.begin() + static_cast<std::ptrdiff_t>(*index));
        }
    auto& records = map.records.edit();
    records.insert(records.end(), map.insertions.begin(), map.insertions.end());
}

bool sameRecords(const RecordList& a, const RecordList& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
        if (!same(a[i].latitude, b[i].latitude) || !same(a[i].longitude, b[i].longitude) ||
            a[i].altitude != b[i].altitude)
            return false;
    }
    return true;
}

// Grids (many equal distances), repeated points, far edits, several deletions of one place and
// positions that are not numbers: every fold gives the records a scan per edit gives.
TEST(AltitudeEditsFolding, LongListsFoldExactlyAsOneScanPerEdit)
{
    std::mt19937 random(20261207);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        AltitudeMap map;
        const int columns = 1 + static_cast<int>(random() % 40);
        const int rows = 1 + static_cast<int>(random() % 40);
        const double step = round % 3 == 0 ? 0.25 : round % 3 == 1 ? 0.01 : 1.0 / 1200;
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r)
                map.records.push_back({45.0 + r * step, 7.0 + c * step, c * 100 + r});
        // Repeated points and odd positions in some rounds.
        if (round % 4 == 1)
            for (int i = 0; i < 30; ++i)
                map.records.push_back(map.records[random() % map.records.size()]);
        if (round % 5 == 2) {
            map.records.edit().insert(map.records.edit().begin(), {nan, 7.0, -1});
            map.records.push_back({45.0, nan, -2});
            map.records.push_back({inf, 7.1, -3});
        }
        const auto somewhere = [&] {
            const double lat = 45.0 + static_cast<double>(random() % 4000) / 4000.0 * rows * step * 1.2 - 0.1 * step;
            const double lon = 7.0 + static_cast<double>(random() % 4000) / 4000.0 * columns * step * 1.2 - 0.1 * step;
            // Some edits exactly on records, between them, or far outside any window.
            switch (random() % 6) {
            case 0: return map.records[random() % map.records.size()];
            case 1: return AltitudeRecord{lat, lon + 3.0, 0};
            case 2: return AltitudeRecord{45.0 + (random() % rows + 0.5) * step, 7.0 + (random() % columns + 0.5) * step, 0};
            default: return AltitudeRecord{lat, lon, 0};
            }
        };
        const int edits = static_cast<int>(random() % (map.records.size() + 20));
        for (int i = 0; i < edits; ++i) {
            AltitudeRecord edit = somewhere();
            edit.altitude = 5000 + i;
            (random() % 2 ? map.overrides : map.deletions).push_back(edit);
        }
        if (round % 7 == 3)
            map.deletions.push_back({nan, nan, 0});
        map.insertions = {{1.0, 2.0, 3}};

        AltitudeMap expected = map;
        foldByScanning(expected);
        foldPendingEdits(map);
        EXPECT_TRUE(sameRecords(map.records, expected.records));
        EXPECT_TRUE(map.overrides.empty() && map.deletions.empty() && map.insertions.empty());
    }
}

} // namespace
