// The elevation import's records against a plain reference made here: read the window and the
// fill's whole reach around it through GDAL, fill, then one record per post column by column,
// south to north. Every way the import takes (a .hgt read directly, 16-bit GeoTIFF, floating
// point GeoTIFF; voids near and away from the window's edges; fill and skip; thinned or not)
// must give the very same records.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "import/ElevationFiles.h"
#include "import/ElevationImport.h"
#include "import/VoidFill.h"
#include "support/TempDir.h"

namespace {

constexpr int kReach = 100;
constexpr int kPosts = 1201;

struct Reference {
    std::vector<AltitudeRecord> records;
    std::int64_t voids = 0;
    std::int64_t voidsFilled = 0;
    std::int32_t lowest = 0;
    int columns = 0;
    int rows = 0;
};

std::vector<int> every(int last, int step)
{
    std::vector<int> out;
    for (int i = 0; i < last; i += step)
        out.push_back(i);
    out.push_back(last);
    return out;
}

// The import as it is described, in its plainest form.
Reference reference(const std::string& path, const ElevationOptions& options)
{
    Reference ref;
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds)
        return ref;
    double gt[6];
    GDALGetGeoTransform(ds, gt);
    const int width = GDALGetRasterXSize(ds), height = GDALGetRasterYSize(ds);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    int hasNoData = 0;
    const double noData = GDALGetRasterNoDataValue(band, &hasNoData);

    // The boundary plus the first post beyond it on every side.
    int x0 = 0, y0 = 0, x1 = width - 1, y1 = height - 1;
    if (options.clip) {
        const GeoRect& c = *options.clip;
        const double dx = gt[1], dy = -gt[5];
        x0 = std::max(0, static_cast<int>(std::floor((c.west - gt[0]) / dx - 0.5 + 1e-9)));
        x1 = std::min(width - 1, static_cast<int>(std::ceil((c.east - gt[0]) / dx - 0.5 - 1e-9)));
        y0 = std::max(0, static_cast<int>(std::floor((gt[3] - c.north) / dy - 0.5 + 1e-9)));
        y1 = std::min(height - 1, static_cast<int>(std::ceil((gt[3] - c.south) / dy - 0.5 - 1e-9)));
    }
    const bool filling = options.voids == ElevationVoids::Fill;
    const int reach = filling ? kReach : 0;
    const int rx0 = std::max(0, x0 - reach), ry0 = std::max(0, y0 - reach);
    const int rx1 = std::min(width - 1, x1 + reach), ry1 = std::min(height - 1, y1 + reach);
    const int rw = rx1 - rx0 + 1, rh = ry1 - ry0 + 1;
    std::vector<double> grid(static_cast<std::size_t>(rw) * rh);
    if (GDALRasterIO(band, GF_Read, rx0, ry0, rw, rh, grid.data(), rw, rh, GDT_Float64, 0, 0) != CE_None) {
        GDALClose(ds);
        return ref;
    }
    GDALClose(ds);

    VoidFill<double> fill(grid.data(), rw, rh, hasNoData != 0, noData);
    const int ox = x0 - rx0, oy = y0 - ry0, ww = x1 - x0 + 1, wh = y1 - y0 + 1;
    const auto inWindow = [&](std::uint32_t i) {
        const int x = static_cast<int>(i % static_cast<unsigned>(rw)) - ox, y = static_cast<int>(i / static_cast<unsigned>(rw)) - oy;
        return x >= 0 && y >= 0 && x < ww && y < wh;
    };
    for (std::uint32_t i : fill.voids())
        ref.voids += inWindow(i) ? 1 : 0;
    if (filling && ref.voids > 0) {
        fill.fill(ox, oy, ox + ww - 1, oy + wh - 1, kReach);
        for (std::size_t k = 0; k < fill.voids().size(); ++k)
            ref.voidsFilled += !std::isnan(fill.values()[k]) && inWindow(fill.voids()[k]) ? 1 : 0;
    }

    int stepX = 1, stepY = 1;
    if (options.spacingMetres > 0) {
        const double middle = gt[3] + (y0 + y1 + 1) * 0.5 * gt[5];
        const double dxMetres = gt[1] * 111320.0 * std::max(0.01, std::cos(middle * M_PI / 180.0));
        const double dyMetres = -gt[5] * 111320.0;
        stepX = std::max(1, static_cast<int>(std::floor(options.spacingMetres / dxMetres + 1e-9)));
        stepY = std::max(1, static_cast<int>(std::floor(options.spacingMetres / dyMetres + 1e-9)));
    }
    const std::vector<int> columns = every(ww - 1, stepX), rows = every(wh - 1, stepY);
    ref.columns = static_cast<int>(columns.size());
    ref.rows = static_cast<int>(rows.size());
    ref.lowest = std::numeric_limits<std::int32_t>::max();
    for (int x : columns) {
        for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
            const std::size_t i = static_cast<std::size_t>(oy + *r) * rw + static_cast<std::size_t>(ox + x);
            double v = grid[i];
            if (fill.isVoid(v)) {
                v = filling ? fill.filled(i) : std::nan("");
                if (std::isnan(v))
                    continue;
            }
            const auto altitude = static_cast<std::int32_t>(std::round(v));
            ref.records.push_back({gt[3] + (y0 + *r + 0.5) * gt[5], gt[0] + (x0 + x + 0.5) * gt[1], altitude});
            ref.lowest = std::min(ref.lowest, altitude);
        }
    }
    return ref;
}

// Where the voids of a test file lie.
enum class Voids { Scattered, AlongTheWindowsEdges, WideHoleOverAnEdge, None };

struct Case {
    const char* name;
    Voids voids;
    GeoRect clip;              // south == north: the whole file
    ElevationVoids mode;
    double spacing;
};

