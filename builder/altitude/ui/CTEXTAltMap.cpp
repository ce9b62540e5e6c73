#include "altitude/ui/CTEXTAltMap.h"

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "import/ElevationImport.h"

CTEXTAltMap::CTEXTAltMap(CDibDoc& doc, QWidget* parent)
    : CSourceAltMapPage(doc, QStringLiteral("TEXT Altitude Maps"), 3, parent)
{
}

std::string CTEXTAltMap::fileFilter() const
{
    return "text files (*.txt)|*.txt|All Files (*.*)|*.*||";
}

bool CTEXTAltMap::readMap(AltitudeMap& map, const std::string& path)
{
    return readTextAltitudeMap(doc_, map, path);
}

bool CTEXTAltMap::listsMap(const AltitudeMap& map) const
{
    // Elevation-file maps are stored as text maps but belong to their own page.
    return map.sourceType == 3 && !isElevationFileMap(map);
}
