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
}

void NearestEntryTable::fillCell(std::size_t cell, int r0, int g0, int b0)
{
    const int size = (1 << kShift) - 1;
    const int r1 = r0 + size, g1 = g0 + size, b1 = b0 + size;
    // The nearest entry of any colour in the cell is no farther than the smallest "farthest
    // distance" of any entry, so only entries whose nearest distance stays within it can win.
    int bound = std::numeric_limits<int>::max();
    for (std::uint8_t i : order_)
        bound = std::min(bound, farAxis(red_[i], r0, r1) + farAxis(green_[i], g0, g1) + farAxis(blue_[i], b0, b1));
    cellStart_[cell] = static_cast<std::uint32_t>(candidates_.size());
    std::uint16_t count = 0;
    for (std::uint8_t i : order_)
        if (nearAxis(red_[i], r0, r1) + nearAxis(green_[i], g0, g1) + nearAxis(blue_[i], b0, b1) <= bound) {
            candidates_.push_back(i);
            ++count;
        }
    cellCount_[cell] = count;
}

std::uint8_t NearestEntryTable::nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    if (order_.empty())
        return 0;
    const int cr = red >> kShift, cg = green >> kShift, cb = blue >> kShift;
    const std::size_t cell = (static_cast<std::size_t>(cr) * kCells + cg) * kCells + cb;
    if (cellStart_[cell] == kUnset)
        fillCell(cell, cr << kShift, cg << kShift, cb << kShift);
    const std::uint8_t* list = candidates_.data() + cellStart_[cell];
    const std::uint16_t count = cellCount_[cell];
    // Candidates are in index order and the test is strict, so the lowest index wins a tie.
    std::uint8_t best = list[0];
    int bestDistance = std::numeric_limits<int>::max();
    for (std::uint16_t k = 0; k < count; ++k) {
        const std::uint8_t i = list[k];
        const int d = sq(red_[i] - red) + sq(green_[i] - green) + sq(blue_[i] - blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
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
