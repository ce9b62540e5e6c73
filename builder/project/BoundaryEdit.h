#pragma once
#include "project/GeoRect.h"

class CDibDoc;

/// Sets the project's boundary and the scenery dimensions that follow from it, as one edit the
/// user can undo. False (nothing recorded) when the boundary was that already.
bool editBoundary(CDibDoc& doc, const GeoRect& boundary);
