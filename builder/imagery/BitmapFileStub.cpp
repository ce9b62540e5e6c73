// Placeholder until the bitmap file reader lands (delete this file then).
#include "imagery/BitmapFile.h"

std::optional<PackedBitmap> readBitmapFile(const std::string&) { return std::nullopt; }
bool writeBitmapFile(const PackedBitmap&, const std::string&) { return false; }
bool writeTileBitmap(const PackedBitmap&, const std::string&, const std::uint8_t*, int, int) { return false; }
std::optional<LogicalPalette> createBitmapPalette(const PackedBitmap&) { return std::nullopt; }
