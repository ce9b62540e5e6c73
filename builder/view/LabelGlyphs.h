#pragma once
// An altitude label's pixels put together from its characters' pixels, without drawing the text.
// A font drawn without smoothing sets the same pixels for a character wherever it stands, each
// character at the whole pixel below its pen position, the pen moving by the characters'
// advances (whole 1/64 pixels). Whoever fills this checks that the font draws that way.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "view/PixelStamp.h"

class LabelGlyphs {
public:
    /// The characters a label is made of.
    static constexpr std::string_view kCharacters = "-0123456789";

    /// A character's pixels relative to its pen position on the base line, and its advance in 1/64 pixel.
    void setGlyph(char c, PixelStamp pixels, int advance64);
    bool complete() const;

    /// The text's width as the font measures it: the advances summed, rounded to a whole pixel.
    int width(std::string_view text) const;
    /// The text's pixels with the pen starting at the point on the base line. Only characters of
    /// kCharacters; an other character, or one not set, sets nothing.
    PixelStamp textPixels(std::string_view text) const;
    /// The label of an altitude: its text centred on the point (starting width / 2 to the left).
    PixelStamp label(std::int32_t altitude) const;
    static std::string labelText(std::int32_t altitude) { return std::to_string(altitude); }

private:
    struct Glyph {
        PixelStamp pixels;
        int advance64 = 0;
        bool set = false;
    };
    const Glyph* glyphOf(char c) const;
    std::array<Glyph, kCharacters.size()> glyphs_{};
};
