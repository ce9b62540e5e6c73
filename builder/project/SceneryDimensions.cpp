#include "project/SceneryDimensions.h"

#include <cmath>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"

void computeSceneryDimensions(CDibDoc& doc)
{
    const GeoRect& b = doc.boundary;
    const double meanLatitude = std::fabs(b.north + b.south) / 2 * 3.14159265359 / 180;
    const double kmPerDegreeLongitude = std::cos(meanLatitude) * 40075.0 / 360.0;
    const double kmPerDegreeLatitude = 111.13055555555556;
    doc.sceneryWidthKm = (b.east - b.west) * kmPerDegreeLongitude;
    doc.sceneryHeightKm = (b.north - b.south) * kmPerDegreeLatitude;
    const double pixels = static_cast<double>(doc.chunkColumns) * 256;
    doc.metresPerPixel = pixels > 0 ? doc.sceneryWidthKm * 1000 / pixels : 0.0;
}

bool sceneryTooCoarse(double metresPerPixel)
{
    return metresPerPixel > 50.0;
}

void warnIfSceneryTooCoarse(CDibDoc& doc)
{
    if (sceneryTooCoarse(doc.metresPerPixel))
        doc.app.platform.message("The range of scenery specified is too large for the texture provided. The scenery "
                                 "engine might have difficulties properly displaying the terrain.",
                                 MsgIcon::Exclamation);
}
