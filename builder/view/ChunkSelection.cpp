#include "view/ChunkSelection.h"

#include <algorithm>
#include <cmath>

#include "project/TexReliefChunk.h"

std::optional<std::uint32_t> chunkIndexAt(double latitude, double longitude, const GeoRect& b,
                                          std::int32_t chunkColumns, std::int32_t chunkRows, std::size_t chunkCount)
{
    if (b.east == b.west || b.north == b.south || chunkColumns <= 0 || chunkRows <= 0)
        return std::nullopt;
    const double c = (longitude - b.west) / (b.east - b.west) * chunkColumns;
    const double r = (latitude - b.south) / (b.north - b.south) * chunkRows;
    if (!std::isfinite(c) || !std::isfinite(r) || c < 0 || r < 0 || c >= chunkColumns || r >= chunkRows)
        return std::nullopt;
    const std::int64_t index = static_cast<std::int64_t>(r) * chunkColumns + static_cast<std::int64_t>(c);
    if (index >= static_cast<std::int64_t>(chunkCount))
        return std::nullopt;
    return static_cast<std::uint32_t>(index);
}

std::vector<std::uint32_t> ChunkSelection::clear(std::vector<TexReliefChunk>& chunks)
{
    std::vector<std::uint32_t> changed;
    for (std::uint32_t i : indices_) {
        if (i < chunks.size())
            chunks[i].selected = 0;
        if (std::find(changed.begin(), changed.end(), i) == changed.end())
            changed.push_back(i);
    }
    indices_.clear();
    return changed;
}

std::vector<std::uint32_t> ChunkSelection::click(std::vector<TexReliefChunk>& chunks, std::uint32_t index, bool shift)
{
    std::vector<std::uint32_t> changed;
    if (!shift)
        changed = clear(chunks);
    if (index >= chunks.size())
        return changed;
    const bool wasSelected = std::find(indices_.begin(), indices_.end(), index) != indices_.end();
    if (wasSelected) {
        indices_.erase(std::remove(indices_.begin(), indices_.end(), index), indices_.end());
        chunks[index].selected = 0;
    } else {
        indices_.push_back(index);
        chunks[index].selected = 1;
    }
    auto note = [&](std::uint32_t i) {
        if (std::find(changed.begin(), changed.end(), i) == changed.end())
            changed.push_back(i);
    };
    note(index);
    for (std::uint32_t i : indices_)
        note(i);
    return changed;
}

std::vector<OutlineEdge> ChunkSelection::outline(const std::vector<TexReliefChunk>& chunks,
                                                 const MapTransform& transform) const
{
    const int cols = transform.chunkColumns();
    const int rows = transform.chunkRows();
    // Selected by position, from the chunks' own column and row.
    auto selectedAt = [&](int c, int r) {
        if (c < 0 || r < 0 || c >= cols || r >= rows)
            return false;
        const std::size_t i = static_cast<std::size_t>(r) * cols + c;
        return i < chunks.size() && chunks[i].selected != 0 &&
               std::find(indices_.begin(), indices_.end(), static_cast<std::uint32_t>(i)) != indices_.end();
    };
    const int inset = truncateToInt(10 * transform.zoom());
    std::vector<OutlineEdge> edges;
    std::vector<std::uint32_t> seen;
    for (std::uint32_t index : indices_) {
        if (index >= chunks.size() || std::find(seen.begin(), seen.end(), index) != seen.end())
            continue;
        seen.push_back(index);
        const int c = chunks[index].chunkValueA;
        const int r = chunks[index].chunkValueB;
        const ViewRect rect = transform.chunkRect(c, r);
        const int l = rect.left, t = rect.top, rt = rect.right, b = rect.bottom;
        const int i = inset;
        // Rows grow northwards, view y southwards: the northern neighbour is row r + 1.
        const bool north = selectedAt(c, r + 1), south = selectedAt(c, r - 1);
        const bool west = selectedAt(c - 1, r), east = selectedAt(c + 1, r);
        // The end of a piece: inset at a corner of the outline, on to the edge where the outline
        // goes on straight, past it where it turns around the diagonal neighbour.
        auto end = [&](bool sideSelected, bool diagonalSelected, int edge, int direction) {
            if (!sideSelected)
                return edge - direction * i;
            return diagonalSelected ? edge + direction * i : edge;
        };
        if (!north) {
            const int y = t + i;
            edges.push_back({{end(west, selectedAt(c - 1, r + 1), l, -1), y},
                             {end(east, selectedAt(c + 1, r + 1), rt, 1), y}});
        }
        if (!south) {
            const int y = b - i;
            edges.push_back({{end(west, selectedAt(c - 1, r - 1), l, -1), y},
                             {end(east, selectedAt(c + 1, r - 1), rt, 1), y}});
        }
        if (!west) {
            const int x = l + i;
            edges.push_back({{x, end(north, selectedAt(c - 1, r + 1), t, -1)},
                             {x, end(south, selectedAt(c - 1, r - 1), b, 1)}});
        }
        if (!east) {
            const int x = rt - i;
            edges.push_back({{x, end(north, selectedAt(c + 1, r + 1), t, -1)},
                             {x, end(south, selectedAt(c + 1, r - 1), b, 1)}});
        }
    }
    return edges;
}
