#pragma once
// Sizes that make a picture whole 1024-pixel blocks, and the extents that go with them.
// Extents are the outer edges of the outer pixels (pixel-is-area): a picture of w columns from
// west W to east E has columns (E - W) / w wide, the first starting exactly at W.

#include <cstdint>

#include "project/GeoRect.h"

inline constexpr int kChunkSide = 1024;

/// The multiple of 1024 nearest to `pixels` (halves round up), at least 1024.
int nearestChunkSide(double pixels);
/// The smallest multiple of 1024 that holds `pixels` (at least 1024).
int paddedChunkSide(int pixels);

struct PixelSize {
    int width = 0;
    int height = 0;
};

/// The size at `metresPerPixel` over `extents`, each side rounded to its nearest whole 1024s.
/// Distances are the builder's own: cos(mid-latitude) x 40075 / 360 km per degree of longitude and
/// 111.13055555555556 km per degree of latitude.
PixelSize sizeForResolution(const GeoRect& extents, double metresPerPixel);

/// Extents of `padded` pixels when the picture's `original` pixels cover `extents` and sit in the
/// north-west corner: the east and south edges move out by whole pixels.
GeoRect paddedExtents(const GeoRect& extents, PixelSize original, PixelSize padded);

/// Fits a size into a square of `side` pixels keeping its proportions (for previews).
PixelSize fitInto(PixelSize size, int side);
