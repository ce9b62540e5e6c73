#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imagery/LogicalPalette.h"
#include "imagery/PackedBitmap.h"

/// Reads a .bmp file into its packed form (the 14-byte file header is checked for "BM" and dropped).
/// An uncompressed 8-bit bitmap with a 52-, 56-, 64-, 108- or 124-byte header is kept in the
/// 40-byte form (its colour table follows the whole header in the file); rows that the file
/// header places after a gap are read from there; a top-down 8-bit bitmap is turned bottom-up.
/// Nothing, with `reason` saying why in words, when the file cannot be read, is not a bitmap, has
/// another header form, or its header claims more than the file holds.
std::optional<PackedBitmap> readBitmapFile(const std::string& path, std::string* reason = nullptr);

/// Writes a packed bitmap with a 40-byte header as a .bmp file. False for a core header or a write error.
bool writeBitmapFile(const PackedBitmap& bitmap, const std::string& path);

/// Writes a .bmp whose header and colour table are those of `templ` with the given size, followed by
/// width x height pixel bytes (rows padded to 4 bytes). `templ` itself is not changed. A core-header
/// template gives the 40-byte header with the same colours, so every tile is a plain 8-bit bitmap.
bool writeTileBitmap(const PackedBitmap& templ, const std::string& path, const std::uint8_t* pixels, int width,
                     int height);

/// The file header, information header and colour table writeTileBitmap puts before the pixels
/// (rows of tileRowStride(width) bytes); nothing for a template or size it refuses.
std::optional<std::vector<std::uint8_t>> tileBitmapHeaders(const PackedBitmap& templ, int width, int height);
std::size_t tileRowStride(int width);

/// A palette with one entry per colour-table entry; nothing when bitmapColorCount is 0 or over 256.
std::optional<LogicalPalette> createBitmapPalette(const PackedBitmap& bitmap);

/// True when the block holds everything its header claims: a known header form, the whole colour
/// table and, for uncompressed pixels, every row (compressed pixels: the header's image size).
/// A zero width or height claims no rows.
bool bitmapFitsBlock(const PackedBitmap& bitmap);
