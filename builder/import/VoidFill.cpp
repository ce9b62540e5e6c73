#include "import/VoidFill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>

namespace {

// Rows to the nearest valid post above or below a void; kNone when there is none within the reach.
constexpr std::uint16_t kNone = std::numeric_limits<std::uint16_t>::max();
constexpr int kLongestReach = kNone - 2;

} // namespace

template <typename T>
VoidFill<T>::VoidFill(const T* grid, int width, int height, bool hasMark, T mark)
    : grid_(grid), width_(std::max(0, width)), height_(std::max(0, height)), hasMark_(hasMark), mark_(mark)
{
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    if constexpr (std::is_integral_v<T>) {
        if (!hasMark_)
            return;
        // Voids are few: four 16-bit posts are tested at once as a word, which holds the mark
        // when its difference from four marks has a zero half-word, and only such a word is
        // looked at post by post.
        static_assert(sizeof(T) == 2, "the test by words takes 16-bit posts");
        const T* const grid = grid_;
        const T mark = mark_;
        const std::uint64_t marks = 0x0001000100010001ull * static_cast<std::uint16_t>(mark);
        std::size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            std::uint64_t four;
            std::memcpy(&four, grid + i, sizeof four);
            four ^= marks;
            if (((four - 0x0001000100010001ull) & ~four & 0x8000800080008000ull) == 0)
                continue;
            for (std::size_t j = i; j < i + 4; ++j)
                if (grid[j] == mark)
                    voids_.push_back(static_cast<std::uint32_t>(j));
        }
        for (; i < count; ++i)
            if (grid_[i] == mark)
                voids_.push_back(static_cast<std::uint32_t>(i));
    } else {
        for (std::size_t i = 0; i < count; ++i)
            if (isVoid(grid_[i]))
                voids_.push_back(static_cast<std::uint32_t>(i));
    }
}

template <typename T>
float VoidFill<T>::filled(std::size_t index) const
{
    const auto at = std::lower_bound(voids_.begin(), voids_.end(), index);
    if (at == voids_.end() || *at != index || values_.size() != voids_.size())
        return std::numeric_limits<float>::quiet_NaN();
    return values_[static_cast<std::size_t>(at - voids_.begin())];
}

