#pragma once
// What the raster import is asked to make: how to resample, how to reach whole 1024-pixel sides,
// which 256 colours to use, and the extents of an image that carries no georeferencing.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "project/GeoRect.h"

/// 256 colours as 0x00BBGGRR words, the builder's colour form.
using ImportColors = std::array<std::uint32_t, 256>;

enum class ImportResampling { Nearest, Bilinear, Cubic, Lanczos, Average };

/// How the sides become multiples of 1024 pixels.
enum class ImportSizing {
    NearestChunks,   ///< resample each side to its nearest multiple of 1024 (at least 1024)
    Resolution,      ///< resample to a ground resolution, each side rounded to whole 1024s
    Pad,             ///< keep the pixels, grow the canvas east and south with the fill colour
};

enum class ImportPaletteKind { Adaptive, Fixed };

struct ImportOptions {
    ImportResampling resampling = ImportResampling::Cubic;
    ImportSizing sizing = ImportSizing::NearestChunks;
    double metresPerPixel = 0.0;   ///< for ImportSizing::Resolution
    std::uint32_t fillColor = 0;   ///< padding and the corners a warp leaves empty (0x00BBGGRR)

    ImportPaletteKind palette = ImportPaletteKind::Adaptive;
    ImportColors fixedColors{};    ///< for ImportPaletteKind::Fixed
    bool dither = false;           ///< error diffusion (Floyd-Steinberg, serpentine)
    int reservedLow = 0;           ///< indices 0 .. reservedLow-1 never appear among the pixels
    int refinementPasses = 3;      ///< k-means passes after the median cut of an adaptive palette

    /// Extents of an image without georeferencing (ignored for a georeferenced one).
    std::optional<GeoRect> extents;
    /// Memory the import may take, in bytes; 0 takes half the machine's physical memory.
    std::uint64_t memoryLimit = 0;
    /// Largest side of the result (0: no cap); the import dialog's preview uses a small one.
    int previewSide = 0;
    /// A file that is already a valid project bitmap is copied unchanged unless this is set.
    bool alwaysConvert = false;
};

/// Parses "nearest", "bilinear", "cubic", "lanczos", "average"; nothing for another word.
std::optional<ImportResampling> parseResampling(const std::string& word);
