#include "import/ChunkSizing.h"

#include <algorithm>
#include <cmath>

int nearestChunkSide(double pixels)
{
    const double blocks = std::floor(pixels / kChunkSide + 0.5);
    return static_cast<int>(std::max(1.0, std::min(blocks, 1024.0))) * kChunkSide;
}

int paddedChunkSide(int pixels)
{
    return std::max(1, (pixels + kChunkSide - 1) / kChunkSide) * kChunkSide;
}

PixelSize sizeForResolution(const GeoRect& extents, double metresPerPixel)
{
    const double phi = (extents.north + extents.south) / 2;
    const double k = std::cos(phi * 3.14159265359 / 180) * 40075.0 / 360.0;
    const double width = (extents.east - extents.west) * k * 1000 / metresPerPixel;
    const double height = (extents.north - extents.south) * 111.13055555555556 * 1000 / metresPerPixel;
    return {nearestChunkSide(width), nearestChunkSide(height)};
}

GeoRect paddedExtents(const GeoRect& extents, PixelSize original, PixelSize padded)
{
    const double columnWidth = (extents.east - extents.west) / original.width;
    const double rowHeight = (extents.north - extents.south) / original.height;
    GeoRect out = extents;
    out.east = extents.west + padded.width * columnWidth;
    out.south = extents.north - padded.height * rowHeight;
    return out;
}

PixelSize fitInto(PixelSize size, int side)
{
    if (size.width <= side && size.height <= side)
        return size;
    const double scale = static_cast<double>(side) / std::max(size.width, size.height);
    return {std::max(1, static_cast<int>(std::lround(size.width * scale))),
            std::max(1, static_cast<int>(std::lround(size.height * scale)))};
}
