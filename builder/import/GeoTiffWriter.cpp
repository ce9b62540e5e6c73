#include "import/GeoTiffWriter.h"

#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <ogr_srs_api.h>

namespace {
struct Srs {
    explicit Srs(int epsg) : handle(OSRNewSpatialReference(nullptr))
    {
        ok = OSRImportFromEPSG(handle, epsg) == OGRERR_NONE;
        OSRSetAxisMappingStrategy(handle, OAMS_TRADITIONAL_GIS_ORDER);
    }
    ~Srs() { OSRDestroySpatialReference(handle); }
    OGRSpatialReferenceH handle;
    bool ok = false;
};
} // namespace

bool writeGeoTiff(const std::string& path, const RgbImage& image, int epsg, const std::array<double, 6>& geoTransform,
                  std::string& error)
{
    GDALAllRegister();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDriverH driver = GDALGetDriverByName("GTiff");
    char** options = CSLAddString(nullptr, "PHOTOMETRIC=RGB");
    options = CSLAddString(options, "TILED=YES");
    GDALDatasetH ds = driver ? GDALCreate(driver, path.c_str(), image.width, image.height, 3, GDT_Byte, options)
                             : nullptr;
    CSLDestroy(options);
    bool ok = ds != nullptr;
    if (ok && epsg != 0) {
        Srs srs(epsg);
        std::array<double, 6> gt = geoTransform;
        ok = srs.ok && GDALSetSpatialRef(ds, srs.handle) == CE_None && GDALSetGeoTransform(ds, gt.data()) == CE_None;
    }
    if (ok) {
        int bands[3] = {1, 2, 3};
        ok = GDALDatasetRasterIO(ds, GF_Write, 0, 0, image.width, image.height,
                                 const_cast<std::uint8_t*>(image.pixels.data()), image.width, image.height, GDT_Byte,
                                 3, bands, 3, 3 * static_cast<GSpacing>(image.width), 1) == CE_None;
    }
    if (ds)
        GDALClose(ds);
    if (!ok)
        error = "Cannot write " + path + ": " + CPLGetLastErrorMsg();
    CPLPopErrorHandler();
    return ok;
}

bool convertPoints(int fromEpsg, int toEpsg, std::vector<double>& x, std::vector<double>& y)
{
    if (x.size() != y.size())
        return false;
    CPLPushErrorHandler(CPLQuietErrorHandler);
    Srs from(fromEpsg), to(toEpsg);
    bool ok = from.ok && to.ok;
    OGRCoordinateTransformationH transform = ok ? OCTNewCoordinateTransformation(from.handle, to.handle) : nullptr;
    ok = transform && (x.empty() || OCTTransform(transform, static_cast<int>(x.size()), x.data(), y.data(), nullptr));
    if (transform)
        OCTDestroyCoordinateTransformation(transform);
    CPLPopErrorHandler();
    return ok;
}
