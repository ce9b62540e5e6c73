#include "import/ElevationImport.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <ogr_srs_api.h>

#include <sys/mman.h>
#include <unistd.h>

#include "altitude/RecordReserve.h"
#include "base/PathUtil.h"
#include "import/GdalSupport.h"
#include "import/VoidFill.h"
#include "base/Platform.h"
#include "base/ProgressWindow.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

namespace {

constexpr double kVoidMark = -32768.0;            // SRTM's void, also what a warp leaves outside the file
constexpr int kFillSearch = 100;                  // posts a filled void may reach for a neighbour
constexpr int kNarrowMargin = 8;                  // posts read around the window at first
constexpr double kMetresPerDegree = 111320.0;
constexpr std::int64_t kMostRecords = 30'000'000;   // about 720 MB of records
constexpr std::int64_t kMostPostsRead = 64'000'000;  // 512 MB of heights read at once
constexpr int kRowsPerRead = 256;
static_assert(kMostPostsRead < std::numeric_limits<std::uint32_t>::max(), "the void fill counts posts in 32 bits");

using GdalSupport::Dataset;
using GdalSupport::QuietErrors;
using GdalSupport::registerDrivers;
using GdalSupport::registerFirstDrivers;
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

// Posts of the window outside the reprojected file's own area: a warp leaves them empty and they
// are never filled. False when the way back to the file's coordinates cannot be made.
bool markOutside(GDALDatasetH source, const double sourceGt[6], const double gt[6], const Window& window,
                 std::vector<char>& outside)
{
    outside.assign(static_cast<std::size_t>(window.width()) * window.height(), 0);
    Srs target(OSRClone(GDALGetSpatialRef(source)));
    OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(target.get()), OAMS_TRADITIONAL_GIS_ORDER);
    const Srs geographic = wgs84();
    OGRCoordinateTransformationH toSource = OCTNewCoordinateTransformation(
        static_cast<OGRSpatialReferenceH>(geographic.get()), static_cast<OGRSpatialReferenceH>(target.get()));
    double inverse[6];
    if (!toSource || !GDALInvGeoTransform(const_cast<double*>(sourceGt), inverse)) {
        if (toSource)
            OCTDestroyCoordinateTransformation(toSource);
        return false;
    }
    const int sw = GDALGetRasterXSize(source), sh = GDALGetRasterYSize(source);
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
    return true;
}

// An SRTM .hgt on disk is rows of big-endian 16-bit posts, north first, and nothing else. Once
// GDAL has recognised one, the window's rows are read straight into the grid: through GDAL every
// whole row would go through its block cache, be swapped and then copied out.
bool isPlainHgt(GDALDatasetH ds, GDALRasterBandH band, const std::string& path)
{
    GDALDriverH driver = GDALGetDatasetDriver(ds);
    if (!driver || std::string(GDALGetDriverShortName(driver)) != "SRTMHGT" || GDALGetRasterDataType(band) != GDT_Int16)
        return false;
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return !ec && extension == ".hgt" &&
           size == 2 * static_cast<std::uintmax_t>(GDALGetRasterXSize(ds)) * static_cast<std::uintmax_t>(GDALGetRasterYSize(ds));
}

