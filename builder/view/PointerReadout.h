#pragma once
// What the pointer is over: the bitmap pixel, the map position, the altitude of the nearest
// altitude record, and the five texts of the cursor-position bar.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "view/MapTransform.h"

class AltitudeMap;
class CDibDoc;
class NearestRecordSearch;

struct PointerReadout {
    std::int32_t pixelX = -1;
    std::int32_t pixelY = -1;
    double latitude = std::numeric_limits<double>::max();    ///< the largest double: no position
    double longitude = std::numeric_limits<double>::max();
    std::int32_t altitude = 0;
    bool altitudeKnown = false;   ///< false: clickAltitude keeps its value
    std::string longitudeText = "N/A";
    std::string latitudeText = "N/A";
    std::string altitudeText = "N/A";
    std::string xText = "OUT OF BOUNDS";
    std::string yText = "OUT OF BOUNDS";

    bool hasPosition() const
    {
        return latitude != std::numeric_limits<double>::max() && longitude != std::numeric_limits<double>::max();
    }
};

/// The nearest-record search of the project's main map, kept between pointer moves and made
/// again whenever the map's records may have changed (a merge, an edit).
class NearestAltitudeCache {
public:
    NearestAltitudeCache();
    ~NearestAltitudeCache();
    NearestAltitudeCache(const NearestAltitudeCache&) = delete;
    NearestAltitudeCache& operator=(const NearestAltitudeCache&) = delete;

    /// The index findNearest gives for the map.
    std::size_t nearest(const AltitudeMap& map, double latitude, double longitude);
    /// Forgets the search (the map may have been rebuilt in place).
    void reset();

private:
    std::unique_ptr<NearestRecordSearch> search_;
    const AltitudeMap* map_ = nullptr;
    std::uint64_t version_ = 0;
    std::size_t size_ = 0;
};

/// The read-outs for the view point (x, y) under `transform`. `coordinateFormat` is the setting
/// (1 d:m:s, 0 decimal).
PointerReadout readPointer(const CDibDoc& doc, const MapTransform& transform, int x, int y, int coordinateFormat,
                           NearestAltitudeCache& cache);

/// Writes the pixel, position and altitude into the project's click fields.
void storePointer(CDibDoc& doc, const PointerReadout& readout);
