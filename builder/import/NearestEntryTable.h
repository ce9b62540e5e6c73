#pragma once
// The builder's nearest-colour rule (smallest squared RGB distance, lowest index on a tie) for
// many pixels at once. The colour cube is cut into 32 x 32 x 32 cells; the first colour asked in a
// cell collects the entries that can be nearest anywhere in that cell, and every later colour
// there scans only those, so the answer is exactly the full scan's at a fraction of the cost.

#include <array>
#include <cstdint>
#include <vector>

#include "import/ImportOptions.h"

class NearestEntryTable {
public:
    /// `usable[i]` false keeps entry i out of every answer (reserved entries). At least one entry
    /// must be usable; with none, every answer is 0.
    NearestEntryTable(const ImportColors& colors, const std::array<bool, 256>& usable);
    /// Every entry usable.
    explicit NearestEntryTable(const ImportColors& colors);

    std::uint8_t nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    /// The same rule by scanning every usable entry: the reference the table must equal.
    static std::uint8_t scan(const ImportColors& colors, const std::array<bool, 256>& usable, int red, int green,
                             int blue);

private:
    static constexpr int kShift = 3;   // 8 levels per cell side
    static constexpr int kCells = 256 >> kShift;
    void fillCell(std::size_t cell, int r0, int g0, int b0);

    std::array<int, 256> red_{}, green_{}, blue_{};
    std::vector<std::uint8_t> order_;            // usable entries in index order
    std::vector<std::uint32_t> cellStart_;       // into candidates_; kUnset before first use
    std::vector<std::uint16_t> cellCount_;
    std::vector<std::uint8_t> candidates_;
    static constexpr std::uint32_t kUnset = 0xFFFFFFFFu;
};
