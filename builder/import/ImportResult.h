#pragma once
// What the raster import hands back: the 256-colour project bitmap and where it lies.

#include <optional>
#include <string>

#include "imagery/PackedBitmap.h"
#include "import/ImportOptions.h"
#include "project/GeoRect.h"

struct ImportResult {
    PackedBitmap bitmap;             ///< 8 bits per pixel, 40-byte header, sides multiples of 1024
    ImportColors colors{};           ///< its colour table
    std::optional<GeoRect> extents;  ///< the pixels' outer edges; nothing when unknown
    bool georeferenced = false;      ///< the extents come from the image itself
    bool passedThrough = false;      ///< the source already was a valid project bitmap
    std::string sourcePath;
    int sourceWidth = 0;
    int sourceHeight = 0;
    int sourceBands = 0;
    std::string sourceSystem;        ///< name of the source's coordinate system, when it has one
};
