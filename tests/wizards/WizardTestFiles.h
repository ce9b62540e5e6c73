#pragma once
// Test input for the wizard tests: 8-bit bitmaps whose pixel values tell where they came from.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace WizardTestFiles {

/// Writes an uncompressed 8-bit bottom-up BMP with a 256-entry grey colour table; `pixel(x, y)`
/// gives the index at column x of row y (0 = bottom row).
inline void writeBitmap(const std::string& path, int width, int height,
                        const std::function<std::uint8_t(int, int)>& pixel)
{
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t offset = 14 + 40 + 1024;
    std::vector<unsigned char> b(offset + stride * static_cast<std::size_t>(height), 0);
    auto put32 = [&b](std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k)
            b[at + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, static_cast<std::uint32_t>(offset));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = 8;
    put32(34, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)));
    put32(46, 256);
    for (int i = 0; i < 256; ++i)
        b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = static_cast<unsigned char>(i);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b[offset + stride * static_cast<std::size_t>(y) + static_cast<std::size_t>(x)] = pixel(x, y);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                static_cast<std::streamsize>(b.size()));
}

/// A pixel value that names its 256 x 256 chunk: 16 x row + column (from the south-west).
inline std::uint8_t chunkCode(int x, int y)
{
    return static_cast<std::uint8_t>((y / 256) * 16 + x / 256);
}

} // namespace WizardTestFiles
