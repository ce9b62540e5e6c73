#include "import/ElevationImport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gdal_utils.h>
#include <ogr_srs_api.h>

#include "base/PathUtil.h"
#include "import/GdalSupport.h"
#include "base/Platform.h"
#include "base/ProgressWindow.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

namespace {

constexpr double kVoidMark = -32768.0;            // SRTM's void, also what a warp leaves outside the file
constexpr int kFillSearch = 100;                  // posts a filled void may reach for a neighbour
constexpr double kMetresPerDegree = 111320.0;
constexpr std::int64_t kMostRecords = 30'000'000;   // about 720 MB of records
constexpr std::int64_t kMostPostsRead = 64'000'000;  // 512 MB of heights read at once
constexpr int kRowsPerRead = 256;

using GdalSupport::Dataset;
using GdalSupport::QuietErrors;
using GdalSupport::registerDrivers;
using GdalSupport::Srs;
using GdalSupport::Stages;
using GdalSupport::Words;

Srs wgs84()
{
    Srs srs(OSRNewSpatialReference(nullptr));
    OSRSetWellKnownGeogCS(static_cast<OGRSpatialReferenceH>(srs.get()), "WGS84");
    OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(srs.get()), OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

// Latitude/longitude on WGS 84 with a north-up grid: the posts can be taken as they are.
bool isPlainGeographic(GDALDatasetH ds, const double gt[6])
{
    OGRSpatialReferenceH srs = GDALGetSpatialRef(ds);
    if (!srs || !OSRIsGeographic(srs) || OSRIsCompound(srs))
        return false;
    const Srs reference = wgs84();
    const char* options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", "CRITERION=EQUIVALENT", nullptr};
    if (!OSRIsSameEx(srs, static_cast<OGRSpatialReferenceH>(reference.get()), options))
        return false;
    return gt[1] > 0 && gt[5] < 0 && gt[2] == 0 && gt[4] == 0;
}

// Metres per unit of the file's heights: 1, or a foot when the band says so.
double verticalFactor(GDALRasterBandH band, bool& feet)
{
    std::string unit = GDALGetRasterUnitType(band) ? GDALGetRasterUnitType(band) : "";
    std::transform(unit.begin(), unit.end(), unit.begin(), [](unsigned char c) { return std::tolower(c); });
    feet = false;
    if (unit == "us survey foot" || unit == "us-ft" || unit == "ftus" || unit == "us_survey_foot") {
        feet = true;
        return 1200.0 / 3937.0;
    }
    if (unit == "ft" || unit == "foot" || unit == "feet" || unit == "international foot" || unit == "ft_i") {
        feet = true;
        return 0.3048;
    }
    return 1.0;
}

// Indices from `first` to `last` every `step`, the last always included.
std::vector<int> pick(int first, int last, int step)
{
    std::vector<int> out;
    for (int i = first; i < last; i += step)
        out.push_back(i);
    out.push_back(last);
    return out;
}

struct Window {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;   // inclusive
    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
};

} // namespace

bool isElevationFileMap(const AltitudeMap& map)
{
    return map.sourceType == 3 && map.sourceParam1 == kElevationFileMarker;
}

void markElevationFileMap(AltitudeMap& map)
{
    map.sourceType = 3;
    map.sourceParam1 = kElevationFileMarker;
    map.sourceParam2 = 0;
}

std::optional<ElevationVoids> parseElevationVoids(const std::string& word)
{
    if (word == "fill")
        return ElevationVoids::Fill;
    if (word == "skip")
        return ElevationVoids::Skip;
    return std::nullopt;
}

std::string describeElevationResult(const ElevationResult& result)
{
    std::string text = PathUtil::fileName(result.map.title) + ": " + std::to_string(result.postsRead) + " posts read";
    if (result.voids > 0) {
        text += ", " + std::to_string(result.voids) + " void";
        if (result.voidsFilled > 0)
            text += " (" + std::to_string(result.voidsFilled) + " filled from their neighbours)";
        else
            text += " (left out)";
    }
    text += ", " + std::to_string(result.recordsKept) + " records kept.";
    return text;
}

std::optional<ElevationResult> importElevation(const std::string& path, const ElevationOptions& options,
                                               ProgressWindow* progress, std::string& error)
{
    error.clear();
    const std::string name = PathUtil::fileName(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "Cannot read " + name + ": it is not a file.";
        return std::nullopt;
    }
    registerDrivers();
    QuietErrors quiet;
    Stages stages(progress);
    stages.begin("Opening", 0, 2);

    Dataset source(GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!source) {
        error = "Cannot read " + name + " as an elevation file." + QuietErrors::lastAsSuffix();
        return std::nullopt;
    }
    const int bands = GDALGetRasterCount(source.get());
    if (bands != 1) {
        error = name + " has " + std::to_string(bands) +
                " bands: an elevation file holds one band of heights. Is it a picture?";
        return std::nullopt;
    }
    GDALRasterBandH sourceBand = GDALGetRasterBand(source.get(), 1);
    if (GDALDataTypeIsComplex(GDALGetRasterDataType(sourceBand)) ||
        GDALGetRasterColorInterpretation(sourceBand) == GCI_PaletteIndex ||
        GDALGetRasterColorTable(sourceBand) != nullptr) {
        error = name + " holds a picture, not heights.";
        return std::nullopt;
    }
    double sourceGt[6];
    if (GDALGetGeoTransform(source.get(), sourceGt) != CE_None || GDALGetSpatialRef(source.get()) == nullptr) {
        error = name + " does not say where it lies (no georeferencing), so its posts cannot be placed.";
        return std::nullopt;
    }

    ElevationResult result;
    result.map.title = path;
    int hasNoData = 0;
    const double sourceNoData = GDALGetRasterNoDataValue(sourceBand, &hasNoData);
    const double factor = verticalFactor(sourceBand, result.feet);
    int hasScale = 0, hasOffset = 0;
    double scale = GDALGetRasterScale(sourceBand, &hasScale);
    double offset = GDALGetRasterOffset(sourceBand, &hasOffset);
    if (!hasScale || scale == 0)
        scale = 1.0;
    if (!hasOffset)
        offset = 0.0;

    // Anything but latitude/longitude on WGS 84 is reprojected, lazily, through a virtual warp.
    Dataset warped;
    GDALDatasetH ds = source.get();
    const double noData = hasNoData ? sourceNoData : kVoidMark;
    if (!isPlainGeographic(source.get(), sourceGt)) {
        Words words;
        words.add("-of").add("VRT").add("-t_srs").add("EPSG:4326").add("-r").add("bilinear");
        words.add("-ot").add("Float64").add("-dstnodata").add(noData);
        GDALWarpAppOptions* warpOptions = GDALWarpAppOptionsNew(words.list(), nullptr);
        GDALDatasetH in = source.get();
        int usage = 0;
        warped.reset(GDALWarp("", nullptr, 1, &in, warpOptions, &usage));
        GDALWarpAppOptionsFree(warpOptions);
        if (!warped) {
            error = name + " cannot be reprojected to latitude and longitude." + QuietErrors::lastAsSuffix();
            return std::nullopt;
        }
        ds = warped.get();
        result.warped = true;
    }
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    const int width = GDALGetRasterXSize(ds), height = GDALGetRasterYSize(ds);
    double gt[6];
    GDALGetGeoTransform(ds, gt);
    const bool voidsPossible = hasNoData || result.warped;

    // The window of posts: inside the clip, plus the first post beyond it on every side.
    Window window{0, 0, width - 1, height - 1};
    if (options.clip && options.clip->hasExtent()) {
        const GeoRect& c = *options.clip;
        const double dx = gt[1], dy = -gt[5];
        const double x0 = std::floor((c.west - gt[0]) / dx - 0.5 + 1e-9);
        const double x1 = std::ceil((c.east - gt[0]) / dx - 0.5 - 1e-9);
        const double y0 = std::floor((gt[3] - c.north) / dy - 0.5 + 1e-9);
        const double y1 = std::ceil((gt[3] - c.south) / dy - 0.5 - 1e-9);
        if (x1 < 0 || y1 < 0 || x0 > width - 1 || y0 > height - 1) {
            error = name + " lies outside the project boundary: no post of it is needed.";
            return std::nullopt;
        }
        window = {static_cast<int>(std::max(0.0, x0)), static_cast<int>(std::max(0.0, y0)),
                  static_cast<int>(std::min<double>(width - 1, x1)), static_cast<int>(std::min<double>(height - 1, y1))};
    }
    result.postsRead = static_cast<std::int64_t>(window.width()) * window.height();

    // Fill reaches beyond the window so voids at its edges see their neighbours.
    const bool filling = options.voids == ElevationVoids::Fill && voidsPossible;
    const int reach = filling ? kFillSearch : 0;
    const Window read{std::max(0, window.x0 - reach), std::max(0, window.y0 - reach),
                      std::min(width - 1, window.x1 + reach), std::min(height - 1, window.y1 + reach)};
    const std::int64_t readPosts = static_cast<std::int64_t>(read.width()) * read.height();
    if (readPosts > kMostPostsRead) {
        error = name + ": " + std::to_string(result.postsRead) +
                " posts are more than can be read at once. Set a project boundary first.";
        return std::nullopt;
    }

    std::vector<double> heights;
    try {
        heights.resize(static_cast<std::size_t>(readPosts));
    } catch (const std::bad_alloc&) {
        error = name + ": not enough memory to read " + std::to_string(readPosts) + " posts.";
        return std::nullopt;
    }
    stages.begin("Reading heights", 2, result.warped ? 70 : 50);
    for (int y = 0; y < read.height(); y += kRowsPerRead) {
        const int rows = std::min(kRowsPerRead, read.height() - y);
        if (GDALRasterIO(band, GF_Read, read.x0, read.y0 + y, read.width(), rows,
                         &heights[static_cast<std::size_t>(y) * read.width()], read.width(), rows, GDT_Float64, 0,
                         0) != CE_None) {
            error = name + " is damaged: its heights cannot be read." + QuietErrors::lastAsSuffix();
            return std::nullopt;
        }
        if (!stages.at(static_cast<double>(y + rows) / read.height()))
            return std::nullopt;
    }
    const auto isVoid = [&](double v) { return std::isnan(v) || (voidsPossible && v == noData); };

    // A reprojected file leaves posts outside its own area empty: those are never filled.
    std::vector<char> outside;
    if (result.warped) {
        outside.assign(static_cast<std::size_t>(window.width()) * window.height(), 0);
        Srs target(OSRClone(GDALGetSpatialRef(source.get())));
        OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(target.get()), OAMS_TRADITIONAL_GIS_ORDER);
        const Srs geographic = wgs84();
        OGRCoordinateTransformationH toSource =
            OCTNewCoordinateTransformation(static_cast<OGRSpatialReferenceH>(geographic.get()),
                                           static_cast<OGRSpatialReferenceH>(target.get()));
        double inverse[6];
        if (!toSource || !GDALInvGeoTransform(sourceGt, inverse)) {
            if (toSource)
                OCTDestroyCoordinateTransformation(toSource);
            error = name + " cannot be reprojected to latitude and longitude." + QuietErrors::lastAsSuffix();
            return std::nullopt;
        }
        const int sw = GDALGetRasterXSize(source.get()), sh = GDALGetRasterYSize(source.get());
        std::vector<double> xs(static_cast<std::size_t>(window.width())), ys(xs.size());
        std::vector<int> ok(xs.size());
        for (int y = 0; y < window.height(); ++y) {
            for (int x = 0; x < window.width(); ++x) {
                xs[static_cast<std::size_t>(x)] = gt[0] + (window.x0 + x + 0.5) * gt[1];
                ys[static_cast<std::size_t>(x)] = gt[3] + (window.y0 + y + 0.5) * gt[5];
            }
            OCTTransformEx(toSource, static_cast<int>(xs.size()), xs.data(), ys.data(), nullptr, ok.data());
            for (int x = 0; x < window.width(); ++x) {
                const std::size_t i = static_cast<std::size_t>(x);
                const double px = inverse[0] + xs[i] * inverse[1] + ys[i] * inverse[2];
                const double py = inverse[3] + xs[i] * inverse[4] + ys[i] * inverse[5];
                if (!ok[i] || !(px >= 0 && px <= sw && py >= 0 && py <= sh))
                    outside[static_cast<std::size_t>(y) * window.width() + i] = 1;
            }
        }
        OCTDestroyCoordinateTransformation(toSource);
    }
    const auto isOutside = [&](int x, int y) {
        return !outside.empty() && outside[static_cast<std::size_t>(y) * window.width() + x] != 0;
    };

