#pragma once
// Writing true-colour GeoTIFFs and converting coordinates, for sample pictures (the batch
// program's demonstration, the tests of the windows) without GDAL outside this folder.

#include <array>
#include <string>
#include <vector>

#include "import/RgbImage.h"

/// Writes `image` as a GeoTIFF in the EPSG system `epsg` with the geotransform `geoTransform`
/// (x of the top-left corner, pixel width, row rotation, y of the top-left corner, column
/// rotation, pixel height, negative for north up). An `epsg` of 0 writes no georeferencing.
/// False, with `error` set, when it cannot be written.
bool writeGeoTiff(const std::string& path, const RgbImage& image, int epsg, const std::array<double, 6>& geoTransform,
                  std::string& error);

/// Converts points between EPSG systems in place, longitude/easting first. False when either
/// system is unknown or a point cannot be converted.
bool convertPoints(int fromEpsg, int toEpsg, std::vector<double>& x, std::vector<double>& y);