// Reads `count` bytes at `offset` in full; false on an error or the end of the file.
bool readFully(int fd, void* out, std::size_t count, std::uint64_t offset)
{
    auto* bytes = static_cast<char*>(out);
    while (count > 0) {
        const ssize_t got = ::pread(fd, bytes, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        count -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

// Big-endian 16-bit words to the machine's order, four at a time.
void swapPairs(std::int16_t* words, std::size_t count)
{
    static_assert(std::endian::native == std::endian::little, "the swap assumes a little-endian machine");
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t four;
        std::memcpy(&four, words + i, sizeof four);
        four = (four & 0x00FF00FF00FF00FFull) << 8 | (four >> 8 & 0x00FF00FF00FF00FFull);
        std::memcpy(words + i, &four, sizeof four);
    }
    for (; i < count; ++i) {
        const auto word = static_cast<std::uint16_t>(words[i]);
        words[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(word >> 8 | word << 8));
    }
}

// The grid of heights is read along its rows and across them, a row a page apart: on large
// pages the lookups of far rows stop costing a page-table walk each, and a fresh grid takes a
// few page faults instead of thousands.
constexpr std::size_t kLargePage = std::size_t(2) << 20;

struct FreeHeights {
    void operator()(void* heights) const { std::free(heights); }
};

template <typename T>
T* allocateHeights(std::size_t count)
{
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(T) - kLargePage)
        throw std::bad_alloc();
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kLargePage) {
        void* small = std::malloc(std::max<std::size_t>(bytes, 1));
        if (!small)
            throw std::bad_alloc();
        return static_cast<T*>(small);
    }
    const std::size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* large = std::aligned_alloc(kLargePage, rounded);
    if (!large)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    (void)::madvise(large, rounded, MADV_HUGEPAGE);   // a refusal changes nothing
#endif
    return static_cast<T*>(large);
}

// Everything the reading of the posts needs to know about the file and the request.
struct Plan {
    const std::string& name;
    const ElevationOptions& options;
    double gt[6];
    Window window;
    Window read;              // the window and the fill's reach around it, inside the file
    bool voidsPossible;
    bool filling;
    double noData;
    double scale, offset, factor;
    const std::vector<char>& outside;   // empty unless warped
    std::string plainHgt;               // the .hgt read directly, or empty
    int fileWidth, fileHeight;
};

template <typename T>
constexpr GDALDataType kGdalType = GDT_Float64;
template <>
constexpr GDALDataType kGdalType<std::int16_t> = GDT_Int16;

