#pragma once
// The voids of a grid of heights, filled by the rule of GDAL's fill-nodata at a cost that grows
// with the voids, not with the grid. A void looks at the columns to its left (its own included)
// and to its right, one further each step, up to the reach. Each column offers an upper quadrant
// its nearest valid post at or above the void's row, and a lower quadrant its nearest valid post
// below that row. The nearest offer of each of the four quadrants counts when it lies within the
// reach, weighted by one over its distance; filled values are never offered. A void with no offer
// within the reach stays void. Values are single precision, as GDAL's are.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <vector>

template <typename T>
class VoidFill {
public:
    /// Finds the voids of `width` x `height` posts stored row by row (fewer than 2^32): the posts
    /// equal to `mark` when `hasMark`, and NaN. The grid must outlive the fill. Throws
    /// std::bad_alloc when the voids do not fit in memory.
    VoidFill(const T* grid, int width, int height, bool hasMark, T mark);

    bool isVoid(T value) const
    {
        if constexpr (std::is_floating_point_v<T>)
            return std::isnan(value) || (hasMark_ && value == mark_);
        else
            return hasMark_ && value == mark_;
    }

    /// The voids' indices in the grid, ascending.
    const std::vector<std::uint32_t>& voids() const { return voids_; }

    /// Fills the voids in columns x0..x1 and rows y0..y1 from valid posts at most `reach` posts
    /// away anywhere in the grid. `progress` gets the fraction done and returns false to stop the
    /// fill, which then returns false. Throws std::bad_alloc.
    bool fill(int x0, int y0, int x1, int y1, int reach, const std::function<bool(double)>& progress = {});

    /// What the last fill gave each void of voids(), in the same order: NaN where it gave nothing.
    const std::vector<float>& values() const { return values_; }
    /// The value filled into the post at grid index `index`: NaN when nothing was.
    float filled(std::size_t index) const;

    /// Columns looked at by the last fill: at most twice the reach plus one for each void filled.
    std::int64_t probes() const { return probes_; }

    /// Columns x0..x1 and rows y0..y1 (possibly beyond the grid) holding every post the last
    /// fill's values depend on, empty (x0 > x1) when it filled nothing. A larger grid holding
    /// the same posts there fills those voids with the same values.
    struct Extent {
        int x0, y0, x1, y1;
    };
    Extent reached() const { return reached_; }

private:
    const T* grid_;
    int width_;
    int height_;
    bool hasMark_;
    T mark_;
    std::vector<std::uint32_t> voids_;
    std::vector<float> values_;
    std::int64_t probes_ = 0;
    Extent reached_{0, 0, -1, -1};
};

extern template class VoidFill<std::int16_t>;
extern template class VoidFill<double>;
