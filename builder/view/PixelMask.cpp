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

PixelStamp PixelStamp::cross(int arm)
{
    std::vector<std::pair<int, int>> offsets;
    for (int d = -arm; d <= arm; ++d) {
        offsets.push_back({d, 0});
        offsets.push_back({0, d});
    }
    return fromOffsets(offsets);
}

PixelMask::PixelMask(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)), stride_((width_ + 63) / 64 + 3),
      limitX_(64 * (stride_ - 1)), limitY_(height_ + 2 * kPadRows),
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

bool PixelMask::growCrosses(int arm)
{
    if (arm < 0 || arm > kMaxGrownArm)
        return false;
    const std::size_t stride = static_cast<std::size_t>(stride_);
    const std::size_t rows = bits_.size() / stride;
    // The columns and the rows are grown apart, each by doubling steps: a run of 2r + 1 pixels
    // about each point grows to 2(r + s) + 1 by ORing it moved s either way, for s up to r + 1.
    std::vector<std::uint64_t> columns = bits_;
    std::vector<std::uint64_t> before(stride);
    for (int r = 0; r < arm;) {
        const int s = std::min(r + 1, arm - r);
        for (std::size_t y = 0; y < rows; ++y) {
            std::uint64_t* row = bits_.data() + y * stride;
            std::copy(row, row + stride, before.begin());
            for (std::size_t k = 0; k < stride; ++k) {
                // Moved s columns right (up the bits) and left, carrying across words of the row.
                std::uint64_t v = before[k] | (before[k] << s) | (before[k] >> s);
                if (k > 0)
                    v |= before[k - 1] >> (64 - s);
                if (k + 1 < stride)
                    v |= before[k + 1] << (64 - s);
                row[k] = v;
            }
        }
        r += s;
    }
    for (int r = 0; r < arm;) {
        const int s = std::min(r + 1, arm - r);
        // In place: moved down first, from the bottom, each row taking the one s above it before
        // that one changes; then up, from the top, each row taking the one s below it, which by
        // then also holds this row's own bits, already here.
        const std::size_t shift = static_cast<std::size_t>(s) * stride;
        for (std::size_t i = columns.size(); i-- > shift;)
            columns[i] |= columns[i - shift];
        for (std::size_t i = 0; i + shift < columns.size(); ++i)
            columns[i] |= columns[i + shift];
        r += s;
    }
    for (std::size_t i = 0; i < bits_.size(); ++i)
        bits_[i] |= columns[i];
    return true;
}
