#pragma once
// The four source ranges of the scenery palette and how a check box fills or clears its range.

#include <array>
#include <cstdint>

class CDibDoc;

/// In the order of colorTableParams.
enum class PaletteRange { Standard = 0, Night = 1, Custom = 2, SkyGround = 3 };

struct PaletteSpan {
    int first;   ///< first entry of the scenery palette
    int count;
};

/// Standard 0-115, night 116-127, custom 192-255, sky/ground 160-191. Entries 128-159 belong to none.
PaletteSpan paletteSpan(PaletteRange range);

/// Fills the range of `colors` from its source table of `doc` when `included`, else sets it to black (0).
void refreshPaletteRange(std::array<std::int32_t, 256>& colors, PaletteRange range, bool included,
                         const CDibDoc& doc);
