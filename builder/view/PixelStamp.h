#pragma once
// A small one-colour mark (an altitude label) as rows of bits, to be ORed into a PixelMask.

#include <cstdint>
#include <utility>
#include <vector>

struct PixelStamp {
    int left = 0;     ///< offset of the first column from the mark's point
    int top = 0;      ///< offset of the first row from the mark's point
    int width = 0;
    int height = 0;
    int words = 0;    ///< 64-bit words per row
    std::vector<std::uint64_t> bits;   ///< height rows of `words` words, bit i of word k is column 64k + i

    /// The stamp that sets exactly these pixels, given as (dx, dy) offsets from the point.
    static PixelStamp fromOffsets(const std::vector<std::pair<int, int>>& offsets);
    /// The cross of an altitude record: its row from -arm to arm and its column from -arm to arm.
    static PixelStamp cross(int arm);
    bool empty() const { return width == 0; }
    bool operator==(const PixelStamp&) const = default;
};
