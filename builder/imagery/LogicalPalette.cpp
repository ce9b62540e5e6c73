#include "imagery/LogicalPalette.h"

#include <limits>

std::uint32_t LogicalPalette::colorRef(std::size_t i) const
{
    if (i >= entries.size())
        return 0;
    const PaletteEntry& e = entries[i];
    return static_cast<std::uint32_t>(e.red) | static_cast<std::uint32_t>(e.green) << 8 |
           static_cast<std::uint32_t>(e.blue) << 16;
}

std::size_t LogicalPalette::nearestIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const
{
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int dr = int(entries[i].red) - red;
        const int dg = int(entries[i].green) - green;
        const int db = int(entries[i].blue) - blue;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {   // strict: the lowest index wins a tie
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}
