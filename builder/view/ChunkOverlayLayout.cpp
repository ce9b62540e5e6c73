#include "view/ChunkOverlayLayout.h"

#include <algorithm>

std::vector<GridLine> chunkGridLines(const ViewRect& r, std::int32_t column, std::int32_t row)
{
    std::vector<GridLine> lines;
    lines.push_back({{r.right - 1, r.top}, {r.right - 1, r.bottom}});
    lines.push_back({{r.left, r.top}, {r.right, r.top}});
    if (column == 0)
        lines.push_back({{r.left, r.top}, {r.left, r.bottom}});
    if (row == 0)
        lines.push_back({{r.left, r.bottom - 1}, {r.right, r.bottom - 1}});
    return lines;
}

namespace {
std::vector<int> steps(int from, int to, double step)
{
    std::vector<int> values;
    double v = from;
    while (v <= to) {
        values.push_back(static_cast<int>(v));
        const double next = truncateToInt(v + step);
        v = next > v ? next : v + 1;
    }
    return values;
}
} // namespace

GridNodes chunkGridNodes(const ViewRect& rect, std::int32_t density, double zoom)
{
    GridNodes nodes;
    if (!(zoom >= kGridNodeMinZoom))
        return nodes;
    const int n = std::clamp(density, 1, 256);
    nodes.radius = std::max(2, truncateToInt(zoom * 5));
    const double step = (256 / n) * zoom;
    nodes.xs = steps(rect.left, rect.right, step);
    nodes.ys = steps(rect.top, rect.bottom, step);
    return nodes;
}
