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
    // With no usable entry every answer is 0.
    cells_.assign(static_cast<std::size_t>(kCells) * kCells * kCells, order_.empty() ? 0 : kUnknown);
    answers_.resize(256 * kCellColors);
    for (std::size_t i = 0; i < answers_.size(); ++i)
        answers_[i] = static_cast<std::uint8_t>(i / kCellColors);
    for (int shift : {kCoarseShift, kMiddleShift}) {
        Level level;
        level.shift = shift;
        const std::size_t side = std::size_t{256} >> shift;
        level.start.assign(side * side * side, kUnset);
        level.count.assign(level.start.size(), 0);
        levels_.push_back(std::move(level));
    }
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

const std::uint8_t* NearestEntryTable::listOf(std::size_t level, int red, int green, int blue, std::size_t& count)
{
    Level& here = levels_[level];
    const int side = 256 >> here.shift;
    const int r0 = red >> here.shift << here.shift, g0 = green >> here.shift << here.shift,
              b0 = blue >> here.shift << here.shift;
    const std::size_t box = (static_cast<std::size_t>(r0 >> here.shift) * side + static_cast<std::size_t>(g0 >> here.shift)) *
                                side + static_cast<std::size_t>(b0 >> here.shift);
    if (here.start[box] == kUnset) {
        // Every entry that can win in the box can win in the larger box around it.
        std::size_t outerCount = order_.size();
        const std::uint8_t* outer = level == 0 ? order_.data() : listOf(level - 1, red, green, blue, outerCount);
        collect(outer, outerCount, r0, g0, b0, 1 << here.shift, scratch_);
        here.start[box] = static_cast<std::uint32_t>(here.entries.size());
        here.count[box] = static_cast<std::uint16_t>(scratch_.size());
        here.entries.insert(here.entries.end(), scratch_.begin(), scratch_.end());
    }
    count = here.count[box];
    return here.entries.data() + here.start[box];
}

void NearestEntryTable::gather(int r0, int g0, int b0)
{
    std::size_t count = 0;
    const std::uint8_t* outer = listOf(levels_.size() - 1, r0, g0, b0, count);
    collect(outer, count, r0, g0, b0, 1 << kShift, scratch_);
    const int r1 = r0 + kMask, g1 = g0 + kMask, b1 = b0 + kMask;
    candidates_.clear();
    for (std::uint8_t i : scratch_)
        candidates_.push_back({nearAxis(red_[i], r0, r1) + nearAxis(green_[i], g0, g1) + nearAxis(blue_[i], b0, b1),
                               static_cast<std::int16_t>(red_[i]), static_cast<std::int16_t>(green_[i]),
                               static_cast<std::int16_t>(blue_[i]), i});
    // Nearest first, so a search can stop at the first candidate that cannot come closer.
    std::stable_sort(candidates_.begin(), candidates_.end(),
                     [](const Candidate& a, const Candidate& b) { return a.near < b.near; });
}

std::uint8_t NearestEntryTable::nearestWithoutBlock(int red, int green, int blue)
{
    gather(red & ~kMask, green & ~kMask, blue & ~kMask);
    return search(red, green, blue);
}

std::uint16_t NearestEntryTable::fillCell(std::size_t cell, int r0, int g0, int b0)
{
    gather(r0, g0, b0);
    const int r1 = r0 + kMask, g1 = g0 + kMask, b1 = b0 + kMask;

    // The entry nearest to one corner owns the whole cell when, against every other candidate, the
    // difference of squared distances (linear in the colour, so largest at a corner) stays below
    // zero, or at zero when it has the lower index.
    const std::uint8_t winner = search(r0, g0, b0);
    const int lo[3] = {r0, g0, b0}, hi[3] = {r1, g1, b1};
    const int a[3] = {red_[winner], green_[winner], blue_[winner]};
    bool owns = true;
    for (std::size_t k = 0; owns && k < candidates_.size(); ++k) {
        const Candidate& other = candidates_[k];
        if (other.index == winner)
            continue;
        const int b[3] = {other.red, other.green, other.blue};
        int largest = 0;
        for (int c = 0; c < 3; ++c)
            largest += std::max(sq(lo[c] - a[c]) - sq(lo[c] - b[c]), sq(hi[c] - a[c]) - sq(hi[c] - b[c]));
        owns = largest < 0 || (largest == 0 && winner < other.index);
    }
    if (owns)
        return cells_[cell] = winner;

    const std::size_t block = answers_.size() / kCellColors;   // past the 256 single-entry blocks
    if (block >= kWithoutBlock)
        return cells_[cell] = kWithoutBlock;   // every block taken: this cell searches each time
    answers_.resize(answers_.size() + kCellColors);
    // All 64 colours at once, candidate by candidate, until the next candidate is farther from the
    // cell than every colour's best so far.
    std::array<int, kCellColors> bestDistance;
    std::array<std::uint8_t, kCellColors> best;
    bestDistance.fill(std::numeric_limits<int>::max());
    best.fill(0);
    int worst = std::numeric_limits<int>::max();
    for (const Candidate& c : candidates_) {
        if (c.near > worst)
            break;
        worst = 0;
        std::size_t k = 0;
        for (int r = 0; r <= kMask; ++r)
            for (int g = 0; g <= kMask; ++g)
                for (int b = 0; b <= kMask; ++b, ++k) {
                    const int d = sq(c.red - r0 - r) + sq(c.green - g0 - g) + sq(c.blue - b0 - b);
                    const bool better = d < bestDistance[k] || (d == bestDistance[k] && c.index < best[k]);
                    bestDistance[k] = better ? d : bestDistance[k];
                    best[k] = better ? c.index : best[k];
                    worst = std::max(worst, bestDistance[k]);
                }
    }
    std::copy(best.begin(), best.end(), answers_.begin() + static_cast<long>(block * kCellColors));
    return cells_[cell] = static_cast<std::uint16_t>(block);
}

std::uint8_t NearestEntryTable::search(int red, int green, int blue) const
{
    // Candidates come nearest to the cell first; one whose distance to the cell already exceeds
    // the best found cannot win, nor can any after it. Equal distances go to the lower index.
    std::uint8_t best = candidates_[0].index;
    int bestDistance = std::numeric_limits<int>::max();
    for (const Candidate& c : candidates_) {
        if (c.near > bestDistance)
            break;
        const int d = sq(c.red - red) + sq(c.green - green) + sq(c.blue - blue);
        if (d < bestDistance || (d == bestDistance && c.index < best)) {
            bestDistance = d;
            best = c.index;
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
