#pragma once
// A k-d tree over the positions of a map's records, for folding long edit lists: each search
// gives exactly the record a full scan in record order would give (the smallest squared degree
// distance within one degree of longitude, the earliest record on ties), in logarithmic time,
// and found records can be taken out one by one.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "altitude/AltitudeRecord.h"
#include "altitude/RecordList.h"

class RecordPointTree {
public:
    explicit RecordPointTree(const RecordList& records);

    /// Index (into the records given at construction) of the remaining record a scan would
    /// choose for (latitude, longitude), or nothing when it would find no record in the window.
    std::optional<std::size_t> nearest(double latitude, double longitude) const;
    /// Takes a record out of later searches.
    void remove(std::size_t index);

private:
    struct Node {
        double minLat, maxLat, minLon, maxLon;   // of the live points below
        std::uint32_t begin, end;                // range in order_
        std::uint32_t left = 0, right = 0;       // child nodes; 0 for a leaf
        std::uint32_t parent = 0;                // 0 for the root
        std::uint32_t alive = 0;
    };
    struct Best {
        double distance;
        std::size_t index;
        bool found = false;
    };

    std::uint32_t build(std::uint32_t begin, std::uint32_t end, int depth, std::uint32_t parent);
    void search(std::uint32_t node, double latitude, double longitude, Best& best) const;
    std::optional<std::size_t> scanFallback(double latitude, double longitude) const;

    const RecordList& records_;
    std::vector<std::uint32_t> order_;   // record indices, grouped by node
    std::vector<Node> nodes_;
    std::vector<std::uint8_t> removed_;
    std::vector<std::uint32_t> leafOf_;   // leaf node of each record; 0 when not in the tree
    std::size_t firstRemaining_ = 0;
};
