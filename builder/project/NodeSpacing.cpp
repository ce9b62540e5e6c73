#include "project/NodeSpacing.h"

#include <cmath>

#include "project/CDibDoc.h"

namespace {
constexpr double kMetresPerDegree = 111320.0;
constexpr double kRadiansPerDegree = 3.14159265359 / 180.0;
} // namespace

double finestNodeSpacingMetres(const CDibDoc& doc)
{
    double finest = 0.0;
    for (const TexReliefChunk& chunk : doc.chunks) {
        const int density = chunk.properties.gridDensity;
        const GeoRect& a = chunk.area;
        if (density < 1)
            continue;
        const double middle = (a.north + a.south) / 2.0;
        const double eastWest = std::fabs(a.east - a.west) * kMetresPerDegree * std::cos(middle * kRadiansPerDegree) / density;
        const double northSouth = std::fabs(a.north - a.south) * kMetresPerDegree / density;
        for (double spacing : {eastWest, northSouth})
            if (std::isfinite(spacing) && spacing > 0.0 && (finest == 0.0 || spacing < finest))
                finest = spacing;
    }
    return finest;
}
