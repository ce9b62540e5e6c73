#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "imagery/LogicalPalette.h"
#include "imagery/PackedBitmap.h"

/// One texture object: a library texture (kind 0) or a project photo tile (kind 1).
/// Owned by the list that holds it; chunks link to it without owning it.
class Texture {
public:
    std::optional<PackedBitmap> image;      ///< 256 x 256, 8 bits, once loaded
    std::optional<LogicalPalette> palette;  ///< built from the image's colour table
    std::int32_t width = 0;                 ///< size, from the image
    std::int32_t height = 0;
    std::string name = "undefined.bmp";     ///< kind 0: file name in the library folder; kind 1: full tile path
    std::int32_t kind = -1;
    std::int32_t classCode = -1;            ///< also the class of the north and west edges
    std::int32_t eastClassCode = -1;
    std::int32_t southClassCode = -1;

    /// Drops image and palette and puts every other field back to its default, keeping nothing.
    void reset() { *this = Texture(); }
};
