#include "import/RasterImport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <memory>
#include <vector>

#include <unistd.h>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gdal_utils.h>
#include <ogr_srs_api.h>

#include "base/PathUtil.h"
#include "base/ProgressWindow.h"
#include "base/ReplaceFile.h"
#include "imagery/BitmapFile.h"
#include "import/AdaptivePalette.h"
#include "import/ChunkSizing.h"
#include "import/ColorMapping.h"
#include "import/GdalSupport.h"

namespace {

constexpr int kEdgeSamples = 64;           // points per edge when tracing the footprint
constexpr double kPoleMargin = 1e-9;
constexpr std::uint64_t kWarpMemory = 256ull << 20;
constexpr std::uint64_t kLargestBitmap = 0xFFFF0000ull;   // a .bmp file's size is 32 bits

using GdalSupport::Dataset;
using GdalSupport::QuietErrors;
using GdalSupport::registerDrivers;
using GdalSupport::Stages;
using GdalSupport::Words;

std::string fileName(const std::string& path) { return PathUtil::fileName(path); }

std::string gigabytes(std::uint64_t bytes)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, std::round(bytes / 1e8) / 10,
                                   std::chars_format::fixed, 1).ptr;
    return std::string(text, end) + " GB";
}

std::uint64_t machineMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 4ull << 30;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

const char* resamplingWord(ImportResampling resampling)
{
    switch (resampling) {
    case ImportResampling::Nearest: return "near";
    case ImportResampling::Bilinear: return "bilinear";
    case ImportResampling::Cubic: return "cubic";
    case ImportResampling::Lanczos: return "lanczos";
    case ImportResampling::Average: return "average";
    }
    return "cubic";
}

GDALRIOResampleAlg rasterIoResampling(ImportResampling resampling)
{
    switch (resampling) {
    case ImportResampling::Nearest: return GRIORA_NearestNeighbour;
    case ImportResampling::Bilinear: return GRIORA_Bilinear;
    case ImportResampling::Cubic: return GRIORA_Cubic;
    case ImportResampling::Lanczos: return GRIORA_Lanczos;
    case ImportResampling::Average: return GRIORA_Average;
    }
    return GRIORA_Cubic;
}

// The picture's bands as red, green, blue: a colour table is expanded, grey is repeated, extra
// bands (alpha, infrared) are left out. A virtual dataset, so nothing is read yet.
Dataset colourView(GDALDatasetH source, std::string& error)
{
    const int bands = GDALGetRasterCount(source);
    GDALRasterBandH first = GDALGetRasterBand(source, 1);
    Words words;
    words.add("-of").add("VRT");
    if (bands < 3 && GDALGetRasterColorTable(first) != nullptr)
        words.add("-expand").add("rgb");
    else if (bands < 3)
        words.add("-b").add(1).add("-b").add(1).add("-b").add(1);
    else
        words.add("-b").add(1).add("-b").add(2).add("-b").add(3);
    GDALTranslateOptions* options = GDALTranslateOptionsNew(words.list(), nullptr);
    int usage = 0;
    Dataset view(GDALTranslate("", source, options, &usage));
    GDALTranslateOptionsFree(options);
    if (!view)
        error = "The colours of the image cannot be read: " + QuietErrors::last();
    return view;
}

// Checks that refuse a file before anything large is read.
bool checkSource(const std::string& path, GDALDatasetH source, std::string& error)
{
    const int width = GDALGetRasterXSize(source), height = GDALGetRasterYSize(source);
    const int bands = GDALGetRasterCount(source);
    const std::string name = fileName(path);
    if (bands < 1) {
        error = name + " holds no image bands.";
        return false;
    }
    for (int b = 1; b <= std::min(bands, 3); ++b) {
        const GDALDataType type = GDALGetRasterDataType(GDALGetRasterBand(source, b));
        if (type == GDT_Byte)
            continue;
        if (bands == 1 && GDALDataTypeIsFloating(type))
            error = name + " is one band of floating-point values (elevation data?), not a picture; it cannot be "
                           "imported as a bitmap.";
        else
            error = name + " holds " + GDALGetDataTypeName(type) +
                    " samples; only pictures of 8-bit samples can be imported.";
        return false;
    }
    if (width < 2 || height < 2) {
        error = name + " is only " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels; a picture must be at least 2 pixels wide and high.";
        return false;
    }
    return true;
}

