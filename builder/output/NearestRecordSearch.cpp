#include "output/NearestRecordSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "altitude/AltitudeMap.h"

// The distance is computed exactly as findNearest does; the smaller distance wins and equal
// distances go to the earlier record, so the answer is the same index.
struct NearestRecordSearch::Best {
    double distance = std::numeric_limits<double>::max();
    std::size_t index = 0;
    bool found = false;

    void consider(double d, std::size_t i)
    {
        if (d < distance || (found && d == distance && i < index)) {
            distance = d;
            index = i;
            found = true;
        }
    }
};

NearestRecordSearch::NearestRecordSearch(const AltitudeMap& map) : map_(map)
{
    const auto& records = map.records;
    sorted_ = std::none_of(records.begin(), records.end(),
                           [](const AltitudeRecord& r) { return std::isnan(r.longitude); }) &&
              std::is_sorted(records.begin(), records.end(),
                             [](const AltitudeRecord& a, const AltitudeRecord& b) { return a.longitude < b.longitude; });
    if (!sorted_)
        return;

    const std::size_t n = records.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t start = i;
        segmentStart_.push_back(start);
        int direction = 0;   // 0 while every latitude so far is equal, then +1 rising or -1 falling
        ++i;
        if (!std::isnan(records[start].latitude)) {
            for (; i < n && records[i].longitude == records[start].longitude; ++i) {
                const double previous = records[i - 1].latitude;
                const double latitude = records[i].latitude;
                if (std::isnan(latitude))
                    break;
                const int step = latitude > previous ? 1 : latitude < previous ? -1 : 0;
                if (step == 0)
                    continue;
                if (direction == 0)
                    direction = step;
                else if (step != direction)
                    break;
            }
        }
        segmentFalls_.push_back(direction < 0 ? 1 : 0);
    }
    segmentStart_.push_back(n);
}

void NearestRecordSearch::searchSegment(std::size_t segment, double dLonSquared, double latitude, Best& best) const
{
    const auto& records = map_.records;
    const std::size_t b = segmentStart_[segment];
    const std::size_t e = segmentStart_[segment + 1];
    auto distance = [&](std::size_t i) {
        const double dLat = records[i].latitude - latitude;
        return dLonSquared + dLat * dLat;
    };
    if (e - b == 1) {
        best.consider(distance(b), b);
        return;
    }
    // Along a segment the latitude moves monotonically, so (rounding being monotonic too) the
    // distance never rises before the query's latitude is passed and never falls after it.
    // c: the first record at or past the query's latitude.
    const bool falls = segmentFalls_[segment] != 0;
    const auto begin = records.begin();
    const auto cross = std::partition_point(begin + static_cast<std::ptrdiff_t>(b), begin + static_cast<std::ptrdiff_t>(e),
                                            [&](const AltitudeRecord& r) {
                                                return falls ? r.latitude > latitude : r.latitude < latitude;
                                            });
    const std::size_t c = static_cast<std::size_t>(cross - begin);
    if (c < e)
        best.consider(distance(c), c);   // the smallest distance after, and its earliest record
    if (c > b) {
        // The smallest distance before is that of c - 1; its earliest record is the first whose
        // distance has come down to it.
        const double low = distance(c - 1);
        std::size_t lo = b, hi = c - 1;
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (distance(mid) <= low)
                hi = mid;
            else
                lo = mid + 1;
        }
        best.consider(low, lo);
    }
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
    // The window's ends and the pivot lie between longitudes, so on segment starts.
    auto segmentAt = [this](std::size_t index) {
        return static_cast<std::size_t>(std::lower_bound(segmentStart_.begin(), segmentStart_.end(), index) -
                                        segmentStart_.begin());
    };
    const std::size_t firstSegment = segmentAt(static_cast<std::size_t>(first - begin));
    const std::size_t endSegment = segmentAt(static_cast<std::size_t>(end - begin));
    const std::size_t pivotSegment = segmentAt(static_cast<std::size_t>(pivot - begin));

    // Walk outwards from the query's longitude. The squared longitude difference only grows on
    // either side and a distance is never below it, so a side ends once that alone exceeds the
    // best distance.
    Best best;
    for (std::size_t s = pivotSegment; s < endSegment; ++s) {
        const double dLon = records[segmentStart_[s]].longitude - longitude;
        if (dLon * dLon > best.distance)
            break;
        searchSegment(s, dLon * dLon, latitude, best);
    }
    for (std::size_t s = pivotSegment; s > firstSegment;) {
        --s;
        const double dLon = records[segmentStart_[s]].longitude - longitude;
        if (dLon * dLon > best.distance)
            break;
        searchSegment(s, dLon * dLon, latitude, best);
    }
    return best.index;
}
