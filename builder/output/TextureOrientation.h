#pragma once
// The texture orientation of a chunk (its flip value, 0 to 3) and what it does to the texture:
// bit 0 mirrors the texture left to right (east-west, the first texture coordinate u),
// bit 1 mirrors it top to bottom (north-south, the second coordinate v).
// The source writer, the map view and the chunk Texture page all take the orientation from
// here, so the written scenery and the pictures on screen always agree.

#include <cstdint>

struct TextureOrientation {
    bool mirrorEastWest = false;    ///< u (image x) runs from the east edge back to the west
    bool mirrorNorthSouth = false;  ///< v (image y, counted from the bottom row) runs from the north back to the south

    /// The orientation of a flip value; values outside 0..3 (a damaged file) count as 0.
    static TextureOrientation fromFlipValue(std::int32_t flipValue);
};

/// The texture coordinate of node k (0..n) along one side of a TexRelief grid of density n
/// (1..256). Unmirrored the values are 0, step, 2·step, ..., (n − 1)·step and finally 255
/// (step = 256 / n, integer division), so the last node lies on the far texture edge for
/// every density. A mirrored axis takes 255 minus that value: it starts at 255 and closes at 0,
/// so mirroring twice gives the original order and every value stays inside 0..255.
std::int32_t textureCoordinate(std::int32_t k, std::int32_t n, bool mirrored);

/// The source rectangle of a 256 x 256 texture image for painting, as start and exclusive end
/// of each image axis (x left to right, y top to bottom): a mirrored axis runs from 255 to -1.
struct TextureSourceRect {
    std::int32_t left = 0, top = 0, right = 256, bottom = 256;
};
TextureSourceRect textureSourceRect(const TextureOrientation& orientation);
