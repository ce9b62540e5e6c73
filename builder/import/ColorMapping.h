#pragma once
// Turns a true-colour picture into palette indices by the builder's nearest-colour rule, plainly
// or with error diffusion.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "import/ImportOptions.h"
#include "import/RgbImage.h"

/// The usable entries when indices 0 .. reservedLow-1 are kept out of the picture.
std::array<bool, 256> usableEntries(int reservedLow);

/// One index per pixel, top row first. Without dithering every pixel takes its nearest usable
/// entry; with it, Floyd-Steinberg error diffusion in serpentine rows (a picture of 512 rows or
/// more in up to four bands of rows, each diffused on its own). `keepGoing` is asked once per row
/// step with the rows done; false stops and gives an empty result.
std::vector<std::uint8_t> mapToPalette(const RgbImage& image, const ImportColors& colors,
                                       const std::array<bool, 256>& usable, bool dither,
                                       const std::function<bool(int row)>& keepGoing = {});
