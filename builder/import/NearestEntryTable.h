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
        const std::uint32_t* cells;
        const std::uint8_t* answers;
    };
    Cursor cursor() const { return {cells_.data(), answers_.data()}; }

    std::uint8_t nearest(Cursor& at, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        const std::size_t cell =
            (static_cast<std::size_t>(red >> kShift) * kCells + static_cast<std::size_t>(green >> kShift)) * kCells +
            static_cast<std::size_t>(blue >> kShift);
        std::uint32_t block = at.cells[cell];
        if (block == kUnknown) {
            block = fillCell(cell, red & ~kMask, green & ~kMask, blue & ~kMask);
            at = cursor();
        }
        // No branch on whether the cell has one entry or many: a wrong guess costs more than a load.
        const std::size_t within = static_cast<std::size_t>((red & kMask) << (2 * kShift) |
                                                            (green & kMask) << kShift | (blue & kMask));
        return at.answers[static_cast<std::size_t>(block) * kCellColors + within];
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
    static constexpr std::size_t kCellColors = std::size_t{1} << (3 * kShift);
    static constexpr int kCoarseShift = 4;   // a coarse cell holds 4 x 4 x 4 cells
    static constexpr int kCoarseCells = 256 >> kCoarseShift;
    /// Settles a cell: the number of its block of answers (the entry's own block when it wins
    /// everywhere there).
    std::uint32_t fillCell(std::size_t cell, int r0, int g0, int b0);
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
    std::vector<std::uint32_t> cells_;           // kUnknown or a block number
    std::vector<std::uint8_t> answers_;          // blocks of kCellColors answers; block i < 256 all i
    std::vector<std::uint32_t> coarseStart_;     // into coarse_; kUnknown before first use
    std::vector<std::uint16_t> coarseCount_;
    std::vector<std::uint8_t> coarse_;
    std::vector<std::uint8_t> scratch_;
    std::vector<Candidate> candidates_;          // of the cell being settled, nearest first
    static constexpr std::uint32_t kUnknown = 0xFFFFFFFFu;
};
