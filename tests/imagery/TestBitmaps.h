#pragma once
// Bitmap files generated for the imagery tests (nothing binary is kept in the tree).

#include <cstdint>
#include <functional>
#include <vector>

namespace testbmp {

/// A colour per palette index, all 256 distinct, so the nearest entry of an exact colour is that entry.
inline std::uint32_t paletteColor(int i)
{
    const std::uint32_t red = static_cast<std::uint32_t>(i);
    const std::uint32_t green = static_cast<std::uint32_t>((i * 37 + 11) & 0xFF);
    const std::uint32_t blue = static_cast<std::uint32_t>(255 - i);
    return red | green << 8 | blue << 16;
}

/// Index of the pixel at column x of stored row y (0 = bottom row) in the default pattern.
inline std::uint8_t patternIndex(int x, int y)
{
    return static_cast<std::uint8_t>((x * 7 + y * 13 + (x >> 8) * 31 + (y >> 8) * 57) & 0xFF);
}

struct Layout {
    std::int32_t width = 1024;
    std::int32_t height = 1024;
    std::uint16_t bitsPerPixel = 8;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;     ///< written into the header; the table holds tableEntries
    int tableEntries = 256;            ///< colour-table entries actually written
    bool coreHeader = false;
    std::function<std::uint32_t(int)> color = paletteColor;
    std::function<std::uint8_t(int, int)> pixel = patternIndex;
    long long truncateTo = -1;         ///< cut the finished file to this many bytes
};

inline void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

/// The bytes of a .bmp file. Pixels of 8 bits come from `pixel`; other depths are zero-filled.
inline std::vector<std::uint8_t> makeFile(const Layout& layout)
{
    const std::size_t header = layout.coreHeader ? 12 : 40;
    const std::size_t entry = layout.coreHeader ? 3 : 4;
    const std::size_t table = static_cast<std::size_t>(layout.tableEntries) * entry;
    const std::size_t absHeight = static_cast<std::size_t>(layout.height < 0 ? -layout.height : layout.height);
    const std::size_t stride =
        (static_cast<std::size_t>(layout.width > 0 ? layout.width : 0) * layout.bitsPerPixel + 31) / 32 * 4;
    const std::size_t image = stride * absHeight;
    std::vector<std::uint8_t> out(14 + header + table + image, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, static_cast<std::uint32_t>(14 + header + table));
    if (layout.coreHeader) {
        put32(out, 14, 12);
        put16(out, 18, static_cast<std::uint32_t>(layout.width));
        put16(out, 20, static_cast<std::uint32_t>(layout.height));
        put16(out, 22, 1);
        put16(out, 24, layout.bitsPerPixel);
    } else {
        put32(out, 14, 40);
        put32(out, 18, static_cast<std::uint32_t>(layout.width));
        put32(out, 22, static_cast<std::uint32_t>(layout.height));
        put16(out, 26, 1);
        put16(out, 28, layout.bitsPerPixel);
        put32(out, 30, layout.compression);
        put32(out, 34, static_cast<std::uint32_t>(image));
        put32(out, 46, layout.colorsUsed);
    }
    for (int i = 0; i < layout.tableEntries; ++i) {
        const std::uint32_t c = layout.color(i);
        const std::size_t at = 14 + header + static_cast<std::size_t>(i) * entry;
        out[at] = static_cast<std::uint8_t>(c >> 16);
        out[at + 1] = static_cast<std::uint8_t>(c >> 8);
        out[at + 2] = static_cast<std::uint8_t>(c);
    }
    if (layout.bitsPerPixel == 8 && layout.width > 0)
        for (std::size_t y = 0; y < absHeight; ++y)
            for (int x = 0; x < layout.width; ++x)
                out[14 + header + table + y * stride + static_cast<std::size_t>(x)] = layout.pixel(x, static_cast<int>(y));
    if (layout.truncateTo >= 0 && static_cast<std::size_t>(layout.truncateTo) < out.size())
        out.resize(static_cast<std::size_t>(layout.truncateTo));
    return out;
}

} // namespace testbmp
