#include "imagery/ShippedFiles.h"

#include <vector>

#include "base/PathUtil.h"
#include "base/ReplaceFile.h"
#include "imagery/BitmapFile.h"

namespace {

constexpr int kSide = 256;

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
}

} // namespace

std::array<std::uint8_t, 768> shippedPaletteBytes()
{
    std::array<std::uint8_t, 768> bytes{};
    std::size_t i = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b, ++i) {
                bytes[3 * i] = static_cast<std::uint8_t>(r * 51);
                bytes[3 * i + 1] = static_cast<std::uint8_t>(g * 51);
                bytes[3 * i + 2] = static_cast<std::uint8_t>(b * 51);
            }
    for (int grey = 0; grey < 40; ++grey, ++i) {
        const auto level = static_cast<std::uint8_t>(grey * 255 / 39);
        bytes[3 * i] = bytes[3 * i + 1] = bytes[3 * i + 2] = level;
    }
    return bytes;
}

PackedBitmap shippedDefaultBitmap()
{
    const std::array<std::uint8_t, 768> palette = shippedPaletteBytes();
    const std::size_t table = 40;
    const std::size_t pixels = table + 256 * 4;
    std::vector<std::uint8_t> block(pixels + static_cast<std::size_t>(kSide) * kSide, 0);
    put32(block, 0, 40);
    put32(block, 4, kSide);
    put32(block, 8, kSide);
    block[12] = 1;   // planes
    block[14] = 8;   // bits per pixel
    put32(block, 20, static_cast<std::uint32_t>(kSide * kSide));
    put32(block, 32, 256);   // colours used
    for (std::size_t i = 0; i < 256; ++i) {
        // Colour table entries are blue, green, red, 0.
        block[table + 4 * i] = palette[3 * i + 2];
        block[table + 4 * i + 1] = palette[3 * i + 1];
        block[table + 4 * i + 2] = palette[3 * i];
    }
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            block[pixels + static_cast<std::size_t>(y) * kSide + static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>((y / 16) * 16 + x / 16);
    return PackedBitmap(std::move(block));
}

bool writeShippedFiles(const std::string& folder)
{
    const std::array<std::uint8_t, 768> palette = shippedPaletteBytes();
    const bool colors = replaceFile(PathUtil::join(folder, "colors.pcf"), {{palette.data(), palette.size()}});
    const bool bitmap = writeBitmapFile(shippedDefaultBitmap(), PathUtil::join(folder, "default.bmp"));
    return colors && bitmap;
}
