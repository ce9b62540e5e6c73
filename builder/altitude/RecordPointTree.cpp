#include "altitude/RecordPointTree.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::uint32_t kLeafSize = 16;

// The distance exactly as the scan computes it. Rounding is monotonic, so the same formula on
// a box edge never exceeds the value for any point inside the box.
double squaredDistance(double latitude, double longitude, double recordLatitude, double recordLongitude)
{
    const double dLon = recordLongitude - longitude;
    const double dLat = recordLatitude - latitude;
    return dLon * dLon + dLat * dLat;
}

double clampTo(double value, double low, double high)
{
    return value < low ? low : value > high ? high : value;
}

} // namespace

RecordPointTree::RecordPointTree(const RecordList& records)
    : records_(records), removed_(records.size(), 0), leafOf_(records.size(), 0)
{
    // Records whose position is not a finite number are never the answer of a search.
    for (std::size_t i = 0; i < records.size(); ++i)
        if (std::isfinite(records[i].latitude) && std::isfinite(records[i].longitude))
            order_.push_back(static_cast<std::uint32_t>(i));
    nodes_.reserve(2 * (order_.size() / kLeafSize + 1) + 1);
    nodes_.push_back(Node{});   // index 0 stands for "no child"
    if (!order_.empty())
        build(0, static_cast<std::uint32_t>(order_.size()), 0, 0);
}

std::uint32_t RecordPointTree::build(std::uint32_t begin, std::uint32_t end, int depth, std::uint32_t parent)
{
    const auto at = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(Node{});
    Node node{};
    node.begin = begin;
    node.end = end;
    node.alive = end - begin;
    node.parent = parent;
    node.minLat = node.minLon = std::numeric_limits<double>::infinity();
    node.maxLat = node.maxLon = -std::numeric_limits<double>::infinity();
    for (std::uint32_t i = begin; i < end; ++i) {
        const AltitudeRecord& r = records_[order_[i]];
        node.minLat = std::min(node.minLat, r.latitude);
        node.maxLat = std::max(node.maxLat, r.latitude);
        node.minLon = std::min(node.minLon, r.longitude);
        node.maxLon = std::max(node.maxLon, r.longitude);
    }
    if (end - begin > kLeafSize) {
        const std::uint32_t middle = begin + (end - begin) / 2;
        const bool byLongitude = depth % 2 == 0;
        std::nth_element(order_.begin() + begin, order_.begin() + middle, order_.begin() + end,
                         [&](std::uint32_t a, std::uint32_t b) {
                             return byLongitude ? records_[a].longitude < records_[b].longitude
                                                : records_[a].latitude < records_[b].latitude;
                         });
        node.left = build(begin, middle, depth + 1, at);
        node.right = build(middle, end, depth + 1, at);
    } else {
        for (std::uint32_t i = begin; i < end; ++i)
            leafOf_[order_[i]] = at;
    }
    nodes_[at] = node;
    return at;
}

void RecordPointTree::search(std::uint32_t at, double latitude, double longitude, Best& best) const
{
    const Node& node = nodes_[at];
    if (node.alive == 0)
        return;
    // The window test of the scan: a record counts when longitude - 1 <= its longitude <= longitude + 1.
    if (node.maxLon < longitude - 1.0 || node.minLon > longitude + 1.0)
        return;
    const double bound = squaredDistance(latitude, longitude, clampTo(latitude, node.minLat, node.maxLat),
                                         clampTo(longitude, node.minLon, node.maxLon));
    // Equal distances are still searched: an earlier record wins a tie.
    if (best.found && bound > best.distance)
        return;
    if (node.left == 0) {
        for (std::uint32_t i = node.begin; i < node.end; ++i) {
            const std::size_t index = order_[i];
            if (removed_[index])
                continue;
            const AltitudeRecord& r = records_[index];
            if (r.longitude < longitude - 1.0 || r.longitude > longitude + 1.0)
                continue;
            const double d = squaredDistance(latitude, longitude, r.latitude, r.longitude);
            // The scan starts at the largest double and takes only smaller distances.
            if (!(d < std::numeric_limits<double>::max()))
                continue;
            if (!best.found || d < best.distance || (d == best.distance && index < best.index))
                best = {d, index, true};
        }
        return;
    }
    // The nearer child first, so the other is usually cut off.
    const Node& left = nodes_[node.left];
    const bool leftFirst =
        squaredDistance(latitude, longitude, clampTo(latitude, left.minLat, left.maxLat),
                        clampTo(longitude, left.minLon, left.maxLon)) <= bound;
    search(leftFirst ? node.left : node.right, latitude, longitude, best);
    search(leftFirst ? node.right : node.left, latitude, longitude, best);
}

std::optional<std::size_t> RecordPointTree::scanFallback(double latitude, double longitude) const
{
    // Without a finite distance the scan answers its first remaining record, which counts only
    // when it lies in the window.
    if (firstRemaining_ >= records_.size())
        return std::nullopt;
    const double found = records_[firstRemaining_].longitude;
    if (!(found >= longitude - 1.0 && found <= longitude + 1.0))
        return std::nullopt;
    (void)latitude;
    return firstRemaining_;
}

std::optional<std::size_t> RecordPointTree::nearest(double latitude, double longitude) const
{
    Best best{0.0, 0, false};
    if (std::isfinite(latitude) && std::isfinite(longitude) && order_.size() > 0)
        search(1, latitude, longitude, best);
    if (best.found)
        return best.index;
    return scanFallback(latitude, longitude);
}

void RecordPointTree::remove(std::size_t index)
{
    if (index >= records_.size() || removed_[index])
        return;
    removed_[index] = 1;
    for (std::uint32_t at = leafOf_[index]; at != 0; at = nodes_[at].parent)
        --nodes_[at].alive;
    while (firstRemaining_ < records_.size() && removed_[firstRemaining_])
        ++firstRemaining_;
}