template <typename T>
bool VoidFill<T>::fill(int x0, int y0, int x1, int y1, int reach, const std::function<bool(double)>& progress)
{
    probes_ = 0;
    reached_ = {std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min(),
                std::numeric_limits<int>::min()};
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(voids_.size());
    values_.assign(voids_.size(), std::numeric_limits<float>::quiet_NaN());
    if (n == 0) {
        reached_ = {0, 0, -1, -1};
        return true;
    }
    reach = std::clamp(reach, 0, kLongestReach);
    const std::size_t w = static_cast<std::size_t>(width_);
    const std::size_t count = w * static_cast<std::size_t>(height_);

    // Each void's rows to the nearest valid post above and below it in its column. The voids come
    // row by row, so the last one seen in a column is the one right above (or, going back, below).
    std::vector<std::uint16_t> up(voids_.size()), down(voids_.size()), column(w);
    const auto further = [&](std::uint16_t rows) -> std::uint16_t {
        return rows == kNone || rows >= reach ? kNone : static_cast<std::uint16_t>(rows + 1);
    };
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        const std::size_t i = voids_[static_cast<std::size_t>(k)];
        std::uint16_t& last = column[i % w];
        last = i < w ? kNone : isVoid(grid_[i - w]) ? further(last) : 1;
        up[static_cast<std::size_t>(k)] = last;
    }
    for (std::ptrdiff_t k = n - 1; k >= 0; --k) {
        const std::size_t i = voids_[static_cast<std::size_t>(k)];
        std::uint16_t& last = column[i % w];
        last = i + w >= count ? kNone : isVoid(grid_[i + w]) ? further(last) : 1;
        down[static_cast<std::size_t>(k)] = last;
    }

    // The void at a grid index, or -1, moving a cursor into the ascending list one way only.
    const auto seekLeft = [&](std::ptrdiff_t& cursor, std::size_t index) -> std::ptrdiff_t {
        while (cursor >= 0 && voids_[static_cast<std::size_t>(cursor)] > index)
            --cursor;
        return cursor >= 0 && voids_[static_cast<std::size_t>(cursor)] == index ? cursor : -1;
    };
    const auto seekRight = [&](std::ptrdiff_t& cursor, std::size_t index) -> std::ptrdiff_t {
        while (cursor < n && voids_[static_cast<std::size_t>(cursor)] < index)
            ++cursor;
        return cursor < n && voids_[static_cast<std::size_t>(cursor)] == index ? cursor : -1;
    };

    const double longest = reach;
    std::ptrdiff_t beneath = 0;   // the first void at or after the post under the current one
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        if ((k & 4095) == 0 && progress && !progress(static_cast<double>(k) / static_cast<double>(n)))
            return false;
        const std::size_t i = voids_[static_cast<std::size_t>(k)];
        const int y = static_cast<int>(i / w);
        const int x = static_cast<int>(i - static_cast<std::size_t>(y) * w);
        if (x < x0 || x > x1 || y < y0 || y > y1)
            continue;
        const std::size_t row = static_cast<std::size_t>(y) * w;
        const bool lastRow = y + 1 >= height_;
        while (beneath < n && voids_[static_cast<std::size_t>(beneath)] < i + w)
            ++beneath;

        // Quadrants: 0 upper left, 1 lower left (both with the void's own column), 2 upper right,
        // 3 lower right. An offer replaces a quadrant's only when strictly nearer, so of two at the
        // same distance the one in the nearer column stays, as in GDAL.
        double distance[4] = {longest + 1, longest + 1, longest + 1, longest + 1};
        float value[4] = {};
        const auto consider = [&](int quadrant, int c, int r) {
            const double dx = static_cast<double>(c) - x, dy = static_cast<double>(r) - y;
            const double squared = dx * dx + dy * dy;
            if (squared < distance[quadrant] * distance[quadrant]) {
                distance[quadrant] = std::sqrt(squared);
                value[quadrant] = static_cast<float>(grid_[static_cast<std::size_t>(r) * w + static_cast<std::size_t>(c)]);
            }
        };
        // Column c's offers: `here` is the void at (c, y) or -1, `under` the void at (c, y + 1) or -1.
        const auto offer = [&](int c, std::ptrdiff_t here, std::ptrdiff_t under, int upper, int lower) {
            ++probes_;
            if (here < 0) {
                consider(upper, c, y);
                if (!lastRow) {
                    if (under < 0)
                        consider(lower, c, y + 1);
                    else if (down[static_cast<std::size_t>(under)] != kNone)
                        consider(lower, c, y + 1 + down[static_cast<std::size_t>(under)]);
                }
                return;
            }
            if (up[static_cast<std::size_t>(here)] != kNone)
                consider(upper, c, y - up[static_cast<std::size_t>(here)]);
            if (down[static_cast<std::size_t>(here)] != kNone)
                consider(lower, c, y + down[static_cast<std::size_t>(here)]);
        };

        std::ptrdiff_t left = k, right = k;
        std::ptrdiff_t leftUnder = std::min(beneath, n - 1), rightUnder = beneath;
        bool leftOpen = true, rightOpen = true;
        for (int step = 0; leftOpen || rightOpen; ++step) {
            // GDAL keeps the search inside the grid, so in the last column the right quadrants see
            // the void's own column.
            const int rightColumn = x + step < width_ ? x + step : step == 1 ? x : -1;
            // Nothing further than a quadrant's nearest offer can replace it.
            leftOpen = leftOpen && step <= reach && x - step >= 0 && step < std::max(distance[0], distance[1]);
            rightOpen = rightOpen && step <= reach && rightColumn >= 0 && step < std::max(distance[2], distance[3]);
            if (leftOpen) {
                const std::size_t c = static_cast<std::size_t>(x - step);
                offer(x - step, seekLeft(left, row + c), lastRow ? -1 : seekLeft(leftUnder, row + w + c), 0, 1);
            }
            if (rightOpen && step > 0) {
                const std::size_t c = static_cast<std::size_t>(rightColumn);
                offer(rightColumn, seekRight(right, row + c), lastRow ? -1 : seekRight(rightUnder, row + w + c), 2, 3);
            }
        }

        // Every offer taken lies within the farthest quadrant's distance, and every post looked
        // at within the reach; posts farther than that would only have been offers farther than
        // the ones taken.
        double farthest = 0;
        bool everyQuadrant = true;
        for (int q = 0; q < 4; ++q) {
            if (distance[q] <= longest)
                farthest = std::max(farthest, distance[q]);
            else
                everyQuadrant = false;
        }
        const int radius = everyQuadrant ? static_cast<int>(std::ceil(farthest)) : reach;
        reached_.x0 = std::min(reached_.x0, x - radius);
        reached_.y0 = std::min(reached_.y0, y - radius);
        reached_.x1 = std::max(reached_.x1, x + radius);
        reached_.y1 = std::max(reached_.y1, y + radius);

        double weights = 0, sum = 0;
        for (int q = 0; q < 4; ++q) {
            if (distance[q] <= longest) {
                const double weight = 1.0 / distance[q];
                weights += weight;
                sum += value[q] * weight;
            }
        }
        if (weights > 0)
            values_[static_cast<std::size_t>(k)] = static_cast<float>(sum / weights);
    }
    if (reached_.x0 > reached_.x1)
        reached_ = {0, 0, -1, -1};
    return true;
}

template class VoidFill<std::int16_t>;
template class VoidFill<double>;
