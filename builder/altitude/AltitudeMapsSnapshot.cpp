#include "altitude/AltitudeMapsSnapshot.h"

#include <memory>

#include "project/CDibDoc.h"
#include "project/SnapshotEdit.h"

namespace {
bool sameMap(const AltitudeMap& a, const std::string& titleA, const AltitudeMap& b)
{
    return titleA == b.title && a.columns == b.columns && a.rows == b.rows && a.sourceType == b.sourceType &&
           a.sourceParam1 == b.sourceParam1 && a.sourceParam2 == b.sourceParam2 && a.showWater == b.showWater &&
           a.enabled == b.enabled && a.waterLevel == b.waterLevel && a.records == b.records &&
           a.overrides == b.overrides && a.deletions == b.deletions && a.insertions == b.insertions;
}
} // namespace

AltitudeMapsSnapshot AltitudeMapsSnapshot::of(const CDibDoc& doc)
{
    AltitudeMapsSnapshot s;
    s.maps.reserve(doc.altitudeMaps.size());
    for (const auto& map : doc.altitudeMaps) {
        s.maps.push_back(*map);
        s.titles.push_back(map->title);
    }
    s.main = doc.mainAltitudeMap;
    s.main.title = doc.mainAltitudeMap.title;
    return s;
}

void AltitudeMapsSnapshot::restore(CDibDoc& doc) const
{
    doc.altitudeMaps.clear();
    for (std::size_t i = 0; i < maps.size(); ++i) {
        auto map = std::make_unique<AltitudeMap>(maps[i]);
        map->title = titles[i];
        map->owner = &doc;
        doc.altitudeMaps.push_back(std::move(map));
    }
    const std::string mainTitle = main.title;
    doc.mainAltitudeMap = main;
    doc.mainAltitudeMap.title = mainTitle;
    doc.repaintViews();
}

bool AltitudeMapsSnapshot::sameAs(const CDibDoc& doc) const
{
    if (maps.size() != doc.altitudeMaps.size() || !sameMap(main, main.title, doc.mainAltitudeMap))
        return false;
    for (std::size_t i = 0; i < maps.size(); ++i)
        if (!sameMap(maps[i], titles[i], *doc.altitudeMaps[i]))
            return false;
    return true;
}

bool recordAltitudeMapsEdit(CDibDoc& doc, const std::string& text, AltitudeMapsSnapshot before)
{
    if (before.sameAs(doc))
        return false;
    doc.undoStack.push(std::make_unique<SnapshotEdit<AltitudeMapsSnapshot>>(
        text, std::move(before), AltitudeMapsSnapshot::of(doc),
        [](CDibDoc& d, const AltitudeMapsSnapshot& s) { s.restore(d); }));
    doc.modifiedFollowsHistory();
    return true;
}
