#pragma once
// A true-colour aerial photo of the sample landscape as today's photos come: a GeoTIFF in UTM
// zone 33N (metres, north up in the grid, so not aligned with latitude/longitude), covering the
// sample's extents.

#include <string>

#include "cli/DemoData.h"

namespace DemoPhoto {

/// Writes the landscape over the UTM box around `extents`, `side` square pixels from north to south
/// and as many across as the box needs, with a little
/// seeded grain so that it has far more than 256 colours. False, with `error` set, on failure.
bool writeGeoTiff(const std::string& path, const DemoData::Extents& extents, int side, std::string& error);

} // namespace DemoPhoto
