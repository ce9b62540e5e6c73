#pragma once
// The 3 x 3 neighbourhood of a chunk in a grid stored row by row from the south-west corner:
// chunk index = row x chunkColumns + column, rows counted from the south, columns from the west.

class CDibDoc;

namespace ChunkNeighbours {

/// Positions of the neighbourhood; 4 is the chunk itself.
enum Position {
    SouthWest = 0,
    South = 1,
    SouthEast = 2,
    West = 3,
    Self = 4,
    East = 5,
    NorthWest = 6,
    North = 7,
    NorthEast = 8,
};

/// The chunk index at `position` around `chunkIndex`, or -1 when that neighbour lies outside the
/// grid, the index lies outside the document's chunk list, or the grid has no columns.
long neighbourIndex(const CDibDoc& doc, long chunkIndex, int position);

} // namespace ChunkNeighbours
