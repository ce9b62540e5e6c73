#pragma once
// The small picture of one altitude map shown on its source page: grey by altitude, water blue.

#include <cstdint>
#include <vector>

class AltitudeMap;

struct AltitudePreviewImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;   ///< 0x00BBGGRR, row 0 at the top (north)

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

/// A columns x rows picture, black where no record falls. Each record is placed by its position
/// within the map's latitude and longitude extents, north at the top. Its grey is its altitude
/// over the map's range (for a BMP map in the image's grey levels, else 0..255); with `showWater`
/// a record at or below `waterLevel` is blue. `clampEdges` moves records on the east and north
/// edges onto the last column and row instead of leaving them out. A map of one altitude (or one
/// grey level) has no grey step: it shows its lowest grey, blue when the level reaches it.
/// A grid with far more cells than the map has records (a damaged file) gives no picture.
AltitudePreviewImage buildAltitudePreview(const AltitudeMap& map, bool showWater, std::int32_t waterLevel,
                                          bool clampEdges);
