// Placeholder until the altitude readers land (delete this file then).
#include "altitude/AltitudeReaders.h"

bool readBmpAltitudeMap(CDibDoc&, AltitudeMap&, const std::string&) { return false; }
bool setBmpExtents(CDibDoc&, AltitudeMap&, double, double, double, double, std::int32_t, std::int32_t) { return false; }
bool readDtedAltitudeMap(CDibDoc&, AltitudeMap&, const std::string&) { return false; }
bool readTextAltitudeMap(CDibDoc&, AltitudeMap&, const std::string&) { return false; }
