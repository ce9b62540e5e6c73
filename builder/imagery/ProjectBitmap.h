#pragma once
#include <string>

class CDibDoc;

/// Reads and validates the project bitmap at `path` into doc.projectBitmap / projectPalette and
/// sets bitmapWidth, bitmapHeight, chunkColumns and chunkRows. On failure shows the reason,
/// then "Cannot load DIB", leaves no bitmap and returns false.
bool loadProjectBitmap(CDibDoc& doc, const std::string& path);

/// The "Select bitmap for this project:" dialog, then loadProjectBitmap. Sets bitmapPath and
/// sceneryFolder from the chosen path. False when cancelled or when loading fails.
bool selectProjectBitmap(CDibDoc& doc);
