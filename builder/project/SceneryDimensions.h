#pragma once
class CDibDoc;

/// Recomputes sceneryWidthKm, sceneryHeightKm and metresPerPixel from the boundary and the chunk
/// columns. A project without chunk columns gets a scale of 0 instead of a division by zero.
void computeSceneryDimensions(CDibDoc& doc);

/// True when one pixel covers more than 50 m of ground: the scenery engine may then show the
/// terrain badly, which the user is warned about (a warning only; the values are kept).
bool sceneryTooCoarse(double metresPerPixel);

/// Shows the too-coarse warning (exclamation icon) when sceneryTooCoarse(doc.metresPerPixel).
void warnIfSceneryTooCoarse(CDibDoc& doc);
