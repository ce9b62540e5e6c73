#pragma once
// Fixed palettes a picture can be mapped onto: the project's default palette (colors.pcf, or the
// colour table of default.bmp when there is no colors.pcf), a JASC text palette, a 768-byte
// palette file in the colors.pcf layout, or the colour table of an 8-bit bitmap.

#include <optional>
#include <string>

#include "import/ImportOptions.h"

struct FixedPalette {
    ImportColors colors{};
    int count = 0;   ///< entries the file gave; the rest are black and never used
};

/// The default palette from the application folder. Nothing, with `error` set, when neither
/// colors.pcf nor default.bmp gives one.
std::optional<FixedPalette> readDefaultPalette(const std::string& applicationFolder, std::string& error);

/// A palette file: JASC ("JASC-PAL" first), 768 bytes of red, green, blue, or a .bmp's colour
/// table. Nothing, with `error` set, when it is none of these or has no colours.
std::optional<FixedPalette> readPaletteFile(const std::string& path, std::string& error);
