#pragma once
// The marks drawn on one chunk: its lines of the 256-pixel grid and its TexRelief nodes.

#include <cstdint>
#include <vector>

#include "view/MapTransform.h"

/// Grid nodes are not drawn below this zoom.
constexpr double kGridNodeMinZoom = 0.125;

struct GridLine {
    ViewPoint from;
    ViewPoint to;
    bool operator==(const GridLine&) const = default;
};

/// The chunk's right edge (x = right − 1) and top edge (y = top); its left edge only in column 0
/// and its bottom edge (y = bottom − 1) only in row 0, so each line of the grid is drawn once.
std::vector<GridLine> chunkGridLines(const ViewRect& rect, std::int32_t column, std::int32_t row);

struct GridNodes {
    int radius = 0;          ///< each node is the ellipse in (x − radius, y − radius, x + radius, y + radius)
    std::vector<int> xs;     ///< node columns, left to right
    std::vector<int> ys;     ///< node rows, top to bottom
};

/// The nodes of a chunk of density n: radius zoom × 5 truncated, at least 2; from the rectangle's
/// top left corner in steps of (256 / n) × zoom, each next coordinate truncated, up to and with
/// the far edge. Empty below kGridNodeMinZoom. A density outside 1..256 (a damaged file) counts
/// as the nearest allowed one, and a step below one pixel as one pixel, so the rows always end.
GridNodes chunkGridNodes(const ViewRect& rect, std::int32_t density, double zoom);
