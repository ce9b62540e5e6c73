#pragma once
// Small pictures for the import tests, made with GDAL itself (nothing binary is kept in the tree).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <cpl_string.h>
#include <gdal.h>
#include <ogr_srs_api.h>

namespace geotiff {

struct Picture {
    int width = 64;
    int height = 48;
    int bands = 3;
    GDALDataType type = GDT_Byte;
    int epsg = 0;                    ///< 0: no georeferencing
    double geoTransform[6] = {500000, 30, 0, 5540000, 0, -30};
    /// Sample of band b (0-based) at column x, row y (0 = top).
    std::function<double(int x, int y, int b)> sample = [](int x, int y, int b) {
        return static_cast<double>((x * 5 + y * 3 + b * 70) % 256);
    };
    std::vector<std::string> creationOptions;
    bool writePixels = true;
    std::string driver = "GTiff";
};

inline void registerOnce()
{
    static bool done = [] {
        GDALAllRegister();
        return true;
    }();
    (void)done;
}

/// Writes the picture; true on success.
inline bool write(const std::string& path, const Picture& picture)
{
    registerOnce();
    GDALDriverH driver = GDALGetDriverByName(picture.driver.c_str());
    if (!driver)
        return false;
    char** options = nullptr;
    for (const std::string& o : picture.creationOptions)
        options = CSLAddString(options, o.c_str());
    GDALDatasetH ds = GDALCreate(driver, path.c_str(), picture.width, picture.height, picture.bands, picture.type,
                                 options);
    CSLDestroy(options);
    if (!ds)
        return false;
    if (picture.epsg != 0) {
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, picture.epsg);
        GDALSetSpatialRef(ds, srs);
        OSRDestroySpatialReference(srs);
        double gt[6];
        std::copy(picture.geoTransform, picture.geoTransform + 6, gt);
        GDALSetGeoTransform(ds, gt);
    }
    bool ok = true;
    if (picture.writePixels) {
        std::vector<double> row(static_cast<std::size_t>(picture.width));
        for (int b = 0; b < picture.bands && ok; ++b) {
            GDALRasterBandH band = GDALGetRasterBand(ds, b + 1);
            for (int y = 0; y < picture.height && ok; ++y) {
                for (int x = 0; x < picture.width; ++x)
                    row[static_cast<std::size_t>(x)] = picture.sample(x, y, b);
                ok = GDALRasterIO(band, GF_Write, 0, y, picture.width, 1, row.data(), picture.width, 1, GDT_Float64,
                                  0, 0) == CE_None;
            }
        }
    }
    GDALClose(ds);
    return ok;
}

/// Transforms x/y of an EPSG system to longitude/latitude on WGS 84 (longitude first).
inline bool toLonLat(int epsg, double& x, double& y)
{
    OGRSpatialReferenceH from = OSRNewSpatialReference(nullptr);
    OGRSpatialReferenceH to = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(from, epsg);
    OSRImportFromEPSG(to, 4326);
    OSRSetAxisMappingStrategy(from, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(to, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH transform = OCTNewCoordinateTransformation(from, to);
    const bool ok = transform && OCTTransform(transform, 1, &x, &y, nullptr);
    if (transform)
        OCTDestroyCoordinateTransformation(transform);
    OSRDestroySpatialReference(from);
    OSRDestroySpatialReference(to);
    return ok;
}

} // namespace geotiff
