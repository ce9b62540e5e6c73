#include "imagery/BitmapFile.h"

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "base/FileLimits.h"
#include "base/InputFile.h"
#include "base/ReplaceFile.h"

namespace {
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

void putLe16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void putLe32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The 14-byte file header in front of `headerBlockSize` bytes of header and colour table.
void fillFileHeader(std::uint8_t* out, std::size_t headerBlockSize, std::size_t imageSize)
{
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out + 2, static_cast<std::uint32_t>(kFileHeaderSize + headerBlockSize + imageSize));
    putLe16(out + 6, 0);
    putLe16(out + 8, 0);
    putLe32(out + 10, static_cast<std::uint32_t>(kFileHeaderSize + headerBlockSize));
}

std::uint64_t magnitude(std::int32_t value)
{
    return value < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value))
                     : static_cast<std::uint64_t>(value);
}
} // namespace

bool bitmapFitsBlock(const PackedBitmap& bitmap)
{
    if (!bitmap.hasValidHeader())
        return false;
    const std::uint64_t size = bitmap.block().size();
    const std::uint64_t header = bitmap.headerSize();
    const std::uint64_t table = colorTableSize(bitmap);
    if (table > size - header)
        return false;
    const std::uint64_t available = size - header - table;
    const std::uint32_t compression = bitmap.compression();
    if (compression == kRunLength8 || compression == kRunLength4)
        return bitmap.u32(20) <= available;
    const std::uint64_t columns = magnitude(bitmap.width());
    const std::uint64_t rows = magnitude(bitmap.height());
    const std::uint64_t bits = bitmap.bitsPerPixel();
    if (columns == 0 || rows == 0 || bits == 0)
        return true;
    const std::uint64_t stride = (columns * bits + 31) / 32 * 4;
    // Both factors are below 2^34, so the test below cannot overflow.
    return stride * rows <= available;
}

namespace {

std::uint32_t le32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Current image tools write these longer headers; their first 40 bytes have the 40-byte layout.
bool isLongerInfoHeader(std::uint32_t size)
{
    return size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

// Why bitmapFitsBlock refused a block.
std::string misfitReason(const PackedBitmap& bitmap)
{
    const std::uint64_t size = bitmap.block().size();
    if (colorTableSize(bitmap) > size - bitmap.headerSize())
        return "its colour table runs past the end of the file";
    return "its pixel rows run past the end of the file";
}

} // namespace

std::optional<PackedBitmap> readBitmapFile(const std::string& path, std::string* reason)
{
    const auto refuse = [reason](const std::string& why) -> std::optional<PackedBitmap> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    InputFile file;
    if (!file.read(path, FileLimits::kBitmapFile))
        return refuse(file.reason());
    std::vector<std::uint8_t> block = std::move(file.bytes());
    if (block.size() < kFileHeaderSize)
        return refuse("the file is shorter than a bitmap file header");
    if (block[0] != 'B' || block[1] != 'M')
        return refuse("it does not start with the bitmap signature BM");
    // Where the file header says the rows start, counted from the end of the file header.
    const std::int64_t rowsAt = static_cast<std::int64_t>(le32(block.data() + 10)) - static_cast<std::int64_t>(kFileHeaderSize);
    block.erase(block.begin(), block.begin() + kFileHeaderSize);
    if (block.size() < 4)
        return refuse("the file ends inside the bitmap header");

    const std::uint32_t headerSize = le32(block.data());
    std::int64_t rowsInBlock = rowsAt;
    if (isLongerInfoHeader(headerSize)) {
        if (block.size() < headerSize)
            return refuse("the file ends inside its " + std::to_string(headerSize) + "-byte header");
        const std::uint16_t bits = static_cast<std::uint16_t>(block[14] | block[15] << 8);
        const std::uint32_t compression = le32(block.data() + 16);
        if (compression != 0)
            return refuse("compressed (header size " + std::to_string(headerSize) + ", compression " +
                          std::to_string(compression) + ")");
        if (bits != 8)
            return refuse("a " + std::to_string(headerSize) + "-byte header is read for 8 bits per pixel only, not " +
                          std::to_string(bits));
        // Kept as the 40-byte form: the colour table follows the whole header in the file.
        block.erase(block.begin() + kInfoHeaderSize, block.begin() + headerSize);
        putLe32(block.data(), kInfoHeaderSize);
        rowsInBlock -= headerSize - kInfoHeaderSize;
    } else if (headerSize != kInfoHeaderSize && headerSize != 12) {
        return refuse("unsupported header size " + std::to_string(headerSize));
    }
    PackedBitmap bitmap(std::move(block));
    if (!bitmap.hasValidHeader())
        return refuse("the file ends inside the bitmap header");

    const bool plainRows = bitmap.compression() == 0;
    const std::uint64_t columns = magnitude(bitmap.width());
    const std::uint64_t rows = magnitude(bitmap.height());
    const std::uint64_t stride = (columns * bitmap.bitsPerPixel() + 31) / 32 * 4;
    const std::uint64_t tableEnd = static_cast<std::uint64_t>(bitmap.headerSize()) + colorTableSize(bitmap);
    // Rows that start later than right after the colour table, and fit from there, are read there.
    if (plainRows && rowsInBlock > 0 && static_cast<std::uint64_t>(rowsInBlock) > tableEnd &&
        static_cast<std::uint64_t>(rowsInBlock) <= bitmap.block().size() &&
        bitmap.block().size() - static_cast<std::uint64_t>(rowsInBlock) >= stride * rows) {
        auto& b = bitmap.block();
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(tableEnd), b.begin() + static_cast<std::ptrdiff_t>(rowsInBlock));
    }