bool hasGeoreference(GDALDatasetH source)
{
    double gt[6];
    if (GDALGetGeoTransform(source, gt) == CE_None && GDALGetSpatialRef(source) != nullptr)
        return true;
    return GDALGetGCPCount(source) > 0 && GDALGetGCPSpatialRef(source) != nullptr;
}

std::string systemName(GDALDatasetH source)
{
    OGRSpatialReferenceH srs = GDALGetSpatialRef(source);
    if (!srs)
        srs = GDALGetGCPSpatialRef(source);
    const char* name = srs ? OSRGetName(srs) : nullptr;
    return name ? name : "";
}

struct Footprint {
    GeoRect extents;
    double nominalWidth = 0;    // pixels across at the source's own ground resolution
    double nominalHeight = 0;
};

// Where the picture lies in latitude/longitude: the box around its outline, traced along all four
// edges (straight lines in a projection bow in latitude/longitude), and its native pixel count.
bool traceFootprint(const std::string& path, GDALDatasetH source, Footprint& out, std::string& error)
{
    const std::string name = fileName(path);
    Words transformerOptions;
    transformerOptions.add("DST_SRS=EPSG:4326");
    void* transformer = GDALCreateGenImgProjTransformer2(source, nullptr, transformerOptions.list());
    if (!transformer) {
        error = name + " is georeferenced in a way that cannot be warped to latitude/longitude: " + QuietErrors::last();
        return false;
    }
    const double width = GDALGetRasterXSize(source), height = GDALGetRasterYSize(source);
    bool ok = true;

    // A pole inside the picture has no place on a latitude/longitude grid.
    for (double lat : {90.0, -90.0}) {
        double x = 0, y = lat, z = 0;
        int success = 0;
        GDALGenImgProjTransform(transformer, TRUE, 1, &x, &y, &z, &success);
        if (success && std::isfinite(x) && std::isfinite(y) && x >= -1 && x <= width + 1 && y >= -1 &&
            y <= height + 1) {
            error = name + " covers the " + (lat > 0 ? "North" : "South") +
                    " Pole and cannot be warped to latitude/longitude.";
            ok = false;
            break;
        }
    }

    std::vector<double> xs, ys;
    for (int i = 0; ok && i <= kEdgeSamples; ++i) {
        const double t = static_cast<double>(i) / kEdgeSamples;
        xs.insert(xs.end(), {t * width, t * width, 0.0, width});
        ys.insert(ys.end(), {0.0, height, t * height, t * height});
    }
    if (ok) {
        std::vector<double> zs(xs.size(), 0.0);
        std::vector<int> success(xs.size(), 0);
        GDALGenImgProjTransform(transformer, FALSE, static_cast<int>(xs.size()), xs.data(), ys.data(), zs.data(),
                                success.data());
        GeoRect box{std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                    std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()};
        for (std::size_t i = 0; i < xs.size() && ok; ++i) {
            if (!success[i] || !std::isfinite(xs[i]) || !std::isfinite(ys[i])) {
                error = name + " has points that cannot be warped to latitude/longitude.";
                ok = false;
                break;
            }
            box.west = std::min(box.west, xs[i]);
            box.east = std::max(box.east, xs[i]);
            box.south = std::min(box.south, ys[i]);
            box.north = std::max(box.north, ys[i]);
        }
        if (ok && (box.east - box.west > 180 || box.west < -180 - kPoleMargin || box.east > 180 + kPoleMargin ||
                   box.south < -90 || box.north > 90 || box.east <= box.west || box.north <= box.south)) {
            error = name + " crosses the 180th meridian or spans more than half the globe, so it cannot be "
                           "warped to one latitude/longitude rectangle.";
            ok = false;
        }
        out.extents = box;
    }

    if (ok) {
        // The ground size of one source pixel at the picture's centre (the area of the two pixel
        // sides warped to the ground); the result keeps it, with pixels square in metres.
        const GeoRect& e = out.extents;
        const double kmPerDegreeLon = std::cos((e.north + e.south) / 2 * 3.14159265359 / 180) * 40075.0 / 360.0;
        double x[3] = {width / 2, width / 2 + 1, width / 2}, y[3] = {height / 2, height / 2, height / 2 + 1};
        double z[3] = {0, 0, 0};
        int success[3] = {0, 0, 0};
        GDALGenImgProjTransform(transformer, FALSE, 3, x, y, z, success);
        const double ux = (x[1] - x[0]) * kmPerDegreeLon, uy = (y[1] - y[0]) * 111.13055555555556;
        const double vx = (x[2] - x[0]) * kmPerDegreeLon, vy = (y[2] - y[0]) * 111.13055555555556;
        const double pixelKm = std::sqrt(std::fabs(ux * vy - uy * vx));
        if (!success[0] || !success[1] || !success[2] || !(pixelKm > 0) || !std::isfinite(pixelKm)) {
            error = name + " cannot be warped to latitude/longitude: its pixels have no size on the ground.";
            ok = false;
        } else {
            out.nominalWidth = (e.east - e.west) * kmPerDegreeLon / pixelKm;
            out.nominalHeight = (e.north - e.south) * 111.13055555555556 / pixelKm;
        }
    }
    GDALDestroyGenImgProjTransformer(transformer);
    return ok;
}

