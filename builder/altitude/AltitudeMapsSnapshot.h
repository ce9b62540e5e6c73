#pragma once
// A copy of a project's altitude maps (sources and merged main map), for recording the edits of
// the altitude sheet as one step the user can undo.

#include <string>
#include <vector>

#include "altitude/AltitudeMap.h"

class CDibDoc;

struct AltitudeMapsSnapshot {
    std::vector<AltitudeMap> maps;
    std::vector<std::string> titles;   // a copied map does not keep its title
    AltitudeMap main;

    static AltitudeMapsSnapshot of(const CDibDoc& doc);
    /// Puts the copy back into `doc` (maps, their titles and the main map).
    void restore(CDibDoc& doc) const;
    /// Whether `doc` holds the same maps, settings and records.
    bool sameAs(const CDibDoc& doc) const;
};

/// Records what changed in the altitude maps since `before` as one edit named `text`; nothing
/// when they are unchanged. Returns whether an edit was recorded.
bool recordAltitudeMapsEdit(CDibDoc& doc, const std::string& text, AltitudeMapsSnapshot before);
