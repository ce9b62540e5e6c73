#pragma once
// Builds small texture libraries for the tests: uncompressed BMP files written byte by byte,
// so the tests do not depend on the program's own bitmap writer.

#include <cstdint>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace SynthTestFiles {

inline void putU16(std::vector<unsigned char>& out, std::uint16_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

inline void putU32(std::vector<unsigned char>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

/// A BMP of the given size and depth (8 or 24 bits); palette entry i is (i, 255 - i, i / 2);
/// pixel (x, y) of stored row y is (x + y + seed) mod 256.
inline std::vector<unsigned char> bitmapBytes(int width, int height, int bits = 8, int seed = 0)
{
    const int colors = bits == 8 ? 256 : 0;
    const std::uint32_t stride = static_cast<std::uint32_t>((width * bits / 8 + 3) / 4 * 4);
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(colors) * 4;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, offset + pixelBytes);
    putU32(out, 0);
    putU32(out, offset);
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);
    putU16(out, static_cast<std::uint16_t>(bits));
    putU32(out, 0);
    putU32(out, pixelBytes);
    putU32(out, 2835);
    putU32(out, 2835);
    putU32(out, static_cast<std::uint32_t>(colors));
    putU32(out, 0);
    for (int i = 0; i < colors; ++i) {
        out.push_back(static_cast<unsigned char>(i / 2));   // blue
        out.push_back(static_cast<unsigned char>(255 - i)); // green
        out.push_back(static_cast<unsigned char>(i));       // red
        out.push_back(0);
    }
    for (int y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < stride; ++x)
            out.push_back(static_cast<unsigned char>(static_cast<int>(x) + y + seed));
    return out;
}

/// Writes a 256 x 256 8-bit texture for every name into the folder.
inline void writeLibrary(const TempDir& dir, const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        dir.write(name, bitmapBytes(256, 256));
}

} // namespace SynthTestFiles
