#pragma once
// The raster import: any picture GDAL reads becomes a 256-colour project bitmap whose sides are
// multiples of 1024 pixels. A georeferenced picture is first warped to latitude/longitude on
// WGS 84 and brings its own extents; for any other the caller's extents are kept. GDAL stays
// inside this folder's .cpp files: the rest of the builder sees only these declarations.

#include <optional>
#include <string>

#include "import/ImportOptions.h"
#include "import/ImportResult.h"
#include "import/RgbImage.h"

class ProgressWindow;

/// What a first look at a raster file finds.
struct RasterInfo {
    int width = 0;
    int height = 0;
    int bands = 0;
    bool georeferenced = false;
    std::string system;   ///< the coordinate system's name, when georeferenced
    std::string driver;   ///< GDAL's short name of the format
};

/// Opens the file and describes it; nothing, with `error` set, when it cannot be read as a picture
/// or is one the import refuses (samples other than 8 bits, smaller than 2 x 2).
std::optional<RasterInfo> probeRaster(const std::string& path, std::string& error);

/// True when the file already is a valid project bitmap: an uncompressed 8-bit .bmp with a colour
/// table whose sides are positive multiples of 1024.
bool isProjectBitmapFile(const std::string& path);

/// The import. Checks the picture (readable, 8-bit samples, at least 2 x 2, georeferencing that can
/// be laid flat, memory it needs) before any large allocation; refusals set `error` to a sentence
/// for the user and give nothing. `progress` (may be null) shows the stages and can cancel.
std::optional<ImportResult> importRaster(const std::string& path, const ImportOptions& options,
                                         ProgressWindow* progress, std::string& error);

/// The picture as it is in the file (not warped), fitted into `side` x `side` pixels: the "before"
/// of a preview. Nothing, with `error` set, when it cannot be read.
std::optional<RgbImage> readRasterThumbnail(const std::string& path, int side, std::string& error);

/// Writes the result as a .bmp through the safe replace (a failure keeps any previous file). A
/// passed-through source is copied byte for byte. False, with `error` set, when it cannot be written.
bool writeImportedBitmap(const ImportResult& result, const std::string& path, std::string& error);

/// The name a converted picture gets beside its source: the source's title + ".bmp", or
/// title + "_256.bmp" when the source itself is a .bmp.
std::string importedBitmapPath(const std::string& sourcePath);
