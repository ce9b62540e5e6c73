#include "imagery/PackedBitmap.h"

std::uint32_t PackedBitmap::u32(std::size_t offset) const
{
    if (offset > block_.size() || block_.size() - offset < 4)
        return 0;
    return static_cast<std::uint32_t>(block_[offset]) | static_cast<std::uint32_t>(block_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(block_[offset + 2]) << 16 | static_cast<std::uint32_t>(block_[offset + 3]) << 24;
}

std::uint16_t PackedBitmap::u16(std::size_t offset) const
{
    if (offset > block_.size() || block_.size() - offset < 2)
        return 0;
    return static_cast<std::uint16_t>(block_[offset] | block_[offset + 1] << 8);
}

void PackedBitmap::putU32(std::size_t offset, std::uint32_t value)
{
    if (offset > block_.size() || block_.size() - offset < 4)
        return;
    for (int i = 0; i < 4; ++i)
        block_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t PackedBitmap::headerSize() const
{
    const std::uint32_t size = u32(0);
    if (size == 40 && block_.size() >= 40)
        return 40;
    if (size == 12 && block_.size() >= 12)
        return 12;
    return 0;
}

bool PackedBitmap::hasValidHeader() const
{
    return headerSize() != 0;
}

std::int32_t PackedBitmap::width() const
{
    const std::uint32_t h = headerSize();
    if (h == 40)
        return static_cast<std::int32_t>(u32(4));
    if (h == 12)
        return u16(4);
    return 0;
}

std::int32_t PackedBitmap::height() const
{
    const std::uint32_t h = headerSize();
    if (h == 40)
        return static_cast<std::int32_t>(u32(8));
    if (h == 12)
        return u16(6);
    return 0;
}

std::uint32_t PackedBitmap::rawWidth() const
{
    return headerSize() == 40 ? u32(4) : static_cast<std::uint32_t>(width());
}

std::uint32_t PackedBitmap::rawHeight() const
{
    return headerSize() == 40 ? u32(8) : static_cast<std::uint32_t>(height());
}

std::uint16_t PackedBitmap::bitsPerPixel() const
{
    const std::uint32_t h = headerSize();
    if (h == 40)
        return u16(14);
    if (h == 12)
        return u16(10);
    return 0;
}

std::uint32_t PackedBitmap::compression() const
{
    return headerSize() == 40 ? u32(16) : 0;
}

std::uint32_t PackedBitmap::colorsUsed() const
{
    return headerSize() == 40 ? u32(32) : 0;
}

std::size_t PackedBitmap::rowStride() const
{
    const std::int32_t w = width();
    const std::uint16_t bpp = bitsPerPixel();
    if (w <= 0 || bpp == 0)
        return 0;
    return ((static_cast<std::uint64_t>(w) * bpp + 31) / 32) * 4;
}

std::size_t PackedBitmap::pixelOffset() const
{
    return headerSize() + colorTableSize(*this);
}

std::uint32_t PackedBitmap::colorAt(std::size_t index) const
{
    const int count = bitmapColorCount(*this);
    if (count <= 0 || index >= static_cast<std::size_t>(count))
        return 0;
    const std::size_t entry = isCoreHeader() ? 3 : 4;
    const std::size_t offset = headerSize() + index * entry;
    if (offset + 3 > block_.size())
        return 0;
    const std::uint32_t blue = block_[offset];
    const std::uint32_t green = block_[offset + 1];
    const std::uint32_t red = block_[offset + 2];
    return red | green << 8 | blue << 16;
}

bool PackedBitmap::pixelsComplete() const
{
    const std::int32_t h = height();
    const std::size_t stride = rowStride();
    if (h <= 0 || stride == 0)
        return false;
    const std::size_t offset = pixelOffset();
    if (offset > block_.size())
        return false;
    return (block_.size() - offset) / stride >= static_cast<std::size_t>(h);
}

const std::uint8_t* PackedBitmap::pixels() const
{
    const std::size_t offset = pixelOffset();
    if (!hasValidHeader() || offset >= block_.size())
        return nullptr;
    return block_.data() + offset;
}

std::uint8_t* PackedBitmap::pixels()
{
    const std::size_t offset = pixelOffset();
    if (!hasValidHeader() || offset >= block_.size())
        return nullptr;
    return block_.data() + offset;
}

std::uint8_t PackedBitmap::pixelIndex(std::int32_t x, std::int32_t y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height() || bitsPerPixel() != 8)
        return 0;
    const std::size_t offset = pixelOffset() + static_cast<std::size_t>(y) * rowStride() + static_cast<std::size_t>(x);
    return offset < block_.size() ? block_[offset] : 0;
}

int bitmapColorCount(const PackedBitmap& bitmap)
{
    if (bitmap.headerSize() == 40 && bitmap.colorsUsed() != 0)
        return static_cast<int>(bitmap.colorsUsed() > 0x7fffffffu ? 0x7fffffff : bitmap.colorsUsed());
    switch (bitmap.bitsPerPixel()) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

std::size_t colorTableSize(const PackedBitmap& bitmap)
{
    const std::size_t entry = bitmap.isCoreHeader() ? 3 : 4;
    return static_cast<std::size_t>(bitmapColorCount(bitmap)) * entry;
}

const std::uint8_t* bitmapPixels(const PackedBitmap& bitmap)
{
    return bitmap.pixels();
}
