#include "imagery/PaletteRanges.h"

#include "project/CDibDoc.h"

PaletteSpan paletteSpan(PaletteRange range)
{
    switch (range) {
    case PaletteRange::Standard: return {0, 116};
    case PaletteRange::Night: return {116, 12};
    case PaletteRange::Custom: return {192, 64};
    case PaletteRange::SkyGround: return {160, 32};
    }
    return {0, 0};
}

void refreshPaletteRange(std::array<std::int32_t, 256>& colors, PaletteRange range, bool included,
                         const CDibDoc& doc)
{
    const std::uint32_t* source = nullptr;
    switch (range) {
    case PaletteRange::Standard: source = doc.standardColors.data(); break;
    case PaletteRange::Night: source = doc.nightColors.data(); break;
    case PaletteRange::Custom: source = doc.customColors.data(); break;
    case PaletteRange::SkyGround: source = doc.skyGroundColors.data(); break;
    }
    const PaletteSpan span = paletteSpan(range);
    for (int i = 0; i < span.count; ++i)
        colors[span.first + i] = included ? static_cast<std::int32_t>(source[i]) : 0;
}
