#pragma once
// What the chunk properties sheet does to the chunks, without the windows: the values it shows
// for a selection, the enabling of its dependent fields, the density arrows and Apply.

#include <cstdint>
#include <vector>

#include "project/ChunkProperties.h"

class CDibDoc;

/// "Leave unchanged": the value every field takes when several chunks are edited at once.
constexpr std::int32_t kUnchangedProperty = -1;

/// The values the General page opens with: one chunk gives its own values; several chunks give
/// kUnchangedProperty in all thirteen (nothing is taken from any of them).
ChunkProperties chunkPropertiesForEdit(const CDibDoc& doc, const std::vector<int>& selection);

/// Stores `values` into the selected chunks. With one chunk every value is stored as it is;
/// with several, only the values that are not kUnchangedProperty. Indices outside the chunk
/// list are ignored. Returns how many chunks were written.
int applyChunkProperties(CDibDoc& doc, const std::vector<int>& selection, const ChunkProperties& values);

/// Which dependent fields of the General page accept input for these values.
struct ChunkFieldEnabling {
    bool refPointAltitude = false;   ///< "Altitude": only with RefPoint type 2
    bool bitmapModeIndex = false;    ///< "Index": only while "BitmapMode" is checked
    bool surfaceColor = false;       ///< colour button, colour number, DPC/TC/NC: with "Polygon Col."
};
ChunkFieldEnabling chunkFieldEnabling(const ChunkProperties& values);

/// The density arrows: up doubles below 256, down halves from 2; "unchanged" (-1) first becomes 1.
/// Other values outside the powers of two are stepped the same way and stay within 1..256.
std::int32_t densityStepUp(std::int32_t density);
std::int32_t densityStepDown(std::int32_t density);

/// The node-grid preview of one chunk: n x n cells of `cell` pixels (blue squares of cell - 1),
/// the first at (`left`, `top`), centred in a square frame of `frame` pixels. n is the density
/// below 128, else 1.
struct NodeGridPreview {
    int n = 1;
    int cell = 0;
    int left = 0;
    int top = 0;
};
NodeGridPreview nodeGridPreview(std::int32_t density, int frameLeft, int frameTop, int frameSize);
