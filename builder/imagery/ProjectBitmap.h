#pragma once
#include <string>

class CDibDoc;

/// Refusal of a bitmap that passed the colour check but is not uncompressed 8 bits per pixel.
inline constexpr const char* kNot8BitMessage =
    "This image is not an uncompressed 256 color image. Loading abandoned.";
/// Start of the message for a bitmap file that cannot be opened; the path follows on its own line.
inline constexpr const char* kOpenFailedMessage = "Failed to open document.";

/// Reads and validates the project bitmap at `path` into doc.projectBitmap / projectPalette and
/// sets bitmapWidth, bitmapHeight, chunkColumns and chunkRows. On failure shows the reason,
/// then "Cannot load DIB", leaves no bitmap and returns false. Bitmaps that are not 8 bits per
/// pixel or whose pixels are compressed are refused like any invalid bitmap (kNot8BitMessage).
/// A file that cannot be opened is reported with kOpenFailedMessage and the path.
bool loadProjectBitmap(CDibDoc& doc, const std::string& path);

/// The "Select bitmap for this project:" dialog, then loadProjectBitmap. Sets bitmapPath and
/// sceneryFolder from the chosen path. False when cancelled or when loading fails.
bool selectProjectBitmap(CDibDoc& doc);
