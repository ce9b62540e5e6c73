#pragma once
// One bit per pixel of a rectangle: which pixels some mark of one colour covers. Marks of one
// colour drawn without smoothing are the union of their pixels in any order, so they are ORed
// in here as rows of bits instead of being drawn pixel by pixel.

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
    /// Sets the stamp's pixels with its point at (x, y). Called once per record: always inlined.
    [[gnu::always_inline]] void stamp(const PixelStamp& s, int x, int y)
    {
        if (!s.empty())
            stampBits(s.bits.data(), s.words, s.left, s.top, s.width, s.height, x, y);
    }
    /// The same for a stamp's rows of bits kept elsewhere: `height` rows of `words` words, their
    /// first column `left` and first row `top` from the point.
    [[gnu::always_inline]] void stampBits(const std::uint64_t* bits, int words, int left, int top, int width, int height,
                                          int x, int y)
    {
        // In border coordinates: column 64 is the rectangle's first, row kPadRows its first.
        const int bx = x + left + 64, by = y + top + kPadRows;
        if (bx < 0 || by < 0 || bx + width > 64 * (stride_ - 1) || by + height > height_ + 2 * kPadRows) {
            stampClipped(bits, words, left, top, width, height, x, y);
            return;
        }
        // Each stamp word lands on two mask words; the spare word at each row's end takes the
        // overflow of the last one. Bits in the border are never read.
        const int shift = bx & 63;
        const std::uint64_t* from = bits;
        std::uint64_t* to = bits_.data() + static_cast<std::size_t>(by) * stride_ + (bx >> 6);
        if (words == 1) {
            // A label: one word a row, whose bits beyond the width are clear, so a label that
            // ends within its first mask word sets nothing in the next.
            if (shift + width <= 64) {
                for (int r = 0; r < height; ++r, to += stride_)
                    to[0] |= from[r] << shift;
                return;
            }
            for (int r = 0; r < height; ++r, to += stride_) {
                const std::uint64_t v = from[r];
                to[0] |= v << shift;
                to[1] |= v >> (64 - shift);
            }
            return;
        }
        for (int r = 0; r < height; ++r, from += words, to += stride_)
            for (int k = 0; k < words; ++k) {
                const std::uint64_t v = from[k];
                to[k] |= v << shift;
                if (shift != 0)
                    to[k + 1] |= v >> (64 - shift);
            }
    }
    /// Sets the cross of row y from x - arm to x + arm and column x from y - arm to y + arm.
    [[gnu::always_inline]] void cross(int x, int y, int arm)
    {
        const int bx0 = x - arm + 64, bx1 = x + arm + 64, by0 = y - arm + kPadRows;
        if (arm < 0 || bx0 < 0 || by0 < 0 || bx1 >= 64 * (stride_ - 1) || by0 + 2 * arm >= height_ + 2 * kPadRows) {
            crossClipped(x, y, arm);
            return;
        }
        // Within the border: no clipping, straight into the words.
        std::uint64_t* line = bits_.data() + static_cast<std::size_t>(y + kPadRows) * stride_;
        for (int b = bx0; b <= bx1;) {
            const int bit = b & 63;
            const int n = std::min(64 - bit, bx1 - b + 1);
            line[b >> 6] |= (n == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1)) << bit;
            b += n;
        }
        const int bx = x + 64;
        const std::uint64_t mark = std::uint64_t{1} << (bx & 63);
        std::uint64_t* column = bits_.data() + static_cast<std::size_t>(by0) * stride_ + (bx >> 6);
        for (int j = 0; j <= 2 * arm; ++j, column += stride_)
            *column |= mark;
    }

private:
    /// A stamp reaching beyond the border, bit by bit, the outside ones dropped.
    void stampClipped(const std::uint64_t* bits, int words, int left, int top, int width, int height, int x, int y);
    /// A cross reaching beyond the border, clipped.
    void crossClipped(int x, int y, int arm);

    // A border of one word left and right and of rows above and below takes the parts of marks
    // that reach over the edges, so those are ORed like the others.
    static constexpr int kPadRows = 64;
    int width_;
    int height_;
    int stride_;   ///< border word, the row's words, border word, a spare word
    std::vector<std::uint64_t> bits_;
};
