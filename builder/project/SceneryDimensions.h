#pragma once
class CDibDoc;

/// Recomputes sceneryWidthKm, sceneryHeightKm and metresPerPixel from the boundary and the chunk
/// columns. A project without chunk columns gets a scale of 0 instead of a division by zero.
void computeSceneryDimensions(CDibDoc& doc);
