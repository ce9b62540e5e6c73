#pragma once
// The nearest-record search of the source writer: the same answer as AltitudeMap::findNearest
// for every query, found without visiting every record of the one-degree window.

#include <cstddef>

class AltitudeMap;

class NearestRecordSearch {
public:
    /// Checks once whether the map's records are sorted by longitude (without NaN longitudes);
    /// a map that is not is searched with findNearest itself. The map must outlive the search.
    explicit NearestRecordSearch(const AltitudeMap& map);

    /// The index findNearest(latitude, longitude) returns: the record nearest by squared degree
    /// distance within one degree of longitude, the earliest on ties, else 0.
    std::size_t nearest(double latitude, double longitude) const;

private:
    const AltitudeMap& map_;
    bool sorted_ = false;
};
