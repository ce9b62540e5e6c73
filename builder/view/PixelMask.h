#pragma once
// One bit per pixel of a rectangle: which pixels some mark of one colour covers. Marks of one
// colour drawn without smoothing are the union of their pixels in any order, so they are ORed
// in here as rows of bits instead of being drawn pixel by pixel.

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
    /// Sets the stamp's pixels with its point at (x, y).
    void stamp(const PixelStamp& s, int x, int y);

private:
    // A border of one word left and right and of rows above and below takes the parts of marks
    // that reach over the edges, so those are ORed like the others.
    static constexpr int kPadRows = 64;
    int width_;
    int height_;
    int stride_;   ///< border word, the row's words, border word, a spare word
    std::vector<std::uint64_t> bits_;
};
