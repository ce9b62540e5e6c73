#pragma once
#include <cstdint>

/// The thirteen TexRelief parameters of one chunk, in declaration order.
/// The project file stores them under tags 50..60 (fields 1-3, 5-12), 61 (field 4) and 62 (field 13).
struct ChunkProperties {
    std::int32_t gridDensity = 4;
    std::int32_t areaRangeKm = 60;
    std::int32_t useBitmapMode = 1;
    std::int32_t bitmapModeIndex = 0;
    std::int32_t smoothing = 1;
    std::int32_t surfaceColor = 1;
    std::int32_t perspectiveShade = 1;
    std::int32_t useSurfaceColor = 1;
    std::int32_t flatGridOptimization = 0;
    std::int32_t usePerspectiveCall2 = 1;
    std::int32_t useRefPointType2 = 1;
    std::int32_t refPointAltitude = 0;
    std::int32_t colorMode = 0;

    bool operator==(const ChunkProperties&) const = default;
};
