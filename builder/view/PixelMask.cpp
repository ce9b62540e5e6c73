#include "view/PixelMask.h"

#include <algorithm>

PixelStamp PixelStamp::fromOffsets(const std::vector<std::pair<int, int>>& offsets)
{
    PixelStamp s;
    if (offsets.empty())
        return s;
    int left = offsets[0].first, right = left, top = offsets[0].second, bottom = top;
    for (const auto& [dx, dy] : offsets) {
        left = std::min(left, dx);
        right = std::max(right, dx);
        top = std::min(top, dy);
        bottom = std::max(bottom, dy);
    }
    s.left = left;
    s.top = top;
    s.width = right - left + 1;
    s.height = bottom - top + 1;
    s.words = (s.width + 63) / 64;
    s.bits.assign(static_cast<std::size_t>(s.words) * s.height, 0);
    for (const auto& [dx, dy] : offsets) {
        const int x = dx - left;
        s.bits[static_cast<std::size_t>(dy - top) * s.words + x / 64] |= std::uint64_t{1} << (x % 64);
    }
    return s;
}

PixelMask::PixelMask(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)), stride_((width_ + 63) / 64 + 3),
      bits_(static_cast<std::size_t>(stride_) * (height_ + 2 * kPadRows), 0)
{
}

bool PixelMask::test(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return false;
    return (row(y)[x >> 6] >> (x & 63)) & 1;
}

void PixelMask::set(int x, int y)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const_cast<std::uint64_t*>(row(y))[x >> 6] |= std::uint64_t{1} << (x & 63);
}

void PixelMask::setRun(int y, int x0, int x1)
{
    if (y < 0 || y >= height_)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    auto* r = const_cast<std::uint64_t*>(row(y));
    for (int x = x0; x <= x1;) {
        const int bit = x & 63;
        const int n = std::min(64 - bit, x1 - x + 1);
        const std::uint64_t run = n == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1) << bit;
        r[x >> 6] |= run;
        x += n;
    }
}

void PixelMask::stampClipped(const std::uint64_t* bits, int words, int left, int top, int width, int height, int x,
                             int y)
{
    const int x0 = x + left, y0 = y + top;
    if (x0 >= width_ || y0 >= height_ || x0 + width <= 0 || y0 + height <= 0)
        return;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            if ((bits[static_cast<std::size_t>(r) * words + c / 64] >> (c % 64)) & 1)
                set(x0 + c, y0 + r);
}

void PixelMask::crossClipped(int x, int y, int arm)
{
    setRun(y, x - arm, x + arm);
    for (int j = y - arm; j <= y + arm; ++j)
        set(x, j);
}
