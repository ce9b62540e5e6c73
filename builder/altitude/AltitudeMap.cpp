#include "altitude/AltitudeMap.h"

#include <algorithm>
#include <limits>

AltitudeMap::AltitudeMap(const AltitudeMap& other)
{
    *this = other;
}

AltitudeMap& AltitudeMap::operator=(const AltitudeMap& other)
{
    if (this == &other)
        return *this;
    columns = other.columns;
    rows = other.rows;
    sourceType = other.sourceType;
    records = other.records;
    enabled = other.enabled;
    sourceParam1 = other.sourceParam1;
    sourceParam2 = other.sourceParam2;
    showWater = other.showWater;
    waterLevel = other.waterLevel;
    overrides = other.overrides;
    deletions = other.deletions;
    insertions = other.insertions;
    owner = other.owner;
    return *this;
}

std::int32_t AltitudeMap::maxAltitude() const
{
    std::int32_t result = std::numeric_limits<std::int32_t>::min();
    for (const AltitudeRecord& r : records)
        result = std::max(result, r.altitude);
    return result;
}

std::int32_t AltitudeMap::minAltitudeOfRecords() const
{
    std::int32_t result = std::numeric_limits<std::int32_t>::max();
    for (const AltitudeRecord& r : records)
        result = std::min(result, r.altitude);
    return result;
}

double AltitudeMap::minLongitude() const
{
    double result = 180.0;
    for (const AltitudeRecord& r : records)
        result = std::min(result, r.longitude);
    return result;
}

double AltitudeMap::maxLongitude() const
{
    double result = -180.0;
    for (const AltitudeRecord& r : records)
        result = std::max(result, r.longitude);
    return result;
}

double AltitudeMap::minLatitude() const
{
    double result = 90.0;
    for (const AltitudeRecord& r : records)
        result = std::min(result, r.latitude);
    return result;
}

double AltitudeMap::maxLatitude() const
{
    double result = -90.0;
    for (const AltitudeRecord& r : records)
        result = std::max(result, r.latitude);
    return result;
}

std::size_t AltitudeMap::findNearest(double latitude, double longitude) const
{
    if (records.empty())
        return 0;
    double best = std::numeric_limits<double>::max();
    std::size_t result = 0;
    const double low = longitude - 1.0;
    const double high = longitude + 1.0;
    // First record not west of the window.
    std::size_t first = 0;
    std::size_t count = records.size();
    while (count > 0) {
        const std::size_t half = count / 2;
        if (records.longitudeAt(first + half) < low) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    for (std::size_t i = first; i < records.size(); ++i) {
        const AltitudeRecord r = records[i];
        if (!(r.longitude <= high))
            break;
        const double dLon = r.longitude - longitude;
        const double dLat = r.latitude - latitude;
        const double d = dLon * dLon + dLat * dLat;
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

std::size_t AltitudeMap::findNearestUnsorted(double latitude, double longitude) const
{
    double best = std::numeric_limits<double>::max();
    std::size_t result = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const AltitudeRecord r = records[i];
        if (r.longitude < longitude - 1.0 || r.longitude > longitude + 1.0)
            continue;
        const double dLon = r.longitude - longitude;
        const double dLat = r.latitude - latitude;
        const double d = dLon * dLon + dLat * dLat;
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

namespace {
bool westOf(const AltitudeRecord& a, const AltitudeRecord& b)
{
    return a.longitude < b.longitude;
}
} // namespace

void AltitudeMap::sortByLongitude()
{
    auto& plain = records.edit();
    std::stable_sort(plain.begin(), plain.end(), westOf);
}

void AltitudeMap::sortRunsByLongitude(const std::vector<std::size_t>& runStarts)
{
    // Sorted already (the usual case: grid readers deliver sorted runs): nothing to do, and a
    // packed or shared list stays as it is.
    bool sorted = true;
    for (std::size_t i = 1; i < records.size() && sorted; ++i)
        sorted = !(records.longitudeAt(i) < records.longitudeAt(i - 1));
    if (sorted)
        return;
    // A stable sort of the whole equals stably sorted runs merged in order, since a stable merge
    // puts the earlier run first on equal longitudes.
    auto& plain = records.edit();
    const auto at = [&plain](std::size_t index) { return plain.begin() + static_cast<std::ptrdiff_t>(index); };
    for (std::size_t r = 0; r < runStarts.size(); ++r) {
        const std::size_t end = r + 1 < runStarts.size() ? runStarts[r + 1] : plain.size();
        if (!std::is_sorted(at(runStarts[r]), at(end), westOf))
            std::stable_sort(at(runStarts[r]), at(end), westOf);
        if (runStarts[r] > 0 && runStarts[r] < end && westOf(*at(runStarts[r]), *at(runStarts[r] - 1)))
            std::inplace_merge(plain.begin(), at(runStarts[r]), at(end), westOf);
    }
}
