#pragma once
// An adaptive palette for a true-colour picture: a median cut that always splits the box with the
// largest squared error, then a few k-means passes that move every entry to the mean of the
// colours it wins. A picture with no more colours than there are entries keeps them exactly. The
// colour statistics of a large picture come from an even sample of about 262 000 of its pixels.

#include <functional>

#include "import/ImportOptions.h"
#include "import/RgbImage.h"

/// Fills entries `first` .. 255 from the picture; entries below `first` are 0 (black).
/// `passes` k-means passes refine the median cut (0 leaves it). `keepGoing` is asked now and then;
/// false stops early with the palette found so far.
ImportColors adaptivePalette(const RgbImage& image, int first, int passes,
                             const std::function<bool()>& keepGoing = {});
