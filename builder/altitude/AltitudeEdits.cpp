#include "altitude/AltitudeEdits.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeMerge.h"
#include "altitude/RecordPointTree.h"
#include "project/AppContext.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"
#include "project/SnapshotEdit.h"

std::optional<std::size_t> nearestRecordInWindow(const AltitudeMap& map, double latitude, double longitude)
{
    if (map.records.empty())
        return std::nullopt;
    const std::size_t index = map.findNearestUnsorted(latitude, longitude);
    const double found = map.records[index].longitude;
    // findNearestUnsorted answers 0 when the window is empty; only a record inside it counts.
    if (!(found >= longitude - 1.0 && found <= longitude + 1.0))
        return std::nullopt;
    return index;
}

bool overrideRecord(AltitudeMap& map)
{
    if (!map.owner)
        return false;
    CDibDoc& doc = *map.owner;
    const std::optional<std::int32_t> altitude = doc.app.platform.adjustAltitude(doc.clickAltitude);
    if (!altitude)
        return false;
    const auto index = nearestRecordInWindow(map, doc.clickLatitude, doc.clickLongitude);
    if (!index)
        return false;
    map.records.setAltitude(*index, *altitude);
    return true;
}

bool deleteRecord(AltitudeMap& map)
{
    if (!map.owner)
        return false;
    const auto index = nearestRecordInWindow(map, map.owner->clickLatitude, map.owner->clickLongitude);
    if (!index)
        return false;
    auto& records = map.records.edit();
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

bool insertRecord(AltitudeMap& map)
{
    if (!map.owner)
        return false;
    CDibDoc& doc = *map.owner;
    // Until the view has picked a position the click fields hold no place on Earth.
    if (!(std::fabs(doc.clickLatitude) <= 90.0 && std::fabs(doc.clickLongitude) <= 180.0))
        return false;
    const std::optional<std::int32_t> altitude = doc.app.platform.adjustAltitude(doc.clickAltitude);
    if (!altitude)
        return false;
    map.records.push_back({doc.clickLatitude, doc.clickLongitude, *altitude});
    return true;
}

namespace {

// The records of one source map, for undoing a record edit; the main map is merged again.
struct MapRecords {
    std::size_t index = 0;
    RecordList records;
};

void restoreMapRecords(CDibDoc& doc, const MapRecords& state)
{
    if (state.index >= doc.altitudeMaps.size())
        return;
    doc.altitudeMaps[state.index]->records = state.records;
    mergeAltitudeMaps(doc);
    doc.repaintViews();
}

bool runOnEditableMap(CDibDoc& doc, const char* text, bool (*operation)(AltitudeMap&))
{
    const int index = selectEditableMap(doc);
    if (index < 0)
        return false;
    const auto at = static_cast<std::size_t>(index);
    AltitudeMap& map = *doc.altitudeMaps[at];
    map.owner = &doc;
    const bool changed = recordEdit<MapRecords>(
        doc, text, [at](const CDibDoc& d) { return MapRecords{at, d.altitudeMaps[at]->records}; }, restoreMapRecords,
        [&] {
            if (!operation(map))
                return false;
            mergeAltitudeMaps(doc);
            return true;
        });
    if (changed)
        doc.repaintViews();
    return changed;
}

} // namespace

bool overrideAltitudeCommand(CDibDoc& doc) { return runOnEditableMap(doc, "Override Altitude", overrideRecord); }
bool deleteAltitudeRecordCommand(CDibDoc& doc) { return runOnEditableMap(doc, "Delete Altitude Record", deleteRecord); }
bool insertAltitudeRecordCommand(CDibDoc& doc) { return runOnEditableMap(doc, "Insert Altitude Record", insertRecord); }

void foldPendingEdits(AltitudeMap& map)
{
    // One search tree for all edits: the same records as one scan per edit would find, without
    // the scan's time growing with the product of the list and the map.
    if (!map.overrides.empty() || !map.deletions.empty()) {
        RecordPointTree tree(map.records);
        // Overrides move nothing, so every one searches the same records.
        for (const AltitudeRecord& edit : map.overrides)
            if (const auto index = tree.nearest(edit.latitude, edit.longitude))
                map.records.setAltitude(*index, edit.altitude);
        // Each deletion searches the records the earlier ones left; they go in one pass at the end.
        std::vector<std::uint8_t> deleted(map.records.size(), 0);
        bool any = false;
        for (const AltitudeRecord& edit : map.deletions)
            if (const auto index = tree.nearest(edit.latitude, edit.longitude)) {
                tree.remove(*index);
                deleted[*index] = 1;
                any = true;
            }
        if (any) {
            auto& records = map.records.edit();
            std::size_t kept = 0;
            for (std::size_t i = 0; i < records.size(); ++i)
                if (!deleted[i])
                    records[kept++] = records[i];
            records.resize(kept);
        }
    }
    if (!map.insertions.empty()) {
        auto& records = map.records.edit();
        records.insert(records.end(), map.insertions.begin(), map.insertions.end());
    }
    map.overrides.clear();
    map.deletions.clear();
    map.insertions.clear();
}
