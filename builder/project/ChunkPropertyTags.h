#pragma once
// Where each of the thirteen chunk properties is stored in the project file: tags 50..60 hold the
// first three and the fifth to twelfth fields, 61 the fourth (bitmapModeIndex), 62 the thirteenth.

#include <cstdint>

#include "project/ChunkProperties.h"

/// The field of `properties` stored under `tag`, or nullptr for a tag outside 50..62.
inline std::int32_t* chunkPropertyField(ChunkProperties& properties, std::uint16_t tag)
{
    switch (tag) {
    case 50: return &properties.gridDensity;
    case 51: return &properties.areaRangeKm;
    case 52: return &properties.useBitmapMode;
    case 53: return &properties.smoothing;
    case 54: return &properties.surfaceColor;
    case 55: return &properties.perspectiveShade;
    case 56: return &properties.useSurfaceColor;
    case 57: return &properties.flatGridOptimization;
    case 58: return &properties.usePerspectiveCall2;
    case 59: return &properties.useRefPointType2;
    case 60: return &properties.refPointAltitude;
    case 61: return &properties.bitmapModeIndex;
    case 62: return &properties.colorMode;
    default: return nullptr;
    }
}

inline const std::int32_t* chunkPropertyField(const ChunkProperties& properties, std::uint16_t tag)
{
    return chunkPropertyField(const_cast<ChunkProperties&>(properties), tag);
}
