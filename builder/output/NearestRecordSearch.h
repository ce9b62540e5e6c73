#pragma once
// The nearest-record search of the source writer and the map read-outs: the same answer as
// AltitudeMap::findNearest for every query, found by binary searches instead of visiting every
// record of the one-degree window.

#include <cstddef>
#include <cstdint>
#include <vector>

class AltitudeMap;

class NearestRecordSearch {
public:
    /// Checks once whether the map's records are sorted by longitude (without NaN longitudes) and
    /// notes where each run of one longitude is ordered by latitude; a map that is not sorted is
    /// searched with findNearest itself. The map must outlive the search and stay unchanged.
    explicit NearestRecordSearch(const AltitudeMap& map);

    /// The index findNearest(latitude, longitude) returns: the record nearest by squared degree
    /// distance within one degree of longitude, the earliest on ties, else 0.
    std::size_t nearest(double latitude, double longitude) const;

private:
    struct Best;
    void searchSegment(std::size_t segment, double dLonSquared, double latitude, Best& best) const;

    const AltitudeMap& map_;
    bool sorted_ = false;
    // Segments: runs of records of one longitude whose latitudes only rise (or only fall);
    // segmentStart_ has one more entry, the record count. A record with a NaN latitude is a
    // segment of its own.
    std::vector<std::size_t> segmentStart_;
    std::vector<std::uint8_t> segmentFalls_;
};