bool checkMemory(const std::string& path, PixelSize size, std::uint64_t perPixel, std::uint64_t fixed,
                 const ImportOptions& options, std::string& error)
{
    const std::uint64_t pixels = static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height);
    const std::uint64_t needed = pixels * perPixel + fixed;
    const std::uint64_t limit = options.memoryLimit ? options.memoryLimit : machineMemory() / 2;
    const std::string result = std::to_string(size.width) + " x " + std::to_string(size.height);
    if (needed > limit) {
        error = fileName(path) + " is too large to import: a " + result + " pixel bitmap needs about " +
                gigabytes(needed) + " of memory, and at most " + gigabytes(limit) + " may be used.";
        return false;
    }
    if (pixels > kLargestBitmap) {
        error = fileName(path) + " is too large to import: its " + result +
                " pixel bitmap would not fit in a bitmap file.";
        return false;
    }
    return true;
}

// Reads three bands of a dataset into a picture of the given size, resampling as asked.
bool readRgb(GDALDatasetH dataset, RgbImage& image, ImportResampling resampling, Stages& stages)
{
    GDALRasterIOExtraArg extra;
    INIT_RASTERIO_EXTRA_ARG(extra);
    extra.eResampleAlg = rasterIoResampling(resampling);
    int bands[3] = {1, 2, 3};
    const int sourceWidth = GDALGetRasterXSize(dataset), sourceHeight = GDALGetRasterYSize(dataset);
    // In bands of rows, so Cancel is looked at while a large picture is read.
    const int step = std::max(1, std::min(image.height, (1 << 22) / std::max(1, image.width)));
    for (int y = 0; y < image.height; y += step) {
        const int rows = std::min(step, image.height - y);
        const double top = static_cast<double>(y) * sourceHeight / image.height;
        const double bottom = static_cast<double>(y + rows) * sourceHeight / image.height;
        extra.bFloatingPointWindowValidity = TRUE;
        extra.dfXOff = 0;
        extra.dfYOff = top;
        extra.dfXSize = sourceWidth;
        extra.dfYSize = bottom - top;
        const int y0 = static_cast<int>(std::floor(top));
        const int y1 = std::min(sourceHeight, static_cast<int>(std::ceil(bottom)));
        if (GDALDatasetRasterIOEx(dataset, GF_Read, 0, y0, sourceWidth, std::max(1, y1 - y0), image.at(0, y),
                                  image.width, rows, GDT_Byte, 3, bands, 3, 3 * static_cast<GSpacing>(image.width), 1,
                                  &extra) != CE_None)
            return false;
        if (!stages.at(static_cast<double>(y + rows) / image.height))
            return false;
    }
    return true;
}

