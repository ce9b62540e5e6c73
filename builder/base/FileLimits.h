#pragma once
// The largest file each reader accepts. A reader checks the size before it reads anything, so a
// damaged reference or a device name never makes it read without end.

#include <cstdint>

namespace FileLimits {

inline constexpr std::uint64_t kMiB = std::uint64_t(1) << 20;

/// A project file holds its altitude maps; three full-resolution DTED maps stay far below this.
inline constexpr std::uint64_t kProjectFile = 1024 * kMiB;
/// TexRelief.cfg: settings and the texture class list.
inline constexpr std::uint64_t kConfigFile = 16 * kMiB;
/// Bitmaps: a 16384 x 16384 8-bit photo is 256 MiB; room for the largest sides with headers.
inline constexpr std::uint64_t kBitmapFile = 1100 * kMiB;
/// A DTED file at the finest level (3601 x 3601 posts) is about 26 MiB.
inline constexpr std::uint64_t kDtedFile = 128 * kMiB;
/// Text altitude files: about 30 bytes a triplet, so some nine million triplets.
inline constexpr std::uint64_t kTextAltitudeFile = 256 * kMiB;
/// Palette files (.pal, colors.pcf) and batch files are a few kilobytes.
inline constexpr std::uint64_t kPaletteFile = 1 * kMiB;
inline constexpr std::uint64_t kBatchFile = 1 * kMiB;

} // namespace FileLimits
