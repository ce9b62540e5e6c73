#pragma once
// Fingerprints of what the map's lower layers show (the mosaic, grid lines and nodes, altitude
// crosses and labels), so pictures of them can be kept while nothing they show has changed.
// Texture pixels are not read: whoever changes a texture's image in place refreshes the views.

#include <cstdint>
#include <vector>

#include "altitude/AltitudeRecord.h"
#include "altitude/RecordList.h"
#include "view/MapOverlays.h"
#include "view/MapTransform.h"

class CDibDoc;

/// The records as they are now (from the list's version, which every change moves on). When
/// `inLongitudeOrder` is given it says whether the records are in ascending longitude order with
/// no NaN longitude.
std::uint64_t altitudeRecordsKey(const RecordList& records, bool* inLongitudeOrder = nullptr);

/// The transform, the overlay switches, the chunks and their textures' identities, the colours
/// and settings the layers use, and `recordsKey` (from altitudeRecordsKey) when records are shown.
std::uint64_t mapLayersKey(const CDibDoc& doc, const MapTransform& transform, const MapOverlays& overlays,
                           std::uint64_t recordsKey);