// The picture and its alpha plane as an in-memory dataset on the latitude/longitude grid, sharing
// their memory, for the warp to write into.
Dataset pixelsAsDataset(RgbImage& image, std::vector<std::uint8_t>& alpha, const GeoRect& grid)
{
    Dataset dataset(GDALCreate(GDALGetDriverByName("MEM"), "", image.width, image.height, 0, GDT_Byte, nullptr));
    if (!dataset)
        return dataset;
    auto addBand = [&](std::uint8_t* data, int pixelOffset) {
        char pointer[64] = {};
        CPLPrintPointer(pointer, data, sizeof pointer - 1);
        Words bandOptions;
        bandOptions.add(std::string("DATAPOINTER=") + pointer);
        bandOptions.add("PIXELOFFSET=" + std::to_string(pixelOffset));
        bandOptions.add("LINEOFFSET=" + std::to_string(static_cast<long long>(pixelOffset) * image.width));
        return GDALAddBand(dataset.get(), GDT_Byte, bandOptions.list()) == CE_None;
    };
    bool ok = true;
    for (int c = 0; c < 3 && ok; ++c)
        ok = addBand(image.pixels.data() + c, 3);
    ok = ok && addBand(alpha.data(), 1);
    if (ok)
        ok = GDALSetRasterColorInterpretation(GDALGetRasterBand(dataset.get(), 4), GCI_AlphaBand) == CE_None;
    // The same grid the warp would lay out for these bounds and size.
    double transform[6] = {grid.west, (grid.east - grid.west) / image.width, 0,
                           grid.north, 0, -(grid.north - grid.south) / image.height};
    GdalSupport::Srs wgs84(OSRNewSpatialReference(nullptr));
    ok = ok && wgs84 && OSRImportFromEPSG(wgs84.get(), 4326) == OGRERR_NONE;
    if (ok) {
        OSRSetAxisMappingStrategy(wgs84.get(), OAMS_TRADITIONAL_GIS_ORDER);
        ok = GDALSetSpatialRef(dataset.get(), wgs84.get()) == CE_None &&
             GDALSetGeoTransform(dataset.get(), transform) == CE_None;
    }
    if (!ok)
        dataset.reset();
    return dataset;
}

void fillWhereEmpty(const std::vector<std::uint8_t>& alpha, RgbImage& image, std::uint32_t fill)
{
    for (std::size_t i = 0; i < alpha.size(); ++i)
        if (alpha[i] == 0) {
            std::uint8_t* p = &image.pixels[3 * i];
            p[0] = static_cast<std::uint8_t>(fill);
            p[1] = static_cast<std::uint8_t>(fill >> 8);
            p[2] = static_cast<std::uint8_t>(fill >> 16);
        }
}

RgbImage padInto(const RgbImage& image, PixelSize size, std::uint32_t fill)
{
    RgbImage out(size.width, size.height);
    for (std::size_t i = 0; i < out.pixelCount(); ++i) {
        out.pixels[3 * i] = static_cast<std::uint8_t>(fill);
        out.pixels[3 * i + 1] = static_cast<std::uint8_t>(fill >> 8);
        out.pixels[3 * i + 2] = static_cast<std::uint8_t>(fill >> 16);
    }
    for (int y = 0; y < image.height && y < out.height; ++y)
        std::copy_n(image.at(0, y), 3 * static_cast<std::size_t>(std::min(image.width, out.width)), out.at(0, y));
    return out;
}

// The 8-bit bitmap: 40-byte header, 256 colours, rows bottom first, padded to 4 bytes.
PackedBitmap packBitmap(int width, int height, const ImportColors& colors, const std::vector<std::uint8_t>& indices)
{
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t offset = 40 + 256 * 4;
    std::vector<std::uint8_t> block(offset + stride * static_cast<std::size_t>(height), 0);
    PackedBitmap bitmap(std::move(block));
    bitmap.putU32(0, 40);
    bitmap.putU32(4, static_cast<std::uint32_t>(width));
    bitmap.putU32(8, static_cast<std::uint32_t>(height));
    bitmap.putU32(12, 1u | 8u << 16);   // one plane, 8 bits per pixel
    bitmap.putU32(16, 0);
    bitmap.putU32(20, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)));
    std::uint8_t* table = bitmap.block().data() + 40;
    for (std::size_t i = 0; i < 256; ++i) {
        table[4 * i] = static_cast<std::uint8_t>(colors[i] >> 16);
        table[4 * i + 1] = static_cast<std::uint8_t>(colors[i] >> 8);
        table[4 * i + 2] = static_cast<std::uint8_t>(colors[i]);
    }
    std::uint8_t* rows = bitmap.block().data() + offset;
    for (int y = 0; y < height; ++y)
        std::copy_n(&indices[static_cast<std::size_t>(y) * width], width,
                    rows + static_cast<std::size_t>(height - 1 - y) * stride);
    return bitmap;
}