    // A top-down 8-bit bitmap is turned bottom-up here, so every later step sees an ordinary one.
    // (A picture without columns has no rows to turn.)
    if (plainRows && !bitmap.isCoreHeader() && bitmap.bitsPerPixel() == 8 && bitmap.height() < 0 &&
        bitmap.height() != INT32_MIN && stride > 0 && tableEnd <= bitmap.block().size() &&
        bitmap.block().size() - tableEnd >= stride * rows) {
        std::uint8_t* first = bitmap.block().data() + tableEnd;
        std::vector<std::uint8_t> swap(static_cast<std::size_t>(stride));
        for (std::uint64_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
            std::uint8_t* a = first + top * stride;
            std::uint8_t* c = first + bottom * stride;
            std::memcpy(swap.data(), a, swap.size());
            std::memcpy(a, c, swap.size());
            std::memcpy(c, swap.data(), swap.size());
        }
        bitmap.putU32(8, static_cast<std::uint32_t>(rows));
    }

    // A header that claims more than the file holds is refused here, before anyone reads the pixels.
    if (!bitmapFitsBlock(bitmap))
        return refuse(misfitReason(bitmap));
    return bitmap;
}

bool writeBitmapFile(const PackedBitmap& bitmap, const std::string& path)
{
    if (bitmap.headerSize() != kInfoHeaderSize || !bitmapFitsBlock(bitmap))
        return false;
    const std::size_t headerBlock = kInfoHeaderSize + colorTableSize(bitmap);
    std::uint64_t imageSize = bitmap.u32(20);
    const std::uint32_t compression = bitmap.compression();
    if (compression != kRunLength8 && compression != kRunLength4) {
        if (bitmap.width() < 0 || bitmap.height() < 0)
            return false;
        imageSize = (static_cast<std::uint64_t>(bitmap.width()) * bitmap.bitsPerPixel() + 31) / 32 * 4 *
                    static_cast<std::uint64_t>(bitmap.height());
    }
    if (imageSize > bitmap.block().size() - headerBlock || kFileHeaderSize + headerBlock + imageSize > 0xFFFFFFFFu)
        return false;
    std::vector<std::uint8_t> header(bitmap.block().begin(), bitmap.block().begin() + headerBlock);
    putLe32(header.data() + 20, static_cast<std::uint32_t>(imageSize));
    std::uint8_t fileHeader[kFileHeaderSize];
    fillFileHeader(fileHeader, headerBlock, imageSize);
    return replaceFile(path, {{fileHeader, kFileHeaderSize},
                              {header.data(), header.size()},
                              {bitmap.block().data() + headerBlock, static_cast<std::size_t>(imageSize)}});
}

