#pragma once
// The in-memory form of every bitmap: one block holding the information header (40-byte or
// 12-byte core form), the colour table and the pixel rows, bottom row first, padded to 4 bytes.
// The 14-byte file header is not kept. Accessors never read outside the block.

#include <cstddef>
#include <cstdint>
#include <vector>

class PackedBitmap {
public:
    PackedBitmap() = default;
    explicit PackedBitmap(std::vector<std::uint8_t> block) : block_(std::move(block)) {}

    const std::vector<std::uint8_t>& block() const { return block_; }
    std::vector<std::uint8_t>& block() { return block_; }
    bool empty() const { return block_.empty(); }

    /// 40 or 12 for the two known header forms; 0 when the block is too short to tell.
    std::uint32_t headerSize() const;
    bool isCoreHeader() const { return headerSize() == 12; }
    /// True when the header is one of the two forms and fits in the block.
    bool hasValidHeader() const;

    std::int32_t width() const;
    std::int32_t height() const;
    /// The header's raw 32-bit width and height (40-byte form), for the "too large" checks.
    std::uint32_t rawWidth() const;
    std::uint32_t rawHeight() const;
    std::uint16_t bitsPerPixel() const;
    std::uint32_t compression() const;   ///< 0 for the core form
    std::uint32_t colorsUsed() const;    ///< 0 for the core form

    /// Bytes of one stored pixel row (padded to a multiple of 4); 0 on a bad header.
    std::size_t rowStride() const;

    /// Colour table entry as 0x00BBGGRR; 0 outside the table or the block.
    std::uint32_t colorAt(std::size_t index) const;

    /// Offset of the first pixel row inside the block: header size + colour table size.
    std::size_t pixelOffset() const;
    /// True when the block holds every pixel row that the header claims (height x stride bytes).
    bool pixelsComplete() const;

    /// Pixel index at column x of stored row y (0 = bottom row); 0 outside the image or the block.
    std::uint8_t pixelIndex(std::int32_t x, std::int32_t y) const;
    /// Address of the first pixel row, or nullptr when the block does not reach it.
    const std::uint8_t* pixels() const;
    std::uint8_t* pixels();

    /// Little-endian field access inside the block (bounds-checked; out of range reads give 0).
    std::uint32_t u32(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    void putU32(std::size_t offset, std::uint32_t value);

private:
    std::vector<std::uint8_t> block_;
};

/// The header's colours-used value when non-zero (40-byte header), otherwise 2, 16 or 256 for
/// 1, 4 and 8 bits per pixel, and 0 for any other depth.
int bitmapColorCount(const PackedBitmap& bitmap);
/// bitmapColorCount x 4 (40-byte header) or x 3 (core header).
std::size_t colorTableSize(const PackedBitmap& bitmap);
/// Address of the first pixel row (header size + colour table size), or nullptr.
const std::uint8_t* bitmapPixels(const PackedBitmap& bitmap);
