#pragma once
// The builder's nearest-colour rule (smallest squared RGB distance, lowest index on a tie) for
// many pixels at once. The colour cube is cut into 64 x 64 x 64 cells; the first colour asked in a
// cell collects the entries that can be nearest anywhere in that cell (from the list of its coarse
// cell of 16 x 16 x 16 levels, which holds them all), and every later colour there scans only
// those, so the answer is exactly the full scan's at a fraction of the cost. Recent colours are
// remembered outright.

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
    static constexpr int kShift = 2;   // 4 levels per cell side
    static constexpr int kCells = 256 >> kShift;
    static constexpr int kCoarseShift = 4;   // a coarse cell holds 4 x 4 x 4 cells
    static constexpr int kCoarseCells = 256 >> kCoarseShift;
    void fillCell(std::size_t cell, int r0, int g0, int b0);
    /// The entries that can be nearest somewhere in the box [r0, r0 + size) etc., among `from`.
    void collect(const std::uint8_t* from, std::size_t count, int r0, int g0, int b0, int size,
                 std::vector<std::uint8_t>& into) const;

    struct Candidate {
        std::int32_t near;   // squared distance from the cell to the entry: no colour in it is nearer
        std::int16_t red, green, blue;
        std::uint8_t index;
    };
    static constexpr int kMemoBits = 16;   // recent answers by exact colour

    std::array<int, 256> red_{}, green_{}, blue_{};
    std::vector<std::uint8_t> order_;            // usable entries in index order
    std::vector<std::uint32_t> cellStart_;       // into candidates_; kUnset before first use
    std::vector<std::uint16_t> cellCount_;
    std::vector<Candidate> candidates_;
    std::vector<std::uint32_t> coarseStart_;     // into coarse_; kUnset before first use
    std::vector<std::uint16_t> coarseCount_;
    std::vector<std::uint8_t> coarse_;
    std::vector<std::uint8_t> scratch_;
    std::vector<std::uint32_t> memoKey_;
    std::vector<std::uint8_t> memoIndex_;
    static constexpr std::uint32_t kUnset = 0xFFFFFFFFu;
};
