#include "project/ChunkPropertyEdits.h"

#include <array>

#include "project/CDibDoc.h"

namespace {

// The thirteen values in declaration order, so the several-chunks rule is written once.
constexpr std::array<std::int32_t ChunkProperties::*, 13> kFields = {
    &ChunkProperties::gridDensity,          &ChunkProperties::areaRangeKm,
    &ChunkProperties::useBitmapMode,        &ChunkProperties::bitmapModeIndex,
    &ChunkProperties::smoothing,            &ChunkProperties::surfaceColor,
    &ChunkProperties::perspectiveShade,     &ChunkProperties::useSurfaceColor,
    &ChunkProperties::flatGridOptimization, &ChunkProperties::usePerspectiveCall2,
    &ChunkProperties::useRefPointType2,     &ChunkProperties::refPointAltitude,
    &ChunkProperties::colorMode,
};

bool validIndex(const CDibDoc& doc, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < doc.chunks.size();
}

} // namespace

ChunkProperties chunkPropertiesForEdit(const CDibDoc& doc, const std::vector<int>& selection)
{
    if (selection.size() == 1 && validIndex(doc, selection.front()))
        return doc.chunks[static_cast<std::size_t>(selection.front())].properties;
    ChunkProperties unchanged;
    for (auto field : kFields)
        unchanged.*field = kUnchangedProperty;
    return unchanged;
}

int applyChunkProperties(CDibDoc& doc, const std::vector<int>& selection, const ChunkProperties& values)
{
    int written = 0;
    const bool single = selection.size() == 1;
    for (int index : selection) {
        if (!validIndex(doc, index))
            continue;
        ChunkProperties& target = doc.chunks[static_cast<std::size_t>(index)].properties;
        if (single) {
            target = values;
        } else {
            for (auto field : kFields)
                if (values.*field != kUnchangedProperty)
                    target.*field = values.*field;
        }
        ++written;
    }
    return written;
}

ChunkFieldEnabling chunkFieldEnabling(const ChunkProperties& values)
{
    return {values.useRefPointType2 == 1, values.useBitmapMode == 1, values.useSurfaceColor == 1};
}

std::int32_t densityStepUp(std::int32_t density)
{
    if (density < 1)
        density = 1;
    return density < 256 ? (density * 2 > 256 ? 256 : density * 2) : 256;
}

std::int32_t densityStepDown(std::int32_t density)
{
    if (density < 1)
        return 1;
    if (density > 256)
        return 256;
    return density >= 2 ? density / 2 : density;
}

NodeGridPreview nodeGridPreview(std::int32_t density, int frameLeft, int frameTop, int frameSize)
{
    NodeGridPreview preview;
    preview.n = density > 0 && density < 128 ? density : 1;
    preview.cell = frameSize / preview.n;
    const int centreX = frameLeft + frameSize / 2;
    const int centreY = frameTop + frameSize / 2;
    preview.left = centreX - preview.n * preview.cell / 2;
    preview.top = centreY - preview.n * preview.cell / 2;
    return preview;
}
