#include "view/MapTransform.h"

#include <cmath>
#include <limits>
#include <utility>

MapTransform::MapTransform(std::int32_t chunkColumns, std::int32_t chunkRows, double zoom, int originOffsetX,
                           int originOffsetY)
    : columns_(chunkColumns < 0 ? 0 : chunkColumns), rows_(chunkRows < 0 ? 0 : chunkRows), zoom_(zoom),
      offsetX_(originOffsetX), offsetY_(originOffsetY)
{
}

ViewSize MapTransform::scrollSize() const
{
    return scrollSizeAt(zoom_);
}

ViewSize MapTransform::scrollSizeAt(double zoom) const
{
    return {truncateToInt(columns_ * 256.0 * zoom), truncateToInt(rows_ * 256.0 * zoom)};
}

void MapTransform::centreIn(int clientWidth, int clientHeight)
{
    const ViewSize size = scrollSize();
    // Halves rounded toward zero, as integer division does.
    offsetX_ = clientWidth > size.width ? (clientWidth - size.width) / 2 : 0;
    offsetY_ = clientHeight > size.height ? (clientHeight - size.height) / 2 : 0;
}

ViewPoint MapTransform::pixelToView(double px, double py) const
{
    return {truncateToInt(offsetX_ + px * zoom_), truncateToInt(offsetY_ + (rows_ * 256.0 - 1 - py) * zoom_)};
}

ViewRect MapTransform::chunkRect(std::int32_t column, std::int32_t row) const
{
    const int left = truncateToInt(column * 256.0 * zoom_ + offsetX_);
    const int top = truncateToInt((rows_ - 1.0 - row) * 256.0 * zoom_ + offsetY_);
    return {left, top, truncateToInt(left + 256.0 * zoom_), truncateToInt(top + 256.0 * zoom_)};
}

int MapTransform::pixelXAt(int x) const
{
    const int px = truncateToInt((x - offsetX_) / zoom_);
    return px < 0 || px > pixelWidth() - 1 ? -1 : px;
}

int MapTransform::pixelYAt(int y) const
{
    const int py = truncateToInt(rows_ * 256.0 - (y - offsetY_) / zoom_ - 1);
    return py < 0 || py > pixelHeight() - 1 ? -1 : py;
}

std::optional<ViewPoint> MapTransform::geoToView(double latitude, double longitude, const GeoRect& b) const
{
    if (b.east == b.west || b.north == b.south)
        return std::nullopt;
    if (!(longitude >= b.west && longitude <= b.east && latitude >= b.south && latitude <= b.north))
        return std::nullopt;
    const int w = truncateToInt(columns_ * 256.0 * zoom_);
    const int h = truncateToInt(rows_ * 256.0 * zoom_);
    const double x = (longitude - b.west) / (b.east - b.west) * w + offsetX_;
    const double y = h - (latitude - b.south) / (b.north - b.south) * h + offsetY_;
    return ViewPoint{truncateToInt(x), truncateToInt(y)};
}

std::optional<GeoRect> MapTransform::geoRangeOf(const ViewRect& rect, const GeoRect& b) const
{
    if (b.east == b.west || b.north == b.south)
        return std::nullopt;
    const int w = truncateToInt(columns_ * 256.0 * zoom_);
    const int h = truncateToInt(rows_ * 256.0 * zoom_);
    if (w <= 0 || h <= 0)
        return std::nullopt;
    // One view pixel of margin on each side covers the truncation of the forward conversion.
    const double lonPerPixel = (b.east - b.west) / w;
    const double latPerPixel = (b.north - b.south) / h;
    GeoRect range;
    range.west = b.west + (rect.left - 1 - offsetX_) * lonPerPixel;
    range.east = b.west + (rect.right + 1 - offsetX_) * lonPerPixel;
    range.north = b.south + (h - (rect.top - 1 - offsetY_)) * latPerPixel;
    range.south = b.south + (h - (rect.bottom + 1 - offsetY_)) * latPerPixel;
    // A boundary entered the wrong way round still gives an ordered range.
    if (range.west > range.east)
        std::swap(range.west, range.east);
    if (range.south > range.north)
        std::swap(range.south, range.north);
    return range;
}