// Reads the posts as T, fills or counts the voids, thins, and makes the records.
template <typename T>
std::optional<ElevationResult> makeRecords(GDALRasterBandH band, const Plan& plan, Stages& stages,
                                           ElevationResult& result, std::string& error)
{
    const std::string& name = plan.name;
    const Window& window = plan.window;
    const double* gt = plan.gt;

    // The void mark as T holds it; a mark a 16-bit post cannot hold marks nothing.
    bool hasMark = plan.voidsPossible;
    T mark{};
    if constexpr (std::is_integral_v<T>) {
        hasMark = hasMark && plan.noData == std::trunc(plan.noData) &&
                  plan.noData >= std::numeric_limits<T>::min() && plan.noData <= std::numeric_limits<T>::max();
        if (hasMark)
            mark = static_cast<T>(plan.noData);
    } else {
        mark = plan.noData;
    }

    // A void may take its value from posts as far as the reach beyond the window, but nearly
    // always takes it from its nearest neighbours. The posts are first read with a narrow margin
    // and read again with the whole reach only when a void needed posts beyond that margin.
    const Window& full = plan.read;
    // A warp's posts are read as they are the first time: they are made, not merely read.
    const int margin = result.warped ? kFillSearch : kNarrowMargin;
    const Window narrow{std::max(full.x0, window.x0 - margin), std::max(full.y0, window.y0 - margin),
                        std::min(full.x1, window.x1 + margin), std::min(full.y1, window.y1 + margin)};
    Window read = narrow;
    std::size_t readWidth = 0;
    std::unique_ptr<T[], FreeHeights> heights;
    std::optional<VoidFill<T>> fill;
    int ox = 0, oy = 0;   // the window inside the posts read
    for (int pass = 0; pass < 2; ++pass) {
        read = pass == 0 ? narrow : full;
        readWidth = static_cast<std::size_t>(read.width());
        const std::size_t readPosts = readWidth * static_cast<std::size_t>(read.height());
        result.voids = 0;
        result.voidsFilled = 0;
        fill.reset();
        heights.reset();

        // Every post is read over before it is used, so the array starts uninitialised.
        try {
            heights.reset(allocateHeights<T>(readPosts));
        } catch (const std::bad_alloc&) {
            error = name + ": not enough memory to read " + std::to_string(readPosts) + " posts.";
            return std::nullopt;
        }
        stages.begin("Reading heights", 2, result.warped ? 70 : 50);
        if constexpr (std::is_same_v<T, std::int16_t>) {
            if (!plan.plainHgt.empty()) {
                const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(plan.plainHgt.c_str(), "rb"),
                                                                            &std::fclose);
                const int fd = file ? ::fileno(file.get()) : -1;
                for (int y = 0; y < read.height(); ++y) {
                    std::int16_t* row = &heights[static_cast<std::size_t>(y) * readWidth];
                    const std::uint64_t offset =
                        2 * (static_cast<std::uint64_t>(read.y0 + y) * static_cast<std::uint64_t>(plan.fileWidth) +
                             static_cast<std::uint64_t>(read.x0));
                    if (fd < 0 || !readFully(fd, row, 2 * readWidth, offset)) {
                        error = name + " is damaged: its heights cannot be read.";
                        return std::nullopt;
                    }
                    swapPairs(row, readWidth);
                    if ((y + 1) % kRowsPerRead == 0 && !stages.at(static_cast<double>(y + 1) / read.height()))
                        return std::nullopt;
                }
            }
        }
        for (int y = 0; plan.plainHgt.empty() && y < read.height(); y += kRowsPerRead) {
            const int rows = std::min(kRowsPerRead, read.height() - y);
            if (GDALRasterIO(band, GF_Read, read.x0, read.y0 + y, read.width(), rows,
                             &heights[static_cast<std::size_t>(y) * readWidth], read.width(), rows, kGdalType<T>, 0,
                             0) != CE_None) {
                error = name + " is damaged: its heights cannot be read." + QuietErrors::lastAsSuffix();
                return std::nullopt;
            }
            if (!stages.at(static_cast<double>(y + rows) / read.height()))
                return std::nullopt;
        }

        try {
            fill.emplace(heights.get(), read.width(), read.height(), hasMark, mark);
        } catch (const std::bad_alloc&) {
            error = name + ": not enough memory to find its voids.";
            return std::nullopt;
        }

        ox = window.x0 - read.x0;
        oy = window.y0 - read.y0;
        const auto isOutside = [&](int x, int y) {   // window coordinates
            return !plan.outside.empty() && plan.outside[static_cast<std::size_t>(y) * window.width() + x] != 0;
        };
        // A void of the posts read that lies in the window and inside the file's own area.
        const auto counts = [&](std::uint32_t index) {
            const int y = static_cast<int>(index / readWidth) - oy;
            const int x = static_cast<int>(index % readWidth) - ox;
            return x >= 0 && y >= 0 && x < window.width() && y < window.height() && !isOutside(x, y);
        };
        const std::vector<std::uint32_t>& voids = fill->voids();
        result.voids = std::count_if(voids.begin(), voids.end(), counts);
        const std::int64_t outsideCount = std::count(plan.outside.begin(), plan.outside.end(), 1);
        if (result.voids + outsideCount >= result.postsRead) {
            error = name + " holds no heights" + (plan.options.clip ? " inside the project boundary" : "") +
                    ": every post is void.";
            return std::nullopt;
        }

        if (plan.filling && result.voids > 0) {
            stages.begin("Filling voids", result.warped ? 70 : 50, 85);
            bool done = false;
            try {
                done = fill->fill(ox, oy, ox + window.width() - 1, oy + window.height() - 1, kFillSearch,
                                  [&](double fraction) { return stages.at(fraction); });
            } catch (const std::bad_alloc&) {
                error = name + ": not enough memory to fill its voids.";
                return std::nullopt;
            }
            if (!done)
                return std::nullopt;
            for (std::size_t k = 0; k < voids.size(); ++k)
                if (!std::isnan(fill->values()[k]) && counts(voids[k]))
                    ++result.voidsFilled;
            // Beyond the posts read is fine only where the file ends there too.
            const auto reached = fill->reached();
            const bool enough = (reached.x0 >= 0 || read.x0 == 0) && (reached.y0 >= 0 || read.y0 == 0) &&
                                (reached.x1 < read.width() || read.x1 == plan.fileWidth - 1) &&
                                (reached.y1 < read.height() || read.y1 == plan.fileHeight - 1);
            if (pass == 0 && !enough)
                continue;
        }
        break;
    }
    const std::vector<std::uint32_t>& voids = fill->voids();
    // Filled values go back into the grid where it holds them exactly as the records will use
    // them, so making the records needs no search; the rest are looked up.
    const bool asIs = std::is_integral_v<T> && plan.scale == 1.0 && plan.offset == 0.0 && plan.factor == 1.0;
    const std::vector<float>& values = fill->values();   // empty unless filled
    if (asIs || std::is_floating_point_v<T>) {
        for (std::size_t k = 0; k < values.size(); ++k) {
            if (std::isnan(values[k]))
                continue;
            const T value = static_cast<T>(std::is_integral_v<T> ? std::round(values[k]) : values[k]);
            if (!fill->isVoid(value))
                heights[voids[k]] = value;
        }
    }

    // Thinning: a step in posts along each axis from the spacing asked for.
    int stepX = 1, stepY = 1;
    if (plan.options.spacingMetres > 0) {
        const double midLatitude = gt[3] + (window.y0 + window.y1 + 1) * 0.5 * gt[5];
        const double dxMetres = gt[1] * kMetresPerDegree * std::max(0.01, std::cos(midLatitude * M_PI / 180.0));
        const double dyMetres = -gt[5] * kMetresPerDegree;
        stepX = std::max(1, static_cast<int>(std::floor(plan.options.spacingMetres / dxMetres + 1e-9)));
        stepY = std::max(1, static_cast<int>(std::floor(plan.options.spacingMetres / dyMetres + 1e-9)));
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
    // Packed unless the window is too long for the packed tables' 16-bit indices.
    const bool packable = rows.size() <= PackedRecords::kMaxValues && columns.size() <= PackedRecords::kMaxValues;
    auto packed = std::make_shared<PackedRecords>();
    std::vector<AltitudeRecord> plain;
    try {
        if (packable)
            reservePacked(packed->entries, columns.size() * rows.size());
        else
            reserveRecords(plain, columns.size() * rows.size());
    } catch (const std::bad_alloc&) {
        error = name + ": not enough memory for " + std::to_string(columns.size() * rows.size()) + " records.";
        return std::nullopt;
    }
    std::vector<double> latitudes(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        latitudes[r] = gt[3] + (window.y0 + rows[r] + 0.5) * gt[5];
    if (packable) {
        packed->latitudes = latitudes;
        packed->longitudes.resize(columns.size());
    }
    // Whole metres as they are, unless the file scales them or counts in feet.
    const auto metres = [&](double v) {
        const double m = std::round((v * plan.scale + plan.offset) * plan.factor);
        return static_cast<std::int32_t>(std::clamp(m, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                                                    static_cast<double>(std::numeric_limits<std::int32_t>::max())));
    };
    // Locals, not members, in the loop: the records written could alias them for the compiler.
    const T* grid = heights.get();
    const char* outsideFlags = plan.outside.empty() ? nullptr : plan.outside.data();
    const std::size_t windowWidth = static_cast<std::size_t>(window.width());
    const auto isVoid = [hasMark, mark](T v) {
        if constexpr (std::is_floating_point_v<T>)
            return std::isnan(v) || (hasMark && v == mark);
        else
            return hasMark && v == mark;
    };
    std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
    // The grid is stored by rows and the records go by columns: a block of columns is first
    // gathered row by row into a column-ordered buffer, so the grid is read along its rows
    // rather than one cache line per post.
    constexpr std::size_t kBlock = 32;
    const std::size_t rowCount = rows.size();
    const bool direct = asIs && packable && !outsideFlags;   // the way for heights as they are, below
    std::vector<T> gathered(direct ? 0 : rowCount * kBlock);
    std::vector<AltitudeRecord> line(packable ? 0 : rowCount);
    std::vector<PackedRecords::Entry> packedLine(packable && !direct ? rowCount : 0);
    // One column, south to north, into `out` (plain records or packed entries); returns the end.
    const auto makeColumn = [&](auto* out, const T* values, int x, auto&& item) {
        for (std::size_t r = rowCount; r-- > 0;) {
            const int y = rows[r];
            if (outsideFlags && outsideFlags[static_cast<std::size_t>(y) * windowWidth + static_cast<std::size_t>(x)])
                continue;
            const T v = values[r];
            std::int32_t altitude;
            if (isVoid(v)) {
                const std::size_t index = static_cast<std::size_t>(oy + y) * readWidth + static_cast<std::size_t>(ox + x);
                const float filled = plan.filling ? fill->filled(index) : std::numeric_limits<float>::quiet_NaN();
                if (std::isnan(filled))
                    continue;
                altitude = metres(filled);
            } else {
                altitude = asIs ? static_cast<std::int32_t>(v) : metres(static_cast<double>(v));
            }
            *out++ = item(r, altitude);
            lowest = std::min(lowest, altitude);
        }
        return out;
    };
    bool made = false;
    if constexpr (std::is_integral_v<T>) {
        if (direct) {
            // Heights as they are. A band of columns is made at a time: the grid is read along its
            // rows, each post going to its column's line in a buffer that stays in the cache, south
            // to north. Walking down each column instead would miss the cache on every post. The
            // few voids left are seen to after.
            constexpr std::size_t kBand = 16;
            std::vector<PackedRecords::Entry> band(rowCount * kBand);
            std::vector<std::size_t> rowStarts(rowCount);
            for (std::size_t r = 0; r < rowCount; ++r)
                rowStarts[r] = static_cast<std::size_t>(oy + rows[r]) * readWidth + static_cast<std::size_t>(ox);
            const T markValue = hasMark ? mark : T{};
            for (std::size_t c0 = 0; c0 < columns.size(); c0 += kBand) {
                const std::size_t bandColumns = std::min(kBand, columns.size() - c0);
                std::size_t offsets[kBand] = {};
                for (std::size_t k = 0; k < bandColumns; ++k)
                    offsets[k] = static_cast<std::size_t>(columns[c0 + k]);
                std::size_t marks = 0;
                // Every record's altitude is at most T's largest, so it can start the search.
                T low = std::numeric_limits<T>::max();
                for (std::size_t r = 0; r < rowCount; ++r) {
                    const T* source = grid + rowStarts[r];
                    PackedRecords::Entry* out = band.data() + (rowCount - 1 - r);
                    const auto latitude = static_cast<std::uint16_t>(r);
                    for (std::size_t k = 0; k < bandColumns; ++k, out += rowCount) {
                        const T v = source[offsets[k]];
                        *out = PackedRecords::Entry{latitude, static_cast<std::uint16_t>(c0 + k), v};
                        const bool isMark = hasMark && v == markValue;
                        marks += isMark ? 1 : 0;
                        low = std::min(low, isMark ? std::numeric_limits<T>::max() : v);
                    }
                }
                lowest = std::min(lowest, static_cast<std::int32_t>(low));
                for (std::size_t k = 0; k < bandColumns; ++k) {
                    PackedRecords::Entry* const line = band.data() + k * rowCount;
                    PackedRecords::Entry* end = line + rowCount;
                    if (marks > 0) {
                        end = line;
                        for (PackedRecords::Entry* e = line; e != line + rowCount; ++e) {
                            if (e->altitude == markValue) {
                                const float filled = plan.filling ? fill->filled(rowStarts[e->latitude] + offsets[k])
                                                                  : std::numeric_limits<float>::quiet_NaN();
                                if (std::isnan(filled))
                                    continue;
                                e->altitude = metres(filled);
                                lowest = std::min(lowest, e->altitude);
                            }
                            *end++ = *e;
                        }
                    }
                    packed->longitudes[c0 + k] = gt[0] + (window.x0 + columns[c0 + k] + 0.5) * gt[1];
                    packed->entries.insert(packed->entries.end(), line, end);
                }
                if (!stages.at(static_cast<double>(c0) / columns.size()))
                    return std::nullopt;
            }
            made = true;
        }
    }
    for (std::size_t c0 = 0; !made && c0 < columns.size(); c0 += kBlock) {
        const std::size_t blockColumns = std::min(kBlock, columns.size() - c0);
        for (std::size_t r = 0; r < rowCount; ++r) {
            const T* rowStart = grid + static_cast<std::size_t>(oy + rows[r]) * readWidth + static_cast<std::size_t>(ox);
            for (std::size_t k = 0; k < blockColumns; ++k)
                gathered[k * rowCount + r] = rowStart[columns[c0 + k]];
        }
        for (std::size_t k = 0; k < blockColumns; ++k) {
            const int x = columns[c0 + k];
            const double longitude = gt[0] + (window.x0 + x + 0.5) * gt[1];
            const T* values = gathered.data() + k * rowCount;
            if (packable) {
                const auto column = static_cast<std::uint16_t>(c0 + k);
                packed->longitudes[c0 + k] = longitude;
                auto* end = makeColumn(packedLine.data(), values, x, [column](std::size_t r, std::int32_t a) {
                    return PackedRecords::Entry{static_cast<std::uint16_t>(r), column, a};
                });
                packed->entries.insert(packed->entries.end(), packedLine.data(), end);
            } else {
                auto* end = makeColumn(line.data(), values, x, [&latitudes, longitude](std::size_t r, std::int32_t a) {
                    return AltitudeRecord{latitudes[r], longitude, a};
                });
                plain.insert(plain.end(), line.data(), end);
            }
        }
        if (!stages.at(static_cast<double>(c0) / columns.size()))
            return std::nullopt;
    }
    if (packable)
        map.records = RecordList(std::move(packed));
    else
        map.records = std::move(plain);
    if (map.records.empty()) {
        error = name + " holds no heights: every post is void.";
        return std::nullopt;
    }
    markElevationFileMap(map);
    map.waterLevel = lowest;
    map.enabled = 1;
    result.recordsKept = static_cast<std::int64_t>(map.records.size());
    stages.at(1.0);
    return std::move(result);
}

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
    // The common elevation formats open with the drivers registered first; anything else once
    // every driver is there, in the same order as ever.
    registerFirstDrivers();
    QuietErrors quiet;
    Stages stages(progress);
    stages.begin("Opening", 0, 2);

    const auto open = [&path] {
        return GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    };
    Dataset source(open());
    if (!source) {
        registerDrivers();
        CPLErrorReset();
        source.reset(open());
    }
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
        registerDrivers();
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
    const bool asInt16 = !result.warped && GDALGetRasterDataType(sourceBand) == GDT_Int16;
    const bool filling = options.voids == ElevationVoids::Fill && (voidsPossible || !asInt16);
    const int reach = filling ? kFillSearch : 0;
    const Window read{std::max(0, window.x0 - reach), std::max(0, window.y0 - reach),
                      std::min(width - 1, window.x1 + reach), std::min(height - 1, window.y1 + reach)};
    const std::int64_t readPosts = static_cast<std::int64_t>(read.width()) * read.height();
    if (readPosts > kMostPostsRead) {
        error = name + ": " + std::to_string(result.postsRead) +
                " posts are more than can be read at once. Set a project boundary first.";
        return std::nullopt;
    }

    std::vector<char> outside;
    if (result.warped && !markOutside(source.get(), sourceGt, gt, window, outside)) {
        error = name + " cannot be reprojected to latitude and longitude." + QuietErrors::lastAsSuffix();
        return std::nullopt;
    }

    Plan plan{name,  options, {},      window, read, voidsPossible, filling, noData, scale, offset,
              factor, outside, asInt16 && isPlainHgt(source.get(), sourceBand, path) ? path : std::string(), width, height};
    std::copy(gt, gt + 6, plan.gt);
    // The heights of a plain 16-bit file stay 16-bit: a quarter of the memory, no conversions.
    if (asInt16)
        return makeRecords<std::int16_t>(band, plan, stages, result, error);
    return makeRecords<double>(band, plan, stages, result, error);
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