std::optional<ImportResult> passThrough(const std::string& path, const ImportOptions& options)
{
    std::optional<PackedBitmap> bitmap = readBitmapFile(path);
    if (!bitmap)
        return std::nullopt;
    ImportResult result;
    for (std::size_t i = 0; i < 256; ++i)
        result.colors[i] = bitmap->colorAt(i);
    result.sourcePath = path;
    result.sourceWidth = bitmap->width();
    result.sourceHeight = bitmap->height();
    result.sourceBands = 1;
    result.extents = options.extents;
    result.passedThrough = true;
    result.bitmap = std::move(*bitmap);
    return result;
}
} // namespace

std::optional<ImportResampling> parseResampling(const std::string& word)
{
    if (word == "nearest")
        return ImportResampling::Nearest;
    if (word == "bilinear")
        return ImportResampling::Bilinear;
    if (word == "cubic")
        return ImportResampling::Cubic;
    if (word == "lanczos")
        return ImportResampling::Lanczos;
    if (word == "average")
        return ImportResampling::Average;
    return std::nullopt;
}

bool isProjectBitmapFile(const std::string& path)
{
    const std::optional<PackedBitmap> bitmap = readBitmapFile(path);
    if (!bitmap || !bitmapFitsBlock(*bitmap) || bitmap->isCoreHeader())
        return false;
    const int colors = bitmapColorCount(*bitmap);
    return bitmap->bitsPerPixel() == 8 && bitmap->compression() == 0 && colors > 0 && colors <= 256 &&
           bitmap->width() > 0 && bitmap->width() % kChunkSide == 0 && bitmap->height() > 0 &&
           bitmap->height() % kChunkSide == 0;
}

std::optional<RasterInfo> probeRaster(const std::string& path, std::string& error)
{
    registerDrivers();
    QuietErrors quiet;
    Dataset source(GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!source) {
        error = "Cannot read " + fileName(path) + " as an image." +
                QuietErrors::lastAsSuffix();
        return std::nullopt;
    }
    GDALDatasetH ds = source.get();
    if (!checkSource(path, ds, error))
        return std::nullopt;
    RasterInfo info;
    info.width = GDALGetRasterXSize(ds);
    info.height = GDALGetRasterYSize(ds);
    info.bands = GDALGetRasterCount(ds);
    info.georeferenced = hasGeoreference(ds);
    info.system = info.georeferenced ? systemName(ds) : "";
    GDALDriverH driver = GDALGetDatasetDriver(ds);
    info.driver = driver ? GDALGetDriverShortName(driver) : "";
    return info;
}

