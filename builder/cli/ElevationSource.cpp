#include "cli/ElevationSource.h"

#include <charconv>
#include <cmath>

#include "altitude/AltitudeMap.h"
#include "project/CDibDoc.h"

std::optional<ElevationOptions> elevationOptionsFrom(const std::string& spacing, const std::string& voids,
                                                     std::string& error)
{
    ElevationOptions options;
    if (!spacing.empty()) {
        double metres = 0;
        const auto [end, ec] = std::from_chars(spacing.data(), spacing.data() + spacing.size(), metres);
        if (ec != std::errc() || end != spacing.data() + spacing.size() || !std::isfinite(metres) || metres < 0) {
            error = "--dem-spacing takes metres (0 or more), not " + spacing;
            return std::nullopt;
        }
        options.spacingMetres = metres;
    }
    if (!voids.empty()) {
        const std::optional<ElevationVoids> v = parseElevationVoids(voids);
        if (!v) {
            error = "--voids takes fill or skip, not " + voids;
            return std::nullopt;
        }
        options.voids = *v;
    }
    return options;
}

bool readElevationSource(CDibDoc& doc, const std::string& path, const ElevationOptions& options, std::ostream& out,
                         std::ostream& err)
{
    if (!addElevationMap(doc, path, options)) {
        err << "orvane-cli: error: cannot read altitude map " << path << "\n";
        return false;
    }
    const AltitudeMap& map = *doc.altitudeMaps.back();
    out << "  altitude: " << path << ": " << map.columns << " x " << map.rows << ", " << map.records.size()
        << " records\n";
    return true;
}
