#pragma once
// One bit per pixel of a rectangle: which pixels some mark of one colour covers. Marks of one
// colour drawn without smoothing are the union of their pixels in any order, so they are ORed
// in here as rows of bits instead of being drawn pixel by pixel.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "view/PixelStamp.h"

class PixelMask {
public:
    PixelMask(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    /// Words of a row that hold the rectangle's pixels: bit i of word k is column 64k + i.
    /// Bits of the last word beyond the width may be set and mean nothing.
    int wordsPerRow() const { return (width_ + 63) / 64; }
    const std::uint64_t* row(int y) const
    {
        return bits_.data() + static_cast<std::size_t>(y + kPadRows) * stride_ + 1;
    }

    bool test(int x, int y) const;
    /// Sets one pixel; pixels outside the rectangle are ignored, here and below.
    void set(int x, int y);
    /// Sets the pixels x0..x1 (both included) of row y.
    void setRun(int y, int x0, int x1);
    /// The longest arm growCrosses takes: a cross reaching in from beyond the border is longer.
    static constexpr int kMaxGrownArm = 63;
    /// Turns every point set so far into the cross of row y from x − arm to x + arm and column x
    /// from y − arm to y + arm: for many points, cheaper than stamping each cross. Arms of 0 to
    /// kMaxGrownArm only; false (and nothing changed) for others.
    bool growCrosses(int arm);

    /// Marks the mask for a loop that marks many: a copy of what marking needs, which the loop
    /// keeps in registers, where the mask's own fields would be read again after every call the
    /// loop might make. Valid while the mask lives. Always inlined: called once per record.
    class Marker {
    public:
        explicit Marker(PixelMask& mask)
            : mask_(&mask), bits_(mask.bits_.data()), stride_(mask.stride_), limitX_(mask.limitX_),
              limitY_(mask.limitY_)
        {
        }

        /// Marks the point (x, y) for growCrosses, in the rectangle or its border; points beyond
        /// the border are dropped (no cross of an arm growCrosses takes reaches in from there).
        [[gnu::always_inline]] void setPoint(int x, int y)
        {
            const int bx = x + 64, by = y + kPadRows;
            if (static_cast<std::uint32_t>(bx) < static_cast<std::uint32_t>(limitX_) &&
                static_cast<std::uint32_t>(by) < static_cast<std::uint32_t>(limitY_))
                bits_[static_cast<std::size_t>(by) * stride_ + (bx >> 6)] |= std::uint64_t{1} << (bx & 63);
        }
        /// Sets the stamp's pixels with its point at (x, y); pixels outside the rectangle are ignored.
        [[gnu::always_inline]] void stamp(const PixelStamp& s, int x, int y)
        {
            if (!s.empty())
                stampBits(s.bits.data(), s.words, s.left, s.top, s.width, s.height, x, y);
        }
        /// The same for a stamp's rows of bits kept elsewhere: `height` rows of `words` words,
        /// their first column `left` and first row `top` from the point.
        [[gnu::always_inline]] void stampBits(const std::uint64_t* bits, int words, int left, int top, int width,
                                              int height, int x, int y)
        {
            // In border coordinates: column 64 is the rectangle's first, row kPadRows its first.
            const int bx = x + left + 64, by = y + top + kPadRows;
            // One test for both ends of each side: a start before the border wraps to beyond it.
            if (std::uint64_t{static_cast<std::uint32_t>(bx)} + static_cast<std::uint32_t>(width) >
                    static_cast<std::uint32_t>(limitX_) ||
                std::uint64_t{static_cast<std::uint32_t>(by)} + static_cast<std::uint32_t>(height) >
                    static_cast<std::uint32_t>(limitY_)) {
                mask_->stampClipped(bits, words, left, top, width, height, x, y);
                return;
            }
            const std::uint64_t* from = bits;
            if constexpr (std::endian::native == std::endian::little) {
                if (words == 1 && width <= 57) {
                    // A narrow mark (a label, a cross): each row lies within the 64 bits from its
                    // first column's byte, so each row is one OR at that byte. The spare word at
                    // each row's end keeps those bits inside the row.
                    auto* to = reinterpret_cast<unsigned char*>(bits_) +
                               static_cast<std::size_t>(by) * stride_ * sizeof(std::uint64_t) + (bx >> 3);
                    const int shift = bx & 7;
                    const std::size_t rowBytes = static_cast<std::size_t>(stride_) * sizeof(std::uint64_t);
                    // Labels are as high as the font's digits, a few rows: those heights get the
                    // rows written out, without a loop.
                    switch (height) {
                    case 5: orRows<5>(to, from, shift, rowBytes); return;
                    case 6: orRows<6>(to, from, shift, rowBytes); return;
                    case 7: orRows<7>(to, from, shift, rowBytes); return;
                    case 8: orRows<8>(to, from, shift, rowBytes); return;
                    case 9: orRows<9>(to, from, shift, rowBytes); return;
                    case 10: orRows<10>(to, from, shift, rowBytes); return;
                    case 11: orRows<11>(to, from, shift, rowBytes); return;
                    case 12: orRows<12>(to, from, shift, rowBytes); return;
                    default:
                        for (int r = 0; r < height; ++r, to += rowBytes)
                            orRow(to, from[r], shift);
                        return;
                    }
                }
            }
            // Each stamp word lands on two mask words; the spare word at each row's end takes the
            // overflow of the last one. Bits in the border are never read.
            const int shift = bx & 63;
            std::uint64_t* to = bits_ + static_cast<std::size_t>(by) * stride_ + (bx >> 6);
            for (int r = 0; r < height; ++r, from += words, to += stride_)
                for (int k = 0; k < words; ++k) {
                    const std::uint64_t v = from[k];
                    to[k] |= v << shift;
                    if (shift != 0)
                        to[k + 1] |= v >> (64 - shift);
                }
        }

    private:
        PixelMask* mask_;
        std::uint64_t* bits_;
        int stride_;
        int limitX_;
        int limitY_;
    };

    /// Marker's marks, one at a time.
    void setPoint(int x, int y) { Marker(*this).setPoint(x, y); }
    void stamp(const PixelStamp& s, int x, int y) { Marker(*this).stamp(s, x, y); }

private:
    /// ORs one row's bits, moved up by `shift`, into the 64 bits from the byte `at`.
    [[gnu::always_inline]] static void orRow(unsigned char* at, std::uint64_t row, int shift)
    {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        word |= row << shift;
        std::memcpy(at, &word, sizeof word);
    }
    template <int kRows>
    [[gnu::always_inline]] static void orRows(unsigned char* at, const std::uint64_t* rows, int shift,
                                              std::size_t rowBytes)
    {
#pragma GCC unroll 16
        for (int r = 0; r < kRows; ++r)
            orRow(at + r * rowBytes, rows[r], shift);
    }
    /// A stamp reaching beyond the border, bit by bit, the outside ones dropped.
    void stampClipped(const std::uint64_t* bits, int words, int left, int top, int width, int height, int x, int y);

    // A border of one word left and right and of rows above and below takes the parts of marks
    // that reach over the edges, so those are ORed like the others.
    static constexpr int kPadRows = 64;
    int width_;
    int height_;
    int stride_;   ///< border word, the row's words, border word, a spare word
    int limitX_;   ///< columns of the border coordinates a mark may reach
    int limitY_;   ///< rows of the same
    std::vector<std::uint64_t> bits_;
};