std::optional<ImportResult> importRaster(const std::string& path, const ImportOptions& options,
                                         ProgressWindow* progress, std::string& error)
{
    if (!options.alwaysConvert && options.previewSide == 0 && isProjectBitmapFile(path))
        if (std::optional<ImportResult> same = passThrough(path, options))
            return same;

    registerDrivers();
    QuietErrors quiet;
    Stages stages(progress);
    const std::string name = fileName(path);
    Dataset source(GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!source) {
        error = "Cannot read " + name + " as an image." + QuietErrors::lastAsSuffix();
        return std::nullopt;
    }
    if (!checkSource(path, source.get(), error))
        return std::nullopt;

    ImportResult result;
    result.sourcePath = path;
    result.sourceWidth = GDALGetRasterXSize(source.get());
    result.sourceHeight = GDALGetRasterYSize(source.get());
    result.sourceBands = GDALGetRasterCount(source.get());
    result.georeferenced = hasGeoreference(source.get());
    result.sourceSystem = result.georeferenced ? systemName(source.get()) : "";
    const PixelSize native{result.sourceWidth, result.sourceHeight};

    // Where the picture lies and its size in pixels before whole blocks are made.
    Footprint footprint;
    if (result.georeferenced) {
        if (!traceFootprint(path, source.get(), footprint, error))
            return std::nullopt;
        result.extents = footprint.extents;
    } else {
        result.extents = options.extents;
        footprint.nominalWidth = native.width;
        footprint.nominalHeight = native.height;
    }
    const PixelSize nominal{std::max(1, static_cast<int>(std::lround(footprint.nominalWidth))),
                            std::max(1, static_cast<int>(std::lround(footprint.nominalHeight)))};

    PixelSize target;
    switch (options.sizing) {
    case ImportSizing::NearestChunks:
        target = {nearestChunkSide(footprint.nominalWidth), nearestChunkSide(footprint.nominalHeight)};
        break;
    case ImportSizing::Resolution:
        if (!(options.metresPerPixel > 0) || !std::isfinite(options.metresPerPixel)) {
            error = "The resolution must be a positive number of metres per pixel.";
            return std::nullopt;
        }
        if (!result.extents || !result.extents->hasExtent()) {
            error = name + " carries no georeferencing: a resolution needs its extents, so give them.";
            return std::nullopt;
        }
        target = sizeForResolution(*result.extents, options.metresPerPixel);
        break;
    case ImportSizing::Pad:
        target = {paddedChunkSide(nominal.width), paddedChunkSide(nominal.height)};
        break;
    }
    if (options.previewSide > 0)
        target = fitInto(target, options.previewSide);

    // Pixels of the result (the warp writes into them), the warp's alpha, indices, the bitmap.
    const std::uint64_t perPixel = result.georeferenced ? 3 + 1 + 1 + 1 : 3 + 1 + 1;
    if (!checkMemory(path, target, perPixel, kWarpMemory, options, error))
        return std::nullopt;

    Dataset view = colourView(source.get(), error);
    if (!view)
        return std::nullopt;

    RgbImage image;
    if (result.georeferenced) {
        // With padding the grid keeps the native pixel size and grows east and south.
        GeoRect grid = *result.extents;
        if (options.sizing == ImportSizing::Pad && options.previewSide == 0)
            grid = paddedExtents(grid, nominal, target);
        else if (options.sizing == ImportSizing::Pad)
            grid = paddedExtents(grid, nominal, {paddedChunkSide(nominal.width), paddedChunkSide(nominal.height)});
        // The warp writes straight into the picture's pixels and an alpha plane of its own, with
        // no copy of the whole image in between.
        image = RgbImage(target.width, target.height);
        std::vector<std::uint8_t> alpha(image.pixelCount());
        Dataset warped = pixelsAsDataset(image, alpha, grid);
        if (!warped) {
            error = "Cannot prepare the warped picture: " + QuietErrors::last();
            return std::nullopt;
        }
        Words words;
        words.add("-r").add(resamplingWord(options.resampling));
        words.add("-dstalpha").add("-multi").add("-wo").add("NUM_THREADS=ALL_CPUS").add("-wo").add("INIT_DEST=0");
        words.add("-wm").add(static_cast<int>(kWarpMemory >> 20));
        GDALWarpAppOptions* warpOptions = GDALWarpAppOptionsNew(words.list(), nullptr);
        stages.begin("Warping to latitude/longitude", 0, 60);
        GDALWarpAppOptionsSetProgress(warpOptions, Stages::progress, &stages);
        GDALDatasetH sources[1] = {view.get()};
        int usage = 0;
        const bool done = GDALWarp(nullptr, warped.get(), 1, sources, warpOptions, &usage) != nullptr && usage == 0;
        GDALWarpAppOptionsFree(warpOptions);
        if (stages.cancelled()) {
            error = "Import cancelled.";
            return std::nullopt;
        }
        if (!done) {
            error = name + " cannot be warped to latitude/longitude: " + QuietErrors::last();
            return std::nullopt;
        }
        warped.reset();
        fillWhereEmpty(alpha, image, options.fillColor);
        result.extents = grid;
    } else {
        const bool pad = options.sizing == ImportSizing::Pad;
        // A padded preview shrinks the picture by the same factor as its padded canvas.
        const PixelSize whole{paddedChunkSide(native.width), paddedChunkSide(native.height)};
        const double scale = static_cast<double>(target.width) / whole.width;
        const PixelSize read = !pad ? target
                             : options.previewSide > 0
                                 ? PixelSize{std::max(1, static_cast<int>(std::lround(native.width * scale))),
                                             std::max(1, static_cast<int>(std::lround(native.height * scale)))}
                                 : native;
        image = RgbImage(read.width, read.height);
        stages.begin("Reading the picture", 0, 60);
        if (!readRgb(view.get(), image, options.resampling, stages)) {
            error = stages.cancelled() ? "Import cancelled." : "Cannot read the picture: " + QuietErrors::last();
            return std::nullopt;
        }
        if (pad) {
            if (result.extents)
                result.extents = paddedExtents(*result.extents, native, whole);
            image = padInto(image, target, options.fillColor);
        }
    }
    view.reset();
    source.reset();

    // The 256 colours.
    stages.begin("Choosing the colours", 60, 75);
    std::array<bool, 256> usable = usableEntries(options.reservedLow);
    ImportColors colors{};
    if (options.palette == ImportPaletteKind::Adaptive) {
        colors = adaptivePalette(image, std::clamp(options.reservedLow, 0, 255), options.refinementPasses,
                                 [&] { return stages.at(0.5); });
    } else {
        colors = options.fixedColors;
    }
    if (stages.cancelled()) {
        error = "Import cancelled.";
        return std::nullopt;
    }
    if (std::none_of(usable.begin(), usable.end(), [](bool u) { return u; })) {
        error = "Every palette entry is reserved: no colour is left for the picture.";
        return std::nullopt;
    }

    stages.begin("Mapping the pixels", 75, 100);
    const std::vector<std::uint8_t> indices =
        mapToPalette(image, colors, usable, options.dither, [&](int row) {
            return row % 64 != 0 || stages.at(static_cast<double>(row) / image.height);
        });
    if (indices.empty()) {
        error = "Import cancelled.";
        return std::nullopt;
    }
    result.colors = colors;
    result.bitmap = packBitmap(image.width, image.height, colors, indices);
    stages.at(1.0);
    return result;
}

