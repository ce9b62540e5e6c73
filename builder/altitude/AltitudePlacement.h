#pragma once
// Laying a gridded source map over a new rectangle.

#include "project/GeoRect.h"

class AltitudeMap;

/// Moves the map's columns x rows records, stored row by row from the south-west, onto an even
/// grid over `area` (first row on `south`, last on `north`; first column on `west`, last on
/// `east`). Altitudes are kept. False, with the map unchanged, when the records do not form
/// such a grid.
bool placeRecordsOverArea(AltitudeMap& map, const GeoRect& area);
