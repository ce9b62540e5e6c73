#pragma once
// Builders of altitude source files for the tests: BMP images and DTED files written byte by
// byte from their published layouts, so the readers are checked against the formats, not
// against themselves.

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace testfiles {

inline void putLe(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

/// An uncompressed BMP with a 40-byte header. `palette` holds 0x00RRGGBB colours (empty for
/// 24 bits per pixel, where `pixel` returns the 0x00RRGGBB colour itself); `pixel(x, y)` is
/// asked for stored row y (0 = bottom).
inline std::vector<unsigned char> makeBmp(std::int32_t width, std::int32_t height,
                                          const std::vector<std::uint32_t>& palette,
                                          const std::function<std::uint32_t(int, int)>& pixel, int bpp = 8)
{
    const std::int32_t rowsStored = height < 0 ? -height : height;
    const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    const std::size_t offset = 14 + 40 + palette.size() * 4;
    std::vector<unsigned char> b(offset + stride * rowsStored, 0);
    b[0] = 'B';
    b[1] = 'M';
    putLe(b, 2, static_cast<std::uint32_t>(b.size()), 4);
    putLe(b, 10, static_cast<std::uint32_t>(offset), 4);
    putLe(b, 14, 40, 4);
    putLe(b, 18, static_cast<std::uint32_t>(width), 4);
    putLe(b, 22, static_cast<std::uint32_t>(height), 4);
    putLe(b, 26, 1, 2);
    putLe(b, 28, static_cast<std::uint32_t>(bpp), 2);
    putLe(b, 46, static_cast<std::uint32_t>(palette.size()), 4);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        b[54 + i * 4] = static_cast<unsigned char>(palette[i]);           // blue
        b[54 + i * 4 + 1] = static_cast<unsigned char>(palette[i] >> 8);  // green
        b[54 + i * 4 + 2] = static_cast<unsigned char>(palette[i] >> 16); // red
    }
    for (int y = 0; y < rowsStored; ++y) {
        unsigned char* row = b.data() + offset + stride * y;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (bpp == 8) {
                row[x] = static_cast<unsigned char>(v);
            } else if (bpp == 4) {
                row[x / 2] |= static_cast<unsigned char>(x % 2 == 0 ? v << 4 : v);
            } else if (bpp == 24) {
                row[x * 3] = static_cast<unsigned char>(v);
                row[x * 3 + 1] = static_cast<unsigned char>(v >> 8);
                row[x * 3 + 2] = static_cast<unsigned char>(v >> 16);
            }
        }
    }
    return b;
}

/// 256 entries, entry i the grey i.
inline std::vector<std::uint32_t> greyPalette()
{
    std::vector<std::uint32_t> p(256);
    for (std::uint32_t i = 0; i < 256; ++i)
        p[i] = i << 16 | i << 8 | i;
    return p;
}

/// A DTED file: UHL (80 bytes), DSI (648), ACC (2700), then `columns` data records of `rows`
/// points each. Corners as DDMMSSH / DDDMMSSH texts. `elevation(i, j)` gives the metres of point
/// j of longitude line i, written as 16-bit signed magnitude, high byte first.
inline std::vector<unsigned char> makeDted(const std::string& swLat, const std::string& swLon,
                                           const std::string& neLat, const std::string& neLon, int columns,
                                           int rows, const std::function<int(int, int)>& elevation)
{
    auto count4 = [](int v) {
        char text[16];
        std::snprintf(text, sizeof text, "%04d", v);
        return std::string(text);
    };
    const std::size_t recordLength = 8 + 2 * static_cast<std::size_t>(rows) + 4;
    std::vector<unsigned char> b(3428 + recordLength * columns, ' ');
    auto put = [&](std::size_t at, const std::string& text) { std::memcpy(b.data() + at, text.data(), text.size()); };
    put(0, "UHL1");
    put(4, swLon);
    put(12, swLat + "0");
    put(47, count4(columns));
    put(51, count4(rows));
    put(80, "DSIU");
    put(80 + 59, "DTED0");
    put(284, swLat);
    put(291, swLon);
    put(299, neLat);
    put(306, swLon);
    put(314, neLat);
    put(321, neLon);
    put(329, swLat);
    put(336, neLon);
    put(361, count4(rows));
    put(365, count4(columns));
    put(728, "ACC");
    for (int i = 0; i < columns; ++i) {
        const std::size_t at = 3428 + recordLength * i;
        std::memset(b.data() + at, 0, recordLength);
        b[at] = 0xAA;
        b[at + 3] = static_cast<unsigned char>(i);     // block count, low byte
        b[at + 4] = static_cast<unsigned char>(i >> 8); // longitude count
        b[at + 5] = static_cast<unsigned char>(i);
        std::uint32_t checksum = 0;
        for (int j = 0; j < rows; ++j) {
            const int e = elevation(i, j);
            const unsigned magnitude = static_cast<unsigned>(e < 0 ? -e : e) & 0x7FFF;
            const unsigned word = (e < 0 ? 0x8000u : 0u) | magnitude;
            b[at + 8 + 2 * j] = static_cast<unsigned char>(word >> 8);
            b[at + 9 + 2 * j] = static_cast<unsigned char>(word);
        }
        for (std::size_t k = 0; k < recordLength - 4; ++k)
            checksum += b[at + k];
        for (int k = 0; k < 4; ++k)
            b[at + recordLength - 4 + k] = static_cast<unsigned char>(checksum >> (24 - 8 * k));
    }
    return b;
}

} // namespace testfiles
