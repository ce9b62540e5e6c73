#include "import/NearestEntryTable.h"

#include <algorithm>
#include <limits>

namespace {
std::array<bool, 256> allUsable()
{
    std::array<bool, 256> usable{};
    usable.fill(true);
    return usable;
}

int sq(int v) { return v * v; }

// Squared distance from v to the closed interval [lo, hi] along one axis, and to its far end.
int nearAxis(int v, int lo, int hi) { return v < lo ? sq(lo - v) : v > hi ? sq(v - hi) : 0; }
int farAxis(int v, int lo, int hi) { return std::max(sq(v - lo), sq(hi - v)); }
} // namespace

NearestEntryTable::NearestEntryTable(const ImportColors& colors) : NearestEntryTable(colors, allUsable()) {}

NearestEntryTable::NearestEntryTable(const ImportColors& colors, const std::array<bool, 256>& usable)
{
    for (int i = 0; i < 256; ++i) {
        red_[i] = static_cast<int>(colors[i] & 0xFF);
        green_[i] = static_cast<int>(colors[i] >> 8 & 0xFF);
        blue_[i] = static_cast<int>(colors[i] >> 16 & 0xFF);
        if (usable[i])
            order_.push_back(static_cast<std::uint8_t>(i));
    }
    cellStart_.assign(static_cast<std::size_t>(kCells) * kCells * kCells, kUnset);
    cellCount_.assign(cellStart_.size(), 0);
    coarseStart_.assign(static_cast<std::size_t>(kCoarseCells) * kCoarseCells * kCoarseCells, kUnset);
    coarseCount_.assign(coarseStart_.size(), 0);
    memoKey_.assign(std::size_t{1} << kMemoBits, kUnset);   // no colour has a top byte
    memoIndex_.assign(memoKey_.size(), 0);
}

void NearestEntryTable::collect(const std::uint8_t* from, std::size_t count, int r0, int g0, int b0, int size,
                                std::vector<std::uint8_t>& into) const
{
    const int r1 = r0 + size - 1, g1 = g0 + size - 1, b1 = b0 + size - 1;
    // The nearest entry of any colour in the box is no farther than the smallest "farthest
    // distance" of any entry, so only entries whose nearest distance stays within it can win.
    int bound = std::numeric_limits<int>::max();
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t i = from[k];
        bound = std::min(bound, farAxis(red_[i], r0, r1) + farAxis(green_[i], g0, g1) + farAxis(blue_[i], b0, b1));
    }
    into.clear();
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t i = from[k];
        if (nearAxis(red_[i], r0, r1) + nearAxis(green_[i], g0, g1) + nearAxis(blue_[i], b0, b1) <= bound)
            into.push_back(i);   // stays in index order
    }
}

void NearestEntryTable::fillCell(std::size_t cell, int r0, int g0, int b0)
{
    const int cr = r0 >> kCoarseShift, cg = g0 >> kCoarseShift, cb = b0 >> kCoarseShift;
    const std::size_t coarse = (static_cast<std::size_t>(cr) * kCoarseCells + cg) * kCoarseCells + cb;
    if (coarseStart_[coarse] == kUnset) {
        collect(order_.data(), order_.size(), cr << kCoarseShift, cg << kCoarseShift, cb << kCoarseShift,
                1 << kCoarseShift, scratch_);
        coarseStart_[coarse] = static_cast<std::uint32_t>(coarse_.size());
        coarseCount_[coarse] = static_cast<std::uint16_t>(scratch_.size());
        coarse_.insert(coarse_.end(), scratch_.begin(), scratch_.end());
    }
    // Every entry that can win in the cell can win in the coarse cell around it.
    collect(coarse_.data() + coarseStart_[coarse], coarseCount_[coarse], r0, g0, b0, 1 << kShift, scratch_);
    cellStart_[cell] = static_cast<std::uint32_t>(candidates_.size());
    cellCount_[cell] = static_cast<std::uint16_t>(scratch_.size());
    const int r1 = r0 + (1 << kShift) - 1, g1 = g0 + (1 << kShift) - 1, b1 = b0 + (1 << kShift) - 1;
    for (std::uint8_t i : scratch_)
        candidates_.push_back({nearAxis(red_[i], r0, r1) + nearAxis(green_[i], g0, g1) + nearAxis(blue_[i], b0, b1),
                               static_cast<std::int16_t>(red_[i]), static_cast<std::int16_t>(green_[i]),
                               static_cast<std::int16_t>(blue_[i]), i});
    // Nearest first, so a search can stop at the first candidate that cannot come closer.
    std::stable_sort(candidates_.begin() + cellStart_[cell], candidates_.end(),
                     [](const Candidate& a, const Candidate& b) { return a.near < b.near; });
}

std::uint8_t NearestEntryTable::nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    if (order_.empty())
        return 0;
    const std::uint32_t key = red | static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(blue) << 16;
    const std::size_t slot = (key * 2654435761u) >> (32 - kMemoBits);
    if (memoKey_[slot] == key)
        return memoIndex_[slot];
    const int cr = red >> kShift, cg = green >> kShift, cb = blue >> kShift;
    const std::size_t cell = (static_cast<std::size_t>(cr) * kCells + cg) * kCells + cb;
    if (cellStart_[cell] == kUnset)
        fillCell(cell, cr << kShift, cg << kShift, cb << kShift);
    const Candidate* list = candidates_.data() + cellStart_[cell];
    const std::uint16_t count = cellCount_[cell];
    // Candidates come nearest to the cell first; one whose distance to the cell already exceeds
    // the best found cannot win, nor can any after it. Equal distances go to the lower index.
    std::uint8_t best = list[0].index;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::uint16_t k = 0; k < count; ++k) {
        const Candidate& c = list[k];
        if (c.near > bestDistance)
            break;
        const int d = sq(c.red - red) + sq(c.green - green) + sq(c.blue - blue);
        if (d < bestDistance || (d == bestDistance && c.index < best)) {
            bestDistance = d;
            best = c.index;
        }
    }
    memoKey_[slot] = key;
    memoIndex_[slot] = best;
    return best;
}

std::uint8_t NearestEntryTable::scan(const ImportColors& colors, const std::array<bool, 256>& usable, int red,
                                     int green, int blue)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256; ++i) {
        if (!usable[i])
            continue;
        const int d = sq(int(colors[i] & 0xFF) - red) + sq(int(colors[i] >> 8 & 0xFF) - green) +
                      sq(int(colors[i] >> 16 & 0xFF) - blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}