std::optional<RgbImage> readRasterThumbnail(const std::string& path, int side, std::string& error)
{
    registerDrivers();
    QuietErrors quiet;
    Dataset source(GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!source) {
        error = "Cannot read " + fileName(path) + " as an image.";
        return std::nullopt;
    }
    if (!checkSource(path, source.get(), error))
        return std::nullopt;
    Dataset view = colourView(source.get(), error);
    if (!view)
        return std::nullopt;
    const PixelSize whole{GDALGetRasterXSize(source.get()), GDALGetRasterYSize(source.get())};
    const PixelSize size = fitInto(whole, side);
    RgbImage image(size.width, size.height);
    Stages none(nullptr);
    // Averaging reads every pixel; a very large picture is sampled instead, so its preview comes quickly.
    const bool large = static_cast<std::uint64_t>(whole.width) * static_cast<std::uint64_t>(whole.height) > (1ull << 26);
    if (!readRgb(view.get(), image, large ? ImportResampling::Nearest : ImportResampling::Average, none)) {
        error = "Cannot read " + fileName(path) + ": " + QuietErrors::last();
        return std::nullopt;
    }
    return image;
}

bool writeImportedBitmap(const ImportResult& result, const std::string& path, std::string& error)
{
    bool ok = false;
    if (result.passedThrough) {
        std::ifstream in(result.sourcePath, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ok = in.good() || in.eof() ? replaceFile(path, {{bytes.data(), bytes.size()}}) : false;
    } else {
        ok = writeBitmapFile(result.bitmap, path);
    }
    if (!ok)
        error = "Cannot write " + path + ".";
    return ok;
}

std::string importedBitmapPath(const std::string& sourcePath)
{
    const std::string folder = PathUtil::folder(sourcePath);
    const std::string name = PathUtil::fileName(sourcePath);
    std::string title = PathUtil::titleOf(name);
    std::string extension = name.size() > title.size() ? name.substr(title.size()) : "";
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bmp")
        title += "_256";
    return folder.empty() ? title + ".bmp" : PathUtil::join(folder, title + ".bmp");
}
