#include "view/LabelGlyphs.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace {

// Whole pixels below a position in 1/64 pixel, left of zero too.
long long floorPixel(long long v64)
{
    return v64 >= 0 ? v64 / 64 : -((-v64 + 63) / 64);
}

} // namespace

void LabelGlyphs::setGlyph(char c, PixelStamp pixels, int advance64)
{
    const std::size_t index = kCharacters.find(c);
    if (index == std::string_view::npos)
        return;
    glyphs_[index] = {std::move(pixels), advance64, true};
}

bool LabelGlyphs::complete() const
{
    return std::all_of(glyphs_.begin(), glyphs_.end(), [](const Glyph& g) { return g.set; });
}

const LabelGlyphs::Glyph* LabelGlyphs::glyphOf(char c) const
{
    // The minus first, then the digits in order, as kCharacters lists them.
    static_assert(kCharacters == "-0123456789");
    const std::size_t index = c == '-' ? 0 : c >= '0' && c <= '9' ? static_cast<std::size_t>(c - '0') + 1 : glyphs_.size();
    if (index == glyphs_.size() || !glyphs_[index].set)
        return nullptr;
    return &glyphs_[index];
}

int LabelGlyphs::width(std::string_view text) const
{
    long long sum = 0;
    for (char c : text)
        if (const Glyph* g = glyphOf(c))
            sum += g->advance64;
    // Halves round up, as the font's own measure does.
    return static_cast<int>(floorPixel(sum + 32));
}

PixelStamp LabelGlyphs::textPixels(std::string_view text) const
{
    // The pen's whole pixel for each character, twice: for the box around all of them, then for
    // their pixels in it (no list of them kept: this runs once a new altitude, thousands a paint).
    const auto eachPlaced = [this, text](auto&& visit) {
        long long pen64 = 0;
        for (char c : text) {
            const Glyph* g = glyphOf(c);
            if (!g)
                continue;
            const int x = static_cast<int>(floorPixel(pen64));
            pen64 += g->advance64;
            if (!g->pixels.empty())
                visit(g->pixels, x);
        }
    };
    int left = 0, right = 0, top = 0, bottom = 0;
    bool any = false;
    eachPlaced([&](const PixelStamp& g, int x) {
        const int l = x + g.left, t = g.top;
        const int r = l + g.width, b = t + g.height;
        left = any ? std::min(left, l) : l;
        right = any ? std::max(right, r) : r;
        top = any ? std::min(top, t) : t;
        bottom = any ? std::max(bottom, b) : b;
        any = true;
    });
    PixelStamp s;
    if (!any)
        return s;
    s.left = left;
    s.top = top;
    s.width = right - left;
    s.height = bottom - top;
    s.words = (s.width + 63) / 64;
    s.bits.assign(static_cast<std::size_t>(s.words) * s.height, 0);
    eachPlaced([&](const PixelStamp& g, int x) {
        const int column = x + g.left - left;
        const int shift = column & 63;
        for (int r = 0; r < g.height; ++r) {
            std::uint64_t* to = s.bits.data() + static_cast<std::size_t>(g.top - top + r) * s.words + (column >> 6);
            const std::uint64_t* from = g.bits.data() + static_cast<std::size_t>(r) * g.words;
            for (int k = 0; k < g.words; ++k) {
                to[k] |= from[k] << shift;
                if (shift != 0 && (column >> 6) + k + 1 < s.words)
                    to[k + 1] |= from[k] >> (64 - shift);
            }
        }
    });
    return s;
}

PixelStamp LabelGlyphs::label(std::int32_t altitude) const
{
    const std::string text = labelText(altitude);
    PixelStamp s = textPixels(text);
    s.left -= width(text) / 2;
    return s;
}
