#pragma once
class CDibDoc;

/// Rebuilds doc.mainAltitudeMap from the enabled maps (each map's overrides applied to itself first,
/// its deletions to the main map, its insertions appended), sorted stably by ascending longitude.
bool mergeAltitudeMaps(CDibDoc& doc);

/// Index of the only enabled map; -1 when two or more are enabled, -2 when none is.
int selectEditableMap(const CDibDoc& doc);
