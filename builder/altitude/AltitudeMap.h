#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "altitude/AltitudeRecord.h"
#include "altitude/RecordList.h"

class CDibDoc;

/// One altitude source (BMP, DTED or TEXT) with its records, or the project's merged main map.
class AltitudeMap {
public:
    AltitudeMap() = default;
    /// Copying takes every field but the title (the copy keeps the default "<no title>").
    AltitudeMap(const AltitudeMap& other);
    AltitudeMap& operator=(const AltitudeMap& other);
    AltitudeMap(AltitudeMap&&) = default;
    AltitudeMap& operator=(AltitudeMap&&) = default;

    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::string title = "<no title>";
    std::int32_t sourceType = 0;      ///< 1 BMP, 2 DTED, 3 TEXT
    RecordList records;
    std::int32_t sourceParam1 = 0;    ///< BMP: highest grey level
    std::int32_t sourceParam2 = 0;    ///< BMP: lowest grey level
    std::int32_t showWater = 0;
    std::int32_t enabled = 1;
    std::int32_t waterLevel = 0;
    std::vector<AltitudeRecord> overrides;   ///< pending edits of old project files
    std::vector<AltitudeRecord> deletions;
    std::vector<AltitudeRecord> insertions;
    CDibDoc* owner = nullptr;         ///< not saved

    // A BMP map between reading and placing holds its image as grey levels (the palette already
    // applied), bottom row first. Not saved and not copied; released once the records are made.
    std::vector<std::uint8_t> imageGrey;
    std::int32_t imageWidth = 0;
    std::int32_t imageHeight = 0;

    /// Largest record altitude; INT32_MIN when empty.
    std::int32_t maxAltitude() const;
    /// Smallest record altitude; INT32_MAX when empty.
    std::int32_t minAltitudeOfRecords() const;
    /// Start at 180 / -180 / 90 / -90 and take the smallest / largest record value.
    double minLongitude() const;
    double maxLongitude() const;
    double minLatitude() const;
    double maxLatitude() const;

    /// Index of the record nearest to (latitude, longitude) by squared degree distance, searching only
    /// records within one degree of longitude; the records must be sorted by ascending longitude.
    /// Ties keep the earlier record. 0 when the map is empty or no record lies in the window.
    std::size_t findNearest(double latitude, double longitude) const;

    /// The same answer for a map in any record order (source maps stored row by row):
    /// the nearest record within one degree of longitude, the earliest on ties, else 0.
    std::size_t findNearestUnsorted(double latitude, double longitude) const;

    /// Sorts the records by ascending longitude, stably (records of equal longitude keep their order).
    void sortByLongitude();
    /// The same order when the records are made of runs (each starting at an entry of
    /// `runStarts`, the first being 0): runs already in order are not sorted again, and the runs
    /// are merged in linear time.
    void sortRunsByLongitude(const std::vector<std::size_t>& runStarts);
};