// Window of the clips below: columns 300 to 360, rows 780 to 840 of the tile at 45N 6E.
constexpr GeoRect kMiddle{45.30, 45.35, 6.25, 6.30};
// Against the file's north-west corner: the fill can reach beyond the window only south and east.
constexpr GeoRect kCorner{45.96, 46.0, 6.0, 6.04};
constexpr GeoRect kWhole{0, 0, 0, 0};

std::vector<double> makeHeights(Voids voids, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> height(-400, 4000);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<double> h(static_cast<std::size_t>(kPosts) * kPosts);
    for (int y = 0; y < kPosts; ++y)
        for (int x = 0; x < kPosts; ++x)
            h[static_cast<std::size_t>(y) * kPosts + x] =
                voids != Voids::None && percent(random) < 2 ? -32768.0 : static_cast<double>(height(random));
    const auto hole = [&](int left, int top, int right, int bottom) {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                h[static_cast<std::size_t>(y) * kPosts + x] = -32768.0;
    };
    if (voids == Voids::AlongTheWindowsEdges) {
        hole(300, 790, 300, 830);   // down the middle window's west edge
        hole(320, 770, 340, 781);   // over its north edge
        hole(359, 800, 362, 812);   // across its east edge
        hole(30, 0, 49, 20);        // the corner window's east edge
    } else if (voids == Voids::WideHoleOverAnEdge) {
        hole(280, 770, 330, 820);   // reaching well beyond any narrow margin
        hole(40, 30, 80, 70);
    }
    return h;
}

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class ElevationEquivalence : public ::testing::TestWithParam<Case> {};

TEST_P(ElevationEquivalence, EveryPathGivesTheReferencesRecords)
{
    const Case& c = GetParam();
    TempDir dir;
    const std::vector<double> h = makeHeights(c.voids, 7 + static_cast<unsigned>(c.voids));
    const auto at = [&h](int x, int y) { return h[static_cast<std::size_t>(y) * kPosts + x]; };

    // The same heights as .hgt, 16-bit GeoTIFF and 32-bit floating point GeoTIFF.
    struct Format {
        const char* driver;
        const char* file;
        GDALDataType type;
    };
    const Format formats[] = {{"SRTMHGT", "N45E006.hgt", GDT_Int16},
                              {"GTiff", "int16.tif", GDT_Int16},
                              {"GTiff", "float.tif", GDT_Float32}};
    ElevationOptions options;
    options.voids = c.mode;
    options.spacingMetres = c.spacing;
    if (c.clip.hasExtent())
        options.clip = c.clip;
    for (const Format& f : formats) {
        dem::Grid g = dem::tile(45, 6, kPosts);
        g.driver = f.driver;
        g.type = f.type;
        g.hasNoData = true;
        g.height_at = at;
        const std::string path = dir.file(f.file);
        ASSERT_TRUE(dem::write(path, g)) << f.file;

        const Reference ref = reference(path, options);
        ASSERT_FALSE(ref.records.empty()) << f.file;
        std::string error;
        const std::optional<ElevationResult> result = importElevation(path, options, nullptr, error);
        ASSERT_TRUE(result) << f.file << ": " << error;
        EXPECT_EQ(result->voids, ref.voids) << f.file;
        EXPECT_EQ(result->voidsFilled, ref.voidsFilled) << f.file;
        EXPECT_EQ(result->map.columns, ref.columns) << f.file;
        EXPECT_EQ(result->map.rows, ref.rows) << f.file;
        EXPECT_EQ(result->map.waterLevel, ref.lowest) << f.file;
        ASSERT_EQ(result->map.records.size(), ref.records.size()) << f.file;
        for (std::size_t i = 0; i < ref.records.size(); ++i) {
            const AltitudeRecord r = result->map.records[i];
            const AltitudeRecord& e = ref.records[i];
            ASSERT_TRUE(r.latitude == e.latitude && r.longitude == e.longitude && r.altitude == e.altitude)
                << f.file << " record " << i << ": " << r.latitude << "," << r.longitude << " " << r.altitude
                << " instead of " << e.latitude << "," << e.longitude << " " << e.altitude;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    VoidsAndWindows, ElevationEquivalence,
    ::testing::Values(Case{"ScatteredFilled", Voids::Scattered, kMiddle, ElevationVoids::Fill, 0},
                      Case{"ScatteredSkipped", Voids::Scattered, kMiddle, ElevationVoids::Skip, 0},
                      Case{"ScatteredThinned", Voids::Scattered, kMiddle, ElevationVoids::Fill, 250},
                      Case{"ScatteredInTheCorner", Voids::Scattered, kCorner, ElevationVoids::Fill, 0},
                      Case{"EdgeRunsFilled", Voids::AlongTheWindowsEdges, kMiddle, ElevationVoids::Fill, 0},
                      Case{"EdgeRunsSkipped", Voids::AlongTheWindowsEdges, kMiddle, ElevationVoids::Skip, 0},
                      Case{"EdgeRunsThinned", Voids::AlongTheWindowsEdges, kMiddle, ElevationVoids::Fill, 180},
                      Case{"EdgeRunsInTheCorner", Voids::AlongTheWindowsEdges, kCorner, ElevationVoids::Fill, 0},
                      Case{"WideHoleFilled", Voids::WideHoleOverAnEdge, kMiddle, ElevationVoids::Fill, 0},
                      Case{"WideHoleInTheCorner", Voids::WideHoleOverAnEdge, kCorner, ElevationVoids::Fill, 0},
                      Case{"NoVoids", Voids::None, kMiddle, ElevationVoids::Fill, 0},
                      Case{"WholeFileThinned", Voids::Scattered, kWhole, ElevationVoids::Fill, 400}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
