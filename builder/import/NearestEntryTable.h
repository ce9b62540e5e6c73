#pragma once
// The builder's nearest-colour rule (smallest squared RGB distance, lowest index on a tie) for
// many pixels at once. The colour cube is cut into 64 x 64 x 64 cells of 4 x 4 x 4 colours. The
// first colour asked in a cell collects the entries that can be nearest anywhere in it (from the
// list of its coarse cell of 16 x 16 x 16 levels, which holds them all). When one of them is
// nearer than the others everywhere in the cell, the cell points at that entry's shared block of
// 64 equal answers; otherwise it gets a block of the exact answers for its 64 colours, one cache
// line. Either way every later colour there costs two lookups, and the answer is exactly the full
// scan's.

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

    /// Where the settled cells are, for a tight loop that keeps them in registers. A lookup that
    /// settles a new cell renews it.
    struct Cursor {
        const std::uint16_t* cells;
        const std::uint8_t* answers;
    };
    Cursor cursor() const { return {cells_.data(), answers_.data()}; }

    std::uint8_t nearest(Cursor& at, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        const std::size_t cell = kSpread[red] << 2 | kSpread[green] << 1 | kSpread[blue];
        std::uint32_t block = at.cells[cell];
        if (block >= kWithoutBlock) {
            if (block == kUnknown) {
                block = fillCell(cell, red & ~kMask, green & ~kMask, blue & ~kMask);
                at = cursor();
            }
            if (block == kWithoutBlock)
                return nearestWithoutBlock(red, green, blue);
        }
        // No branch on whether the cell has one entry or many: a wrong guess costs more than a load.
        const std::size_t within = static_cast<std::size_t>((red & kMask) << (2 * kShift) |
                                                            (green & kMask) << kShift | (blue & kMask));
        return at.answers[static_cast<std::size_t>(block) * kCellColors + within];
    }
    /// Asks the processor to fetch the answer for a colour ahead of its turn when its cell is
    /// settled: error diffusion looks up colours close to the picture's own.
    static void prefetch(const Cursor& at, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        const std::uint32_t block = at.cells[kSpread[red] << 2 | kSpread[green] << 1 | kSpread[blue]];
        if (block < kWithoutBlock)
            __builtin_prefetch(at.answers + static_cast<std::size_t>(block) * kCellColors +
                               static_cast<std::size_t>((red & kMask) << (2 * kShift) | (green & kMask) << kShift |
                                                        (blue & kMask)));
    }

    std::uint8_t nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        Cursor at = cursor();
        return nearest(at, red, green, blue);
    }

    /// The same rule by scanning every usable entry: the reference the table must equal.
    static std::uint8_t scan(const ImportColors& colors, const std::array<bool, 256>& usable, int red, int green,
                             int blue);

private:
    static constexpr int kShift = 2;   // 4 levels per cell side
    static constexpr int kMask = (1 << kShift) - 1;
    static constexpr int kCells = 256 >> kShift;
    // Cells are numbered with the bits of their red, green and blue places interleaved, so colours
    // near each other (as error diffusion makes them) share cache lines of the table.
    static constexpr std::array<std::uint32_t, 256> kSpread = [] {
        std::array<std::uint32_t, 256> spread{};
        for (std::uint32_t v = 0; v < 256; ++v)
            for (int bit = 0; bit < 8 - kShift; ++bit)
                spread[v] |= ((v >> kShift) >> bit & 1u) << (3 * bit);
        return spread;
    }();
    static constexpr std::size_t kCellColors = std::size_t{1} << (3 * kShift);
    // Boxes of 16 and 8 levels a side narrow the entries down before a cell takes its own.
    static constexpr int kCoarseShift = 4;
    static constexpr int kMiddleShift = 3;
    /// Settles a cell: the number of its block of answers (the entry's own block when it wins
    /// everywhere there).
    std::uint16_t fillCell(std::size_t cell, int r0, int g0, int b0);
    /// The candidates of the cell at r0, g0, b0 into candidates_, nearest first.
    void gather(int r0, int g0, int b0);
    /// The entries that can be nearest somewhere in the box of `level` holding the colour.
    const std::uint8_t* listOf(std::size_t level, int red, int green, int blue, std::size_t& count);
    std::uint8_t nearestWithoutBlock(int red, int green, int blue);
    /// The entries that can be nearest somewhere in the box [r0, r0 + size) etc., among `from`.
    void collect(const std::uint8_t* from, std::size_t count, int r0, int g0, int b0, int size,
                 std::vector<std::uint8_t>& into) const;

    struct Candidate {
        std::int32_t near;   // squared distance from the cell to the entry: no colour in it is nearer
        std::int16_t red, green, blue;
        std::uint8_t index;
    };
    std::uint8_t search(int red, int green, int blue) const;

    std::array<int, 256> red_{}, green_{}, blue_{};
    std::vector<std::uint8_t> order_;            // usable entries in index order
    std::vector<std::uint16_t> cells_;           // kUnknown, kWithoutBlock or a block number
    std::vector<std::uint8_t> answers_;          // blocks of kCellColors answers; block i < 256 all i
    struct Level {
        int shift = 0;
        std::vector<std::uint32_t> start;   // into entries; kUnset before first use
        std::vector<std::uint16_t> count;
        std::vector<std::uint8_t> entries;
    };
    std::vector<Level> levels_;                  // coarse first
    std::vector<std::uint8_t> scratch_;
    std::vector<Candidate> candidates_;          // of the cell being settled, nearest first
    static constexpr std::uint32_t kUnset = 0xFFFFFFFFu;
    // Half the size of 32-bit cells keeps more of the table in cache; a picture that splits more
    // cells than there are block numbers searches the rest each time.
    static constexpr std::uint16_t kUnknown = 0xFFFF;
    static constexpr std::uint16_t kWithoutBlock = 0xFFFE;
};
