#pragma once
// The small photographic project the window pictures show: 4 x 3 chunks over 0.75 x 1 degree.

#include "project/CDibDoc.h"

inline void fillDemoProject(CDibDoc& doc)
{
    doc.chunkColumns = 4;
    doc.chunkRows = 3;
    doc.boundary = {45.0, 45.75, 15.0, 16.0};
    doc.texturePrefix = "demo";
    const double dLat = (doc.boundary.north - doc.boundary.south) / doc.chunkRows;
    const double dLon = (doc.boundary.east - doc.boundary.west) / doc.chunkColumns;
    for (int r = 0; r < doc.chunkRows; ++r)
        for (int c = 0; c < doc.chunkColumns; ++c) {
            TexReliefChunk chunk;
            chunk.chunkValueA = c;
            chunk.chunkValueB = r;
            chunk.area = {doc.boundary.south + r * dLat, doc.boundary.south + (r + 1) * dLat,
                          doc.boundary.west + c * dLon, doc.boundary.west + (c + 1) * dLon};
            doc.chunks.push_back(chunk);
        }
}