    const auto at = [&](int x, int y) -> double& {   // window coordinates
        return heights[static_cast<std::size_t>(y + window.y0 - read.y0) * read.width() + (x + window.x0 - read.x0)];
    };
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x)
            if (!isOutside(x, y) && isVoid(at(x, y)))
                ++result.voids;
    std::int64_t outsideCount = 0;
    for (char o : outside)
        outsideCount += o;
    if (result.voids + outsideCount >= result.postsRead) {
        error = name + " holds no heights" + (options.clip ? " inside the project boundary" : "") +
                ": every post is void.";
        return std::nullopt;
    }

    if (filling && result.voids > 0) {
        stages.begin("Filling voids", result.warped ? 70 : 50, 85);
        std::vector<char> wasVoid(static_cast<std::size_t>(window.width()) * window.height());
        for (int y = 0; y < window.height(); ++y)
            for (int x = 0; x < window.width(); ++x)
                wasVoid[static_cast<std::size_t>(y) * window.width() + x] = isVoid(at(x, y));
        GDALDriverH mem = GDALGetDriverByName("MEM");
        Dataset scratch(mem ? GDALCreate(mem, "", read.width(), read.height(), 1, GDT_Float64, nullptr) : nullptr);
        if (!scratch) {
            error = name + ": not enough memory to fill its voids.";
            return std::nullopt;
        }
        GDALRasterBandH work = GDALGetRasterBand(scratch.get(), 1);
        for (double& v : heights)
            if (std::isnan(v))
                v = noData;
        GDALSetRasterNoDataValue(work, noData);
        if (GDALRasterIO(work, GF_Write, 0, 0, read.width(), read.height(), heights.data(), read.width(),
                         read.height(), GDT_Float64, 0, 0) != CE_None ||
            GDALFillNodata(work, nullptr, kFillSearch, 0, 0, nullptr, Stages::progress, &stages) != CE_None ||
            GDALRasterIO(work, GF_Read, 0, 0, read.width(), read.height(), heights.data(), read.width(),
                         read.height(), GDT_Float64, 0, 0) != CE_None) {
            if (!stages.cancelled())
                error = name + ": its voids cannot be filled." + QuietErrors::lastAsSuffix();
            return std::nullopt;
        }
        for (int y = 0; y < window.height(); ++y)
            for (int x = 0; x < window.width(); ++x)
                if (wasVoid[static_cast<std::size_t>(y) * window.width() + x] && !isOutside(x, y) &&
                    !isVoid(at(x, y)))
                    ++result.voidsFilled;
    }

    // Thinning: a step in posts along each axis from the spacing asked for.
    int stepX = 1, stepY = 1;
    if (options.spacingMetres > 0) {
        const double midLatitude = gt[3] + (window.y0 + window.y1 + 1) * 0.5 * gt[5];
        const double dxMetres = gt[1] * kMetresPerDegree * std::max(0.01, std::cos(midLatitude * M_PI / 180.0));
        const double dyMetres = -gt[5] * kMetresPerDegree;
        stepX = std::max(1, static_cast<int>(std::floor(options.spacingMetres / dxMetres + 1e-9)));
        stepY = std::max(1, static_cast<int>(std::floor(options.spacingMetres / dyMetres + 1e-9)));
    }
    const std::vector<int> columns = pick(0, window.width() - 1, stepX);
    const std::vector<int> rows = pick(0, window.height() - 1, stepY);
    if (static_cast<std::int64_t>(columns.size()) * static_cast<std::int64_t>(rows.size()) > kMostRecords) {
        error = name + " would give " + std::to_string(columns.size() * rows.size()) +
                " records, more than a project holds. Thin the posts with a spacing or set a smaller boundary.";
        return std::nullopt;
    }

    // Records by longitude line, west to east, each from south to north, as the DTED reader lays them.
    stages.begin("Making records", 85, 100);
    AltitudeMap& map = result.map;
    map.columns = static_cast<std::int32_t>(columns.size());
    map.rows = static_cast<std::int32_t>(rows.size());
    map.records.reserve(columns.size() * rows.size());
    std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
    for (std::size_t ci = 0; ci < columns.size(); ++ci) {
        const int x = columns[ci];
        const double longitude = gt[0] + (window.x0 + x + 0.5) * gt[1];
        for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
            const int y = *r;
            const double v = at(x, y);
            if (isOutside(x, y) || isVoid(v))
                continue;
            const double metres = std::round((v * scale + offset) * factor);
            const auto altitude = static_cast<std::int32_t>(
                std::clamp(metres, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                           static_cast<double>(std::numeric_limits<std::int32_t>::max())));
            map.records.push_back({gt[3] + (window.y0 + y + 0.5) * gt[5], longitude, altitude});
            lowest = std::min(lowest, altitude);
        }
        if ((ci & 63) == 0 && !stages.at(static_cast<double>(ci) / columns.size()))
            return std::nullopt;
    }
    if (map.records.empty()) {
        error = name + " holds no heights: every post is void.";
        return std::nullopt;
    }
    markElevationFileMap(map);
    map.waterLevel = lowest;
    map.enabled = 1;
    result.recordsKept = static_cast<std::int64_t>(map.records.size());
    stages.at(1.0);
    return result;
}

bool readElevationAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path, ElevationOptions options)
{
    Platform& platform = doc.app.platform;
    if (!options.clip && doc.boundary.hasExtent())
        options.clip = doc.boundary;
    std::string error;
    std::optional<ElevationResult> result;
    {
        std::unique_ptr<ProgressWindow> progress = platform.createProgress("Loading Elevation File...");
        result = importElevation(path, options, progress.get(), error);
    }
    if (!result) {
        if (!error.empty())
            platform.message(error, MsgIcon::Exclamation);
        return false;
    }
    platform.message(describeElevationResult(*result), MsgIcon::Information);
    map = std::move(result->map);
    map.owner = &doc;
    return true;
}

bool addElevationMap(CDibDoc& doc, const std::string& path, ElevationOptions options)
{
    auto map = std::make_unique<AltitudeMap>();
    if (!readElevationAltitudeMap(doc, *map, path, std::move(options)))
        return false;
    doc.altitudeMaps.push_back(std::move(map));
    return true;
}
