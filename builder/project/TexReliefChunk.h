#pragma once
#include <cstdint>
#include <string>

#include "project/ChunkProperties.h"
#include "project/GeoRect.h"

class Texture;

/// One 256 x 256-pixel chunk of the project: its area, TexRelief parameters and texture link.
struct TexReliefChunk {
    std::int32_t chunkValueA = -1;   ///< column, counted from the west
    std::int32_t chunkValueB = -1;   ///< row, counted from the south
    std::int32_t chunkValueC = 0;    ///< texture orientation 0..3
    std::int32_t selected = 0;       ///< 1 while in a view's selection; not saved
    std::int32_t textureKind = -1;   ///< 0 library texture, 1 project texture
    GeoRect area;
    ChunkProperties properties;
    Texture* texture = nullptr;      ///< non-owning link (library, noMatchTexture or project texture)
    /// The library texture name read from the project file when no library texture had that name
    /// (the chunk then links noMatchTexture); saved in its place so the name survives. Not shown.
    std::string unresolvedTextureName;
};
