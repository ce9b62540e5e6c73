#pragma once
// Small 8-bit texture images that tests and benchmarks paint with.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "imagery/PackedBitmap.h"

/// A 256 x 256 8-bit bitmap with a 40-byte header; its colour table and pixels are all zero.
inline PackedBitmap blankTexture()
{
    std::vector<std::uint8_t> block(40 + 256 * 4 + 256 * 256, 0);
    PackedBitmap bitmap(std::move(block));
    bitmap.putU32(0, 40);
    bitmap.putU32(4, 256);
    bitmap.putU32(8, 256);
    bitmap.block()[12] = 1;   // planes
    bitmap.block()[14] = 8;   // bits per pixel
    return bitmap;
}

/// A texture with a palette and a pattern of its own, so a wrongly scaled or shifted mosaic shows;
/// 256 x 256 unless asked otherwise (rows padded to four bytes).
inline PackedBitmap patternTexture(int seed, int width = 256, int height = 256)
{
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    std::vector<std::uint8_t> block(40 + 256 * 4 + stride * static_cast<std::size_t>(height), 0);
    PackedBitmap bitmap(std::move(block));
    bitmap.putU32(0, 40);
    bitmap.putU32(4, static_cast<std::uint32_t>(width));
    bitmap.putU32(8, static_cast<std::uint32_t>(height));
    bitmap.block()[12] = 1;   // planes
    bitmap.block()[14] = 8;   // bits per pixel
    std::uint8_t* table = bitmap.block().data() + 40;
    for (int i = 0; i < 256; ++i) {
        table[4 * i] = static_cast<std::uint8_t>(i);
        table[4 * i + 1] = static_cast<std::uint8_t>(255 - i);
        table[4 * i + 2] = static_cast<std::uint8_t>(i * seed);
    }
    std::uint8_t* pixels = table + 1024;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * stride + x] = static_cast<std::uint8_t>((x * 3) ^ (y * 5) ^ seed);
    return bitmap;
}
