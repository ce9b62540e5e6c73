#include "cli/AltitudeSource.h"

#include <memory>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "cli/CliArguments.h"
#include "output/Coordinates.h"
#include "project/CDibDoc.h"

bool readAltitudeSource(CDibDoc& doc, const AltitudeSource& source, std::ostream& out, std::ostream& err)
{
    auto map = std::make_unique<AltitudeMap>();
    map->owner = &doc;
    const std::string path = absolutePath(source.values[0]);
    if (source.kind == "--dem")
        return readElevationSource(doc, path, source.elevation, out, err);
    bool ok = false;
    if (source.kind == "--dted") {
        ok = readDtedAltitudeMap(doc, *map, path);
    } else if (source.kind == "--text") {
        ok = readTextAltitudeMap(doc, *map, path);
    } else {
        const auto& v = source.values;
        ok = readBmpAltitudeMap(doc, *map, path) &&
             setBmpExtents(doc, *map, parseCoordinate(v[1]), parseCoordinate(v[2]), parseCoordinate(v[3]),
                           parseCoordinate(v[4]), static_cast<std::int32_t>(std::stoll(v[5])),
                           static_cast<std::int32_t>(std::stoll(v[6])));
    }
    if (!ok) {
        err << "orvane-cli: error: cannot read altitude map " << path << "\n";
        return false;
    }
    out << "  altitude: " << path << ": " << map->columns << " x " << map->rows << ", " << map->records.size()
        << " records\n";
    doc.altitudeMaps.push_back(std::move(map));
    return true;
}

