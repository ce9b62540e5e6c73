#pragma once
#include <cstdint>
#include <vector>

/// Records of a map whose positions repeat (a grid of posts): each distinct latitude and
/// longitude is kept once, exactly as it was, and a record is two 16-bit indices into those
/// tables and its altitude, 8 bytes instead of 24.
struct PackedRecords {
    struct Entry {
        std::uint16_t latitude = 0;    ///< index into latitudes
        std::uint16_t longitude = 0;   ///< index into longitudes
        std::int32_t altitude = 0;
    };
    static constexpr std::size_t kMaxValues = 65536;

    std::vector<double> latitudes;
    std::vector<double> longitudes;
    std::vector<Entry> entries;
};
