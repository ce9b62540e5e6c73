#include "import/AdaptivePalette.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace {
constexpr int kBits = 6;   // histogram cells per channel: 64
constexpr int kLevels = 1 << kBits;

// The colours of one histogram cell: how many pixels and the sums of their channels.
struct Cell {
    double count = 0;
    double sum[3] = {0, 0, 0};
    double mean(int c) const { return sum[c] / count; }
};

// The same while counting: integers, half the memory to clear and touch.
struct Tally {
    std::uint32_t count = 0;
    std::uint32_t sum[3] = {0, 0, 0};
};
constexpr std::size_t kMostSamples = std::size_t{1} << 18;   // enough for the statistics; sums fit 32 bits

struct Box {
    std::size_t begin = 0, end = 0;   // range in the cell list
    double count = 0;
    double error = 0;                 // sum of squared distances to the box mean
    int axis = 0;                     // axis of largest variance
};

std::uint32_t colorOf(double r, double g, double b)
{
    auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L));
    };
    return channel(r) | channel(g) << 8 | channel(b) << 16;
}

void measure(const std::vector<Cell>& cells, Box& box)
{
    double n = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i) {
        const Cell& cell = cells[i];
        n += cell.count;
        for (int c = 0; c < 3; ++c) {
            s[c] += cell.sum[c];
            const double m = cell.mean(c);
            q[c] += m * m * cell.count;
        }
    }
    box.count = n;
    box.error = 0;
    double largest = -1;
    for (int c = 0; c < 3; ++c) {
        const double variance = q[c] - s[c] * s[c] / n;
        box.error += variance;
        if (variance > largest && box.end - box.begin > 1) {
            // Only an axis on which the cells differ can be split.
            largest = variance;
            box.axis = c;
        }
    }
    if (box.end - box.begin < 2)
        box.error = 0;
}

// Exact colours of a picture with at most `limit` of them, in first-seen order; nothing otherwise.
bool exactColors(const RgbImage& image, std::size_t limit, std::vector<std::uint32_t>& colors)
{
    std::unordered_map<std::uint32_t, bool> seen;
    seen.reserve(limit * 2);
    const std::uint8_t* p = image.pixels.data();
    std::uint32_t last = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < image.pixelCount(); ++i, p += 3) {
        const std::uint32_t color = p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
        if (color == last)
            continue;
        last = color;
        if (seen.emplace(color, true).second) {
            if (seen.size() > limit)
                return false;
            colors.push_back(color);
        }
    }
    return true;
}
} // namespace

ImportColors adaptivePalette(const RgbImage& image, int first, int passes, const std::function<bool()>& keepGoing)
{
    ImportColors palette{};
    first = std::clamp(first, 0, 255);
    const std::size_t wanted = static_cast<std::size_t>(256 - first);
    if (image.pixelCount() == 0)
        return palette;

    std::vector<std::uint32_t> exact;
    if (exactColors(image, wanted, exact)) {
        std::sort(exact.begin(), exact.end());
        for (std::size_t i = 0; i < exact.size(); ++i)
            palette[static_cast<std::size_t>(first) + i] = exact[i];
        return palette;
    }

    // Histogram of 64 x 64 x 64 cells, each with the exact mean of its pixels. A picture of more
    // than kMostSamples pixels is sampled at a stride that shares no factor with its width, so the
    // columns taken move from row to row and cover every column.
    const std::size_t pixels = image.pixelCount();
    std::size_t stride = (pixels + kMostSamples - 1) / kMostSamples;
    while (stride > 1 && std::gcd(stride, static_cast<std::size_t>(image.width)) != 1)
        ++stride;
    std::vector<Tally> tallies(static_cast<std::size_t>(kLevels) * kLevels * kLevels);
    const std::uint8_t* p = image.pixels.data();
    for (std::size_t i = 0; i < pixels; i += stride) {
        const std::uint8_t* q = p + 3 * i;
        Tally& tally = tallies[(static_cast<std::size_t>(q[0] >> 2) << 12) | (static_cast<std::size_t>(q[1] >> 2) << 6) |
                               static_cast<std::size_t>(q[2] >> 2)];
        ++tally.count;
        tally.sum[0] += q[0];
        tally.sum[1] += q[1];
        tally.sum[2] += q[2];
    }
    std::vector<Cell> cells;
    for (const Tally& tally : tallies)
        if (tally.count > 0) {
            Cell cell;
            cell.count = tally.count;
            for (int c = 0; c < 3; ++c)
                cell.sum[c] = tally.sum[c];
            cells.push_back(cell);
        }
    tallies.clear();
    tallies.shrink_to_fit();
    if (keepGoing && !keepGoing())
        return palette;

    // Median cut: split the box with the largest error along its axis of largest variance, at the
    // pixel-weighted median.
    std::vector<Box> boxes(1);
    boxes[0].end = cells.size();
    measure(cells, boxes[0]);
    while (boxes.size() < wanted) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0)
            break;
        Box box = *worst;
        const int axis = box.axis;
        std::sort(cells.begin() + static_cast<long>(box.begin), cells.begin() + static_cast<long>(box.end),
                  [axis](const Cell& a, const Cell& b) { return a.mean(axis) < b.mean(axis); });
        double half = box.count / 2, running = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            running += cells[i].count;
            split = i + 1;
            if (running >= half)
                break;
        }
        Box low = box, high = box;
        low.end = split;
        high.begin = split;
        measure(cells, low);
        measure(cells, high);
        *worst = low;
        boxes.push_back(high);
    }

    std::vector<std::array<double, 3>> centres;
    for (const Box& box : boxes) {
        std::array<double, 3> s{0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i)
            for (int c = 0; c < 3; ++c)
                s[c] += cells[i].sum[c];
        centres.push_back({s[0] / box.count, s[1] / box.count, s[2] / box.count});
    }

    // K-means over the cells, weighted by their pixel counts.
    std::vector<std::array<double, 4>> acc(centres.size());
    for (int pass = 0; pass < passes; ++pass) {
        if (keepGoing && !keepGoing())
            break;
        for (auto& a : acc)
            a = {0, 0, 0, 0};
        for (const Cell& cell : cells) {
            const double r = cell.mean(0), g = cell.mean(1), b = cell.mean(2);
            std::size_t best = 0;
            double bestDistance = std::numeric_limits<double>::max();
            for (std::size_t k = 0; k < centres.size(); ++k) {
                const double dr = centres[k][0] - r, dg = centres[k][1] - g, db = centres[k][2] - b;
                const double d = dr * dr + dg * dg + db * db;
                if (d < bestDistance) {
                    bestDistance = d;
                    best = k;
                }
            }
            acc[best][0] += cell.sum[0];
            acc[best][1] += cell.sum[1];
            acc[best][2] += cell.sum[2];
            acc[best][3] += cell.count;
        }
        for (std::size_t k = 0; k < centres.size(); ++k)
            if (acc[k][3] > 0)   // an entry that won nothing keeps its place
                centres[k] = {acc[k][0] / acc[k][3], acc[k][1] / acc[k][3], acc[k][2] / acc[k][3]};
    }

    // Sorted by colour so the palette does not depend on the order the boxes were split in.
    std::vector<std::uint32_t> colors;
    for (const auto& c : centres)
        colors.push_back(colorOf(c[0], c[1], c[2]));
    std::sort(colors.begin(), colors.end());
    for (std::size_t i = 0; i < colors.size(); ++i)
        palette[static_cast<std::size_t>(first) + i] = colors[i];
    return palette;
}
