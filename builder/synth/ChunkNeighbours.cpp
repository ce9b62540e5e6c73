#include "synth/ChunkNeighbours.h"

#include "project/CDibDoc.h"

namespace ChunkNeighbours {

long neighbourIndex(const CDibDoc& doc, long chunkIndex, int position)
{
    if (position < 0 || position > 8 || doc.chunkColumns <= 0 || chunkIndex < 0)
        return -1;
    const long columns = doc.chunkColumns;
    const long rows = doc.chunkRows;
    const long r = chunkIndex / columns;
    const long c = chunkIndex % columns;
    const long dr = position / 3 - 1;   // 0..2 south, same row, north
    const long dc = position % 3 - 1;   // 0,3,6 west; 2,5,8 east
    if ((dr < 0 && r <= 0) || (dr > 0 && r >= rows - 1) || (dc < 0 && c <= 0) || (dc > 0 && c >= columns - 1))
        return -1;
    const long index = (r + dr) * columns + (c + dc);
    if (index < 0 || static_cast<unsigned long>(index) >= doc.chunks.size())
        return -1;
    return index;
}

} // namespace ChunkNeighbours
