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
    /// Words per row; the last one is spare and stays clear.
    int wordsPerRow() const { return words_; }
    const std::uint64_t* row(int y) const { return bits_.data() + static_cast<std::size_t>(y) * words_; }

    bool test(int x, int y) const;
    /// Sets one pixel; pixels outside the rectangle are ignored, here and below.
    void set(int x, int y);
    /// Sets the pixels x0..x1 (both included) of row y.
    void setRun(int y, int x0, int x1);
    /// Sets the stamp's pixels with its point at (x, y).
    void stamp(const PixelStamp& s, int x, int y);

private:
    int width_;
    int height_;
    int words_;
    std::vector<std::uint64_t> bits_;
};
