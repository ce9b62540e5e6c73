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
} // namespace

bool mergeAltitudeMaps(CDibDoc& doc)
{
    AltitudeMap& main = doc.mainAltitudeMap;
    main.records.clear();
    main.owner = &doc;
    std::size_t total = 0;
    for (const auto& mapPointer : doc.altitudeMaps)
        if (mapPointer->enabled == 1)
            total += mapPointer->records.size() + mapPointer->insertions.size();
    reserveRecords(main.records, total);
    // Where each map's records begin, so the sort can merge the maps' runs; deletions move
    // records across runs, and then the whole is sorted.
    std::vector<std::size_t> runStarts;
    bool deleted = false;

    auto progress = doc.app.platform.createProgress("Preparing Altitude Maps...");
    progress->SetRange(0, static_cast<int>(doc.altitudeMaps.size()));
    progress->SetStep(1);

    for (const auto& mapPointer : doc.altitudeMaps) {
        AltitudeMap& map = *mapPointer;
        if (map.enabled != 1)
            continue;
        progress->SetStatus("Adding map " + map.title);
        runStarts.push_back(main.records.size());
        deleted = deleted || !map.deletions.empty();

        // Overrides change the source map before its records are taken, so a second merge finds
        // the same records and the main map comes out the same.
        for (const AltitudeRecord& edit : map.overrides)
            if (const auto index = nearestRecordInWindow(map, edit.latitude, edit.longitude))
                map.records[*index].altitude = edit.altitude;

        for (const AltitudeRecord& record : map.records)
            if (hasPosition(record))
                main.records.push_back(record);

        // The main map is not sorted yet: search it in any order.
        for (const AltitudeRecord& edit : map.deletions)
            if (const auto index = nearestRecordInWindow(main, edit.latitude, edit.longitude))
                main.records.erase(main.records.begin() + static_cast<std::ptrdiff_t>(*index));

        for (const AltitudeRecord& record : map.insertions)
            if (hasPosition(record))
                main.records.push_back(record);
        progress->StepIt();
    }

    if (deleted)
        main.sortByLongitude();
    else
        main.sortRunsByLongitude(runStarts);
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
