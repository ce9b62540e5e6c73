#pragma once
// Where things of the map land in the view: every painter and mouse handler asks this one object,
// so bitmap pixels, chunk rectangles, altitude records and the pointer agree at every zoom.
//
// View coordinates are logical: the scroll position is already applied. Bitmap pixel rows count
// from the bottom edge, chunk rows from the south, as everywhere else in the project.

#include <cstdint>
#include <limits>
#include <optional>

#include "project/GeoRect.h"

struct ViewPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ViewPoint&) const = default;
};

struct ViewRect {
    int left = 0;
    int top = 0;
    int right = 0;    ///< exclusive
    int bottom = 0;   ///< exclusive
    bool operator==(const ViewRect&) const = default;
    bool intersects(const ViewRect& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    /// This rectangle grown by `d` on every side.
    ViewRect grown(int d) const { return {left - d, top - d, right + d, bottom + d}; }
};

struct ViewSize {
    int width = 0;
    int height = 0;
    bool operator==(const ViewSize&) const = default;
};

class MapTransform {
public:
    MapTransform() = default;
    MapTransform(std::int32_t chunkColumns, std::int32_t chunkRows, double zoom = 1.0, int originOffsetX = 0,
                 int originOffsetY = 0);

    std::int32_t chunkColumns() const { return columns_; }
    std::int32_t chunkRows() const { return rows_; }
    double zoom() const { return zoom_; }
    int originOffsetX() const { return offsetX_; }
    int originOffsetY() const { return offsetY_; }

    /// The map's size in bitmap pixels.
    std::int64_t pixelWidth() const { return std::int64_t{columns_} * 256; }
    std::int64_t pixelHeight() const { return std::int64_t{rows_} * 256; }

    /// The scroll size: the mosaic scaled by the zoom, each side truncated.
    ViewSize scrollSize() const;
    /// The same for another zoom (to ask whether a zoom step would fit before taking it).
    ViewSize scrollSizeAt(double zoom) const;

    void setZoom(double zoom) { zoom_ = zoom; }
    /// Centres the mosaic in a client area larger than it; 0 on a side where the mosaic is larger.
    void centreIn(int clientWidth, int clientHeight);

    /// Where bitmap pixel (px, py) is shown (py counted from the bottom), truncated.
    ViewPoint pixelToView(double px, double py) const;
    /// The rectangle of the chunk in column `column` and row `row` (row 0 the southern row).
    ViewRect chunkRect(std::int32_t column, std::int32_t row) const;

    /// The bitmap pixel under a view point: x from the left edge, y from the bottom edge;
    /// -1 on an axis where the point lies off the map.
    int pixelXAt(int x) const;
    int pixelYAt(int y) const;

    /// Where an altitude record lies, when it is inside the boundary (edges included) and the
    /// boundary has an extent on both axes; nothing otherwise.
    std::optional<ViewPoint> geoToView(double latitude, double longitude, const GeoRect& boundary) const;
    /// The longitudes and latitudes the view rectangle covers, for skipping records outside it.
    /// Nothing when the boundary has no extent on an axis.
    std::optional<GeoRect> geoRangeOf(const ViewRect& rect, const GeoRect& boundary) const;

private:
    std::int32_t columns_ = 0;
    std::int32_t rows_ = 0;
    double zoom_ = 1.0;
    int offsetX_ = 0;
    int offsetY_ = 0;
};

/// Truncates toward zero into the int range; NaN gives 0. Map positions pass through here so a
/// damaged project or an extreme zoom cannot make an out-of-range conversion.
inline int truncateToInt(double value)
{
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (value != value)
        return 0;   // NaN
    if (value <= lo)
        return std::numeric_limits<int>::min();
    if (value >= hi)
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}
