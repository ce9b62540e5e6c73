#pragma once
// The benchmarks' DTED Level 0 cell: 45-46 N, 15-16 E, heights from a fixed pattern.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

/// The height of post `row` of column `column`, from -200 to 3799 m.
inline int benchHeight(int column, int row)
{
    return (column * 7 + row * 13) % 4000 - 200;
}

/// Writes UHL, DSI and ACC records with the corner and count fields filled, then the data records.
inline void writeBenchDtedCell(const std::string& path, int columns, int rows)
{
    std::vector<char> header(3428, ' ');
    auto put = [&](std::size_t at, const char* text) { std::memcpy(header.data() + at, text, std::strlen(text)); };
    char count[8];
    put(0, "UHL1");
    std::snprintf(count, sizeof count, "%04d", columns);
    put(47, count);
    put(365, count);
    std::snprintf(count, sizeof count, "%04d", rows);
    put(51, count);
    put(361, count);
    put(80, "DSIU");
    put(284, "450000N");
    put(291, "0150000E");
    put(314, "460000N");
    put(321, "0160000E");
    put(728, "ACC");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    std::vector<unsigned char> record(8 + 2 * static_cast<std::size_t>(rows) + 4, 0);
    for (int i = 0; i < columns; ++i) {
        record[0] = 0xAA;
        record[4] = static_cast<unsigned char>(i >> 8);
        record[5] = static_cast<unsigned char>(i);
        for (int j = 0; j < rows; ++j) {
            const int e = benchHeight(i, j);
            // Signed magnitude, high byte first.
            const unsigned word = (e < 0 ? 0x8000u : 0u) | static_cast<unsigned>(e < 0 ? -e : e);
            record[8 + 2 * j] = static_cast<unsigned char>(word >> 8);
            record[9 + 2 * j] = static_cast<unsigned char>(word);
        }
        out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
    }
}
