#pragma once
// A palette built from a bitmap's colour table: one entry per table entry, in order.

#include <cstddef>
#include <cstdint>
#include <vector>

struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

class LogicalPalette {
public:
    std::uint16_t version = 0x300;
    std::vector<PaletteEntry> entries;

    std::size_t size() const { return entries.size(); }
    /// Entry i as 0x00BBGGRR; 0 outside the palette.
    std::uint32_t colorRef(std::size_t i) const;
    /// The entry nearest to the colour: smallest squared RGB distance, lowest index on a tie.
    /// 0 for an empty palette.
    std::size_t nearestIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;
};
