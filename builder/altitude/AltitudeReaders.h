#pragma once
#include <cstdint>
#include <string>

class AltitudeMap;
class CDibDoc;

/// Reads an 8-bit grayscale BMP height image into `map` (image state only; records come from
/// setBmpExtents). Messages through the project's platform. False on any failure or Cancel.
bool readBmpAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path);

/// Lays the read BMP over the given extents and makes its width x height records. False on Cancel.
bool setBmpExtents(CDibDoc& doc, AltitudeMap& map, double minLatitude, double maxLatitude, double minLongitude,
                   double maxLongitude, std::int32_t minAltitude, std::int32_t maxAltitude);

/// Reads a DTED file by the published layout. False (with a message for a damaged file) on failure.
bool readDtedAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path);

/// Reads a text file of latitude, longitude, altitude triplets. False on failure.
bool readTextAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path);
