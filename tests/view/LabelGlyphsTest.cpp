// Labels put together from their characters: the pen's whole pixel for each character, the
// width rounded as the font measures it, and the label centred on its point.
#include <gtest/gtest.h>
#include <climits>
#include <set>
#include <string>

#include "view/LabelGlyphs.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels pixelsOf(const PixelStamp& s)
{
    Pixels set;
    for (int r = 0; r < s.height; ++r)
        for (int c = 0; c < s.width; ++c)
            if ((s.bits[static_cast<std::size_t>(r) * s.words + c / 64] >> (c % 64)) & 1)
                set.insert({s.left + c, s.top + r});
    return set;
}

// A character of its own shape: a column of `height` pixels at `x` and a pixel at (`x` + 2, -1).
Pixels shapeOf(int x, int height)
{
    Pixels set;
    for (int y = 0; y < height; ++y)
        set.insert({x, -y});
    set.insert({x + 2, -1});
    return set;
}

PixelStamp stampOf(const Pixels& pixels)
{
    return PixelStamp::fromOffsets({pixels.begin(), pixels.end()});
}

// Every character with a shape of its own and an advance in 1/64 pixel that is not whole.
LabelGlyphs someGlyphs(int advance64)
{
    LabelGlyphs glyphs;
    for (std::size_t i = 0; i < LabelGlyphs::kCharacters.size(); ++i)
        glyphs.setGlyph(LabelGlyphs::kCharacters[i], stampOf(shapeOf(static_cast<int>(i % 3) - 1, 3 + static_cast<int>(i))),
                        advance64 + static_cast<int>(i));
    return glyphs;
}

} // namespace

TEST(LabelGlyphs, EachCharacterStandsAtTheWholePixelBelowItsPen)
{
    for (int advance64 : {64, 100, 366, 207, 1000}) {
        const LabelGlyphs glyphs = someGlyphs(advance64);
        ASSERT_TRUE(glyphs.complete());
        for (const std::string text : {"0", "-", "-1", "99", "-2147483648", "2147483647", "0123456789-9876543210"}) {
            Pixels expected;
            long long pen64 = 0;
            for (char c : text) {
                const int i = static_cast<int>(LabelGlyphs::kCharacters.find(c));
                for (const auto& [x, y] : shapeOf(i % 3 - 1, 3 + i))
                    expected.insert({x + static_cast<int>(pen64 / 64), y});
                pen64 += advance64 + i;
            }
            const PixelStamp s = glyphs.textPixels(text);
            EXPECT_EQ(pixelsOf(s), expected) << advance64 << " " << text;
            // The box is tight: its first and last rows and columns hold pixels.
            EXPECT_EQ(s.left, expected.begin()->first) << text;
            EXPECT_EQ(s.width, expected.rbegin()->first - expected.begin()->first + 1) << text;
            // The width: the advances summed, rounded to the nearest whole pixel, halves up.
            EXPECT_EQ(glyphs.width(text), static_cast<int>((pen64 + 32) / 64)) << advance64 << " " << text;
        }
    }
}

TEST(LabelGlyphs, WidthsRoundHalvesUp)
{
    struct Case {
        int advance64;
        std::string text;
        int width;
    };
    const Case cases[] = {
        {32, "0", 1}, {31, "0", 0}, {96, "0", 2}, {95, "0", 1}, {16, "0000", 1}, {15, "0000", 1}, {8, "0000", 1},
        {7, "0000", 0}, {0, "123", 0}, {366, "2147483647", 57}, {366, "", 0},
    };
    for (const Case& c : cases) {
        LabelGlyphs glyphs;
        for (char ch : LabelGlyphs::kCharacters)
            glyphs.setGlyph(ch, stampOf({{0, 0}}), c.advance64);
        EXPECT_EQ(glyphs.width(c.text), c.width) << c.advance64 << " " << c.text;
    }
}

TEST(LabelGlyphs, ALabelIsCentredOnItsPointAndWiderLabelsTakeTwoWords)
{
    const LabelGlyphs glyphs = someGlyphs(366);
    for (std::int32_t altitude : {0, 7, -7, 1234, -1234, INT_MAX, INT_MIN}) {
        const std::string text = std::to_string(altitude);
        Pixels expected;
        for (const auto& [x, y] : pixelsOf(glyphs.textPixels(text)))
            expected.insert({x - glyphs.width(text) / 2, y});
        const PixelStamp label = glyphs.label(altitude);
        EXPECT_EQ(pixelsOf(label), expected) << altitude;
        EXPECT_EQ(label.words, (label.width + 63) / 64) << altitude;
    }
    // A label wider than one word (11 characters of 7 pixels) keeps the pixels past the first word.
    const LabelGlyphs wide = someGlyphs(7 * 64);
    const PixelStamp label = wide.label(INT_MIN);
    EXPECT_GT(label.width, 64);
    EXPECT_EQ(label.words, 2);
    EXPECT_EQ(pixelsOf(label).size(), pixelsOf(wide.textPixels("-2147483648")).size());
}

TEST(LabelGlyphs, MissingCharactersSetNothing)
{
    LabelGlyphs glyphs;
    EXPECT_FALSE(glyphs.complete());
    EXPECT_TRUE(glyphs.textPixels("123").empty());
    EXPECT_EQ(glyphs.width("123"), 0);
    glyphs.setGlyph('1', stampOf({{0, 0}, {0, -1}}), 128);
    glyphs.setGlyph('x', stampOf({{5, 5}}), 640);   // not a label's character: ignored
    EXPECT_FALSE(glyphs.complete());
    EXPECT_EQ(pixelsOf(glyphs.textPixels("1x21")), (Pixels{{0, 0}, {0, -1}, {2, 0}, {2, -1}}));
    EXPECT_EQ(glyphs.width("1x21"), 4);
}