std::optional<std::vector<std::uint8_t>> tileBitmapHeaders(const PackedBitmap& templ, int width, int height)
{
    if (!templ.hasValidHeader() || templ.bitsPerPixel() != 8 || width <= 0 || height <= 0 || width > 0x10000 ||
        height > 0x10000)
        return std::nullopt;
    const std::size_t table = colorTableSize(templ);
    if (table > templ.block().size() - templ.headerSize())
        return std::nullopt;
    std::vector<std::uint8_t> headers(kFileHeaderSize);
    if (templ.isCoreHeader()) {
        // A core-header project bitmap still gets readable tiles: the same colours behind a 40-byte header.
        const int count = bitmapColorCount(templ);
        headers.resize(kFileHeaderSize + kInfoHeaderSize + static_cast<std::size_t>(count) * 4, 0);
        std::uint8_t* header = headers.data() + kFileHeaderSize;
        putLe32(header, kInfoHeaderSize);
        putLe16(header + 12, 1);
        putLe16(header + 14, 8);
        putLe32(header + 32, static_cast<std::uint32_t>(count));
        for (int i = 0; i < count; ++i) {
            const std::uint32_t color = templ.colorAt(static_cast<std::size_t>(i));
            std::uint8_t* entry = header + kInfoHeaderSize + 4 * i;
            entry[0] = static_cast<std::uint8_t>(color >> 16);
            entry[1] = static_cast<std::uint8_t>(color >> 8);
            entry[2] = static_cast<std::uint8_t>(color);
        }
    } else {
        headers.insert(headers.end(), templ.block().begin(), templ.block().begin() + kInfoHeaderSize + table);
    }
    const std::size_t headerBlock = headers.size() - kFileHeaderSize;
    std::uint8_t* header = headers.data() + kFileHeaderSize;
    const std::size_t imageSize = tileRowStride(width) * static_cast<std::size_t>(height);
    putLe32(header + 4, static_cast<std::uint32_t>(width));
    putLe32(header + 8, static_cast<std::uint32_t>(height));
    putLe32(header + 16, 0);   // the tile's pixels are never compressed
    putLe32(header + 20, static_cast<std::uint32_t>(imageSize));
    fillFileHeader(headers.data(), headerBlock, imageSize);
    return headers;
}

std::size_t tileRowStride(int width)
{
    return (static_cast<std::size_t>(width) + 3) / 4 * 4;
}

bool writeTileBitmap(const PackedBitmap& templ, const std::string& path, const std::uint8_t* pixels, int width,
                     int height)
{
    const std::optional<std::vector<std::uint8_t>> headers = tileBitmapHeaders(templ, width, height);
    if (!headers || !pixels)
        return false;
    const std::size_t stride = tileRowStride(width);
    const std::size_t imageSize = stride * static_cast<std::size_t>(height);
    if (stride == static_cast<std::size_t>(width))
        return replaceFile(path, {{headers->data(), headers->size()}, {pixels, imageSize}});
    // Rows of a width that is not a multiple of 4 are padded, as every reader expects.
    std::vector<std::uint8_t> padded(imageSize, 0);
    for (int row = 0; row < height; ++row)
        std::memcpy(padded.data() + static_cast<std::size_t>(row) * stride,
                    pixels + static_cast<std::size_t>(row) * static_cast<std::size_t>(width),
                    static_cast<std::size_t>(width));
    return replaceFile(path, {{headers->data(), headers->size()}, {padded.data(), padded.size()}});
}

std::optional<LogicalPalette> createBitmapPalette(const PackedBitmap& bitmap)
{
    const int count = bitmapColorCount(bitmap);
    if (count <= 0 || count > 256)
        return std::nullopt;
    const std::size_t table = colorTableSize(bitmap);
    if (!bitmap.hasValidHeader() || table > bitmap.block().size() - bitmap.headerSize())
        return std::nullopt;
    LogicalPalette palette;
    palette.version = 0x300;
    palette.entries.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::uint32_t color = bitmap.colorAt(static_cast<std::size_t>(i));
        palette.entries[i] = {static_cast<std::uint8_t>(color), static_cast<std::uint8_t>(color >> 8),
                              static_cast<std::uint8_t>(color >> 16), 0};
    }
    return palette;
}
