#include "altitude/ui/CTEXTAltMap.h"

#include "altitude/AltitudeReaders.h"

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
