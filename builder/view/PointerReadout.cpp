#include "view/PointerReadout.h"

#include <cstdio>

#include "altitude/AltitudeMap.h"
#include "output/Coordinates.h"
#include "output/NearestRecordSearch.h"
#include "project/CDibDoc.h"

NearestAltitudeCache::NearestAltitudeCache() = default;
NearestAltitudeCache::~NearestAltitudeCache() = default;

std::size_t NearestAltitudeCache::nearest(const AltitudeMap& map, double latitude, double longitude)
{
    if (!search_ || map_ != &map || version_ != map.records.version() || size_ != map.records.size()) {
        search_ = std::make_unique<NearestRecordSearch>(map);
        map_ = &map;
        version_ = map.records.version();
        size_ = map.records.size();
    }
    return search_->nearest(latitude, longitude);
}

void NearestAltitudeCache::reset()
{
    search_.reset();
    map_ = nullptr;
}

PointerReadout readPointer(const CDibDoc& doc, const MapTransform& transform, int x, int y, int coordinateFormat,
                           NearestAltitudeCache& cache)
{
    PointerReadout r;
    r.pixelX = transform.pixelXAt(x);
    r.pixelY = transform.pixelYAt(y);
    if (r.pixelX < 0 || r.pixelY < 0)
        return r;
    const GeoRect& b = doc.boundary;
    if (b.hasExtent()) {
        r.latitude = b.south + r.pixelY * (b.north - b.south) / (transform.chunkRows() * 256.0);
        r.longitude = b.west + r.pixelX * (b.east - b.west) / (transform.chunkColumns() * 256.0);
        const auto& records = doc.mainAltitudeMap.records;
        r.altitude = records.empty() ? 0 : records[cache.nearest(doc.mainAltitudeMap, r.latitude, r.longitude)].altitude;
        r.altitudeKnown = true;
        r.longitudeText = formatCoordinate(r.longitude, coordinateFormat);
        r.latitudeText = formatCoordinate(r.latitude, coordinateFormat);
        r.altitudeText = std::to_string(r.altitude) + " m";
    } else {
        r.longitudeText = "UNDEFINED";
        r.latitudeText = "UNDEFINED";
        r.altitudeText = "-";
    }
    r.xText = std::to_string(r.pixelX);
    r.yText = std::to_string(r.pixelY);
    return r;
}

void storePointer(CDibDoc& doc, const PointerReadout& readout)
{
    doc.clickPixelX = readout.pixelX;
    doc.clickPixelY = readout.pixelY;
    doc.clickLatitude = readout.latitude;
    doc.clickLongitude = readout.longitude;
    if (readout.altitudeKnown)
        doc.clickAltitude = readout.altitude;
}
