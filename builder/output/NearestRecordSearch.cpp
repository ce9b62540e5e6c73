#include "output/NearestRecordSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "altitude/AltitudeMap.h"

NearestRecordSearch::NearestRecordSearch(const AltitudeMap& map) : map_(map)
{
    const auto& records = map.records;
    sorted_ = std::none_of(records.begin(), records.end(),
                           [](const AltitudeRecord& r) { return std::isnan(r.longitude); }) &&
              std::is_sorted(records.begin(), records.end(),
                             [](const AltitudeRecord& a, const AltitudeRecord& b) { return a.longitude < b.longitude; });
}

std::size_t NearestRecordSearch::nearest(double latitude, double longitude) const
{
    const auto& records = map_.records;
    if (!sorted_ || !std::isfinite(latitude) || !std::isfinite(longitude))
        return map_.findNearest(latitude, longitude);
    if (records.empty())
        return 0;

    auto byLongitude = [](const AltitudeRecord& r, double value) { return r.longitude < value; };
    const auto begin = records.begin();
    const auto first = std::lower_bound(begin, records.end(), longitude - 1.0, byLongitude);
    const auto end = std::upper_bound(first, records.end(), longitude + 1.0,
                                      [](double value, const AltitudeRecord& r) { return value < r.longitude; });
    if (first >= end)
        return 0;
    const auto pivot = std::lower_bound(first, end, longitude, byLongitude);

    // Walk outwards from the query's longitude. The squared longitude difference only grows on
    // either side and a distance is never below it, so a side ends once that alone exceeds the
    // best distance. The distance is computed exactly as findNearest does, and equal distances
    // go to the earlier record, so the answer is the same index.
    double best = std::numeric_limits<double>::max();
    std::size_t result = 0;
    bool found = false;
    auto consider = [&](std::vector<AltitudeRecord>::const_iterator it) {
        const double dLon = it->longitude - longitude;
        if (dLon * dLon > best)
            return false;
        const double dLat = it->latitude - latitude;
        const double d = dLon * dLon + dLat * dLat;
        const std::size_t index = static_cast<std::size_t>(it - begin);
        if (d < best || (found && d == best && index < result)) {
            best = d;
            result = index;
            found = true;
        }
        return true;
    };
    for (auto it = pivot; it != end; ++it)
        if (!consider(it))
            break;
    for (auto it = pivot; it != first;) {
        --it;
        if (!consider(it))
            break;
    }
    return result;
}
