#pragma once
// The default files the program ships beside itself, made here rather than taken from anywhere:
// colors.pcf (the default colours of a new project) and default.bmp (the header and colour table
// that dress raw .r8 tiles as bitmaps).

#include <array>
#include <cstdint>
#include <string>

#include "imagery/PackedBitmap.h"

/// 256 colours: a 6 x 6 x 6 colour cube (entries 0 to 215) and 40 greys from black to white.
std::array<std::uint8_t, 768> shippedPaletteBytes();

/// A 256 x 256, 8-bit bitmap in that palette: a chart of 16 x 16 squares, one per colour.
PackedBitmap shippedDefaultBitmap();

/// Writes colors.pcf and default.bmp into `folder`; false when either cannot be written.
bool writeShippedFiles(const std::string& folder);
