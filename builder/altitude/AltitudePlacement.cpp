#include "altitude/AltitudePlacement.h"

#include "altitude/AltitudeMap.h"

bool placeRecordsOverArea(AltitudeMap& map, const GeoRect& area)
{
    if (map.columns <= 0 || map.rows <= 0 ||
        map.records.size() != static_cast<std::size_t>(map.columns) * static_cast<std::size_t>(map.rows))
        return false;
    const double latitudeStep = map.rows > 1 ? (area.north - area.south) / (map.rows - 1) : 0.0;
    const double longitudeStep = map.columns > 1 ? (area.east - area.west) / (map.columns - 1) : 0.0;
    auto& records = map.records.edit();
    std::size_t next = 0;
    for (std::int32_t r = 0; r < map.rows; ++r) {
        for (std::int32_t c = 0; c < map.columns; ++c, ++next) {
            records[next].latitude = area.south + r * latitudeStep;
            records[next].longitude = area.west + c * longitudeStep;
        }
    }
    map.records.pack();
    return true;
}
