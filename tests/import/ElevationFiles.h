#pragma once
// Small elevation files for the tests, made with GDAL: a grid is built in memory and copied
// into the format asked for (.hgt and DTED can only be written as copies).

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <ogr_srs_api.h>

#include "import/GeoTiffFiles.h"

namespace dem {

struct Grid {
    int width = 0;
    int height = 0;
    int epsg = 4326;
    double geoTransform[6] = {0, 1, 0, 0, 0, -1};
    GDALDataType type = GDT_Int16;
    std::function<double(int x, int y)> height_at = [](int x, int y) { return x + y; };
    bool hasNoData = false;
    double noData = -32768;
    std::string unit;        ///< the band's unit type, e.g. "ft"
    std::string driver = "GTiff";
};

/// A one-degree tile of `posts` x `posts` posts whose first post is (north, west): the .hgt and
/// DTED layout, pixel centres on the posts.
inline Grid tile(int south, int west, int posts)
{
    Grid g;
    g.width = g.height = posts;
    const double step = 1.0 / (posts - 1);
    g.geoTransform[0] = west - step / 2;
    g.geoTransform[1] = step;
    g.geoTransform[3] = south + 1 + step / 2;
    g.geoTransform[5] = -step;
    return g;
}

inline bool write(const std::string& path, const Grid& g)
{
    geotiff::registerOnce();
    GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", g.width, g.height, 1, g.type, nullptr);
    if (!mem)
        return false;
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, g.epsg);
    GDALSetSpatialRef(mem, srs);
    OSRDestroySpatialReference(srs);
    double gt[6];
    std::copy(g.geoTransform, g.geoTransform + 6, gt);
    GDALSetGeoTransform(mem, gt);
    GDALRasterBandH band = GDALGetRasterBand(mem, 1);
    if (g.hasNoData)
        GDALSetRasterNoDataValue(band, g.noData);
    if (!g.unit.empty())
        GDALSetRasterUnitType(band, g.unit.c_str());
    std::vector<double> row(static_cast<std::size_t>(g.width));
    bool ok = true;
    for (int y = 0; y < g.height && ok; ++y) {
        for (int x = 0; x < g.width; ++x)
            row[static_cast<std::size_t>(x)] = g.height_at(x, y);
        ok = GDALRasterIO(band, GF_Write, 0, y, g.width, 1, row.data(), g.width, 1, GDT_Float64, 0, 0) == CE_None;
    }
    if (ok) {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        GDALDatasetH out = GDALCreateCopy(GDALGetDriverByName(g.driver.c_str()), path.c_str(), mem, FALSE, nullptr,
                                          nullptr, nullptr);
        CPLPopErrorHandler();
        ok = out != nullptr;
        if (out)
            GDALClose(out);
    }
    GDALClose(mem);
    return ok;
}

/// What GDAL itself says about a post: its pixel centre and its value.
struct Post {
    double latitude = 0;
    double longitude = 0;
    double value = 0;
};

inline Post gdalPost(const std::string& path, int x, int y)
{
    Post p;
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds)
        return p;
    double gt[6];
    GDALGetGeoTransform(ds, gt);
    p.longitude = gt[0] + (x + 0.5) * gt[1];
    p.latitude = gt[3] + (y + 0.5) * gt[5];
    if (GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, x, y, 1, 1, &p.value, 1, 1, GDT_Float64, 0, 0) != CE_None)
        p.value = -99999;
    GDALClose(ds);
    return p;
}

/// GDAL's own fill-nodata of the whole file's heights (reach 100 posts), row by row; NaN where
/// still void.
inline std::vector<float> gdalFilled(const std::string& path, double noData = -32768)
{
    std::vector<float> values;
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds)
        return values;
    const int w = GDALGetRasterXSize(ds), h = GDALGetRasterYSize(ds);
    values.resize(static_cast<std::size_t>(w) * h);
    GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", w, h, 1, GDT_Float32, nullptr);
    GDALRasterBandH band = GDALGetRasterBand(mem, 1);
    GDALSetRasterNoDataValue(band, noData);
    char** options = CSLSetNameValue(nullptr, "TEMP_FILE_DRIVER", "MEM");
    if (GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, w, h, values.data(), w, h, GDT_Float32, 0, 0) != CE_None ||
        GDALRasterIO(band, GF_Write, 0, 0, w, h, values.data(), w, h, GDT_Float32, 0, 0) != CE_None ||
        GDALFillNodata(band, nullptr, 100, 0, 0, options, nullptr, nullptr) != CE_None ||
        GDALRasterIO(band, GF_Read, 0, 0, w, h, values.data(), w, h, GDT_Float32, 0, 0) != CE_None)
        values.clear();
    CSLDestroy(options);
    GDALClose(mem);
    GDALClose(ds);
    for (float& v : values)
        if (v == static_cast<float>(noData))
            v = std::nanf("");
    return values;
}

} // namespace dem
