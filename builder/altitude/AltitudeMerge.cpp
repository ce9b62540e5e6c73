#include "altitude/AltitudeMerge.h"

#include <cmath>

#include "altitude/AltitudeEdits.h"
#include "altitude/RecordReserve.h"
#include "project/AppContext.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"

namespace {
// A record without a finite position can be neither located nor ordered by longitude.
bool hasPosition(const AltitudeRecord& record)
{
    return std::isfinite(record.latitude) && std::isfinite(record.longitude);
}

// Whether the map alone makes the main map as it is: every record placed and nothing to delete
// or insert. The main map then shares its records instead of copying them.
bool takenWhole(const AltitudeMap& map)
{
    if (!map.deletions.empty() || !map.insertions.empty())
        return false;
    for (std::size_t i = 0; i < map.records.size(); ++i)
        if (!std::isfinite(map.records.latitudeAt(i)) || !std::isfinite(map.records.longitudeAt(i)))
            return false;
    return true;
}
} // namespace

bool mergeAltitudeMaps(CDibDoc& doc)
{
    AltitudeMap& main = doc.mainAltitudeMap;
    // Drops the main map's hold on the sources' records, so overrides change them in place.
    main.records.clear();
    main.owner = &doc;
    std::size_t total = 0;
    std::size_t enabledMaps = 0;
    for (const auto& mapPointer : doc.altitudeMaps)
        if (mapPointer->enabled == 1) {
            total += mapPointer->records.size() + mapPointer->insertions.size();
            ++enabledMaps;
        }
    // Where each map's records begin, so the sort can merge the maps' runs; deletions move
    // records across runs, and then the whole is sorted.
    std::vector<std::size_t> runStarts;
    bool deleted = false;
    const AltitudeMap* sharedWith = nullptr;

    auto progress = doc.app.platform.createProgress("Preparing Altitude Maps...");
    progress->SetRange(0, static_cast<int>(doc.altitudeMaps.size()));
    progress->SetStep(1);

    for (const auto& mapPointer : doc.altitudeMaps) {
        AltitudeMap& map = *mapPointer;
        if (map.enabled != 1)
            continue;
        progress->SetStatus("Adding map " + map.title);

        // Overrides change the source map before its records are taken, so a second merge finds
        // the same records and the main map comes out the same.
        for (const AltitudeRecord& edit : map.overrides)
            if (const auto index = nearestRecordInWindow(map, edit.latitude, edit.longitude))
                map.records.setAltitude(*index, edit.altitude);

        if (enabledMaps == 1 && takenWhole(map)) {
            main.records = map.records;
            sharedWith = &map;
            runStarts.push_back(0);
            progress->StepIt();
            continue;
        }
        std::vector<AltitudeRecord>& merged = main.records.edit();
        if (merged.capacity() == 0)
            reserveRecords(merged, total);
        runStarts.push_back(merged.size());
        deleted = deleted || !map.deletions.empty();

        for (const AltitudeRecord& record : map.records)
            if (hasPosition(record))
                merged.push_back(record);

        // The main map is not sorted yet: search it in any order.
        for (const AltitudeRecord& edit : map.deletions)
            if (const auto index = nearestRecordInWindow(main, edit.latitude, edit.longitude))
                merged.erase(merged.begin() + static_cast<std::ptrdiff_t>(*index));

        for (const AltitudeRecord& record : map.insertions)
            if (hasPosition(record))
                merged.push_back(record);
        progress->StepIt();
    }

    if (deleted)
        main.sortByLongitude();
    else
        main.sortRunsByLongitude(runStarts);
    // A main map of its own (not shared with its source: several maps, or one the sort had to
    // copy) is packed when the positions allow.
    if (!sharedWith || !main.records.sharesStorageWith(sharedWith->records))
        main.records.pack();
    return true;
}

int selectEditableMap(const CDibDoc& doc)
{
    int found = -2;
    for (std::size_t i = 0; i < doc.altitudeMaps.size(); ++i) {
        if (doc.altitudeMaps[i]->enabled != 1)
            continue;
        if (found >= 0)
            return -1;
        found = static_cast<int>(i);
    }
    return found;
}
