#pragma once
// Synthetic scenery: a grid of chunks, each linked to a library texture chosen at random among
// those whose edges fit the neighbours already laid. A texture's north and west edges show its
// classCode, its east edge eastClassCode and its south edge southClassCode; side by side, the
// shared edge must show the same class on both textures. Class -1 (no neighbour, or one showing
// noMatchTexture) imposes nothing.

#include <cstdint>
#include <vector>

class CDibDoc;
class SynthRandom;

/// What the SynthWizard (or the batch program) hands to the generation besides the grid and
/// boundary already set on the project.
struct SynthOptions {
    std::vector<std::int32_t> allowedClasses;   ///< class codes that may appear on any edge
    bool renderWater = false;                   ///< "Render water at water level"
};

/// The library texture of water, put on chunks at water level (its winter variant in winter).
inline constexpr const char* kWaterTextureName = "000000s1.bmp";
inline constexpr const char* kSynthProgressCaption = "Please Wait...SynthWizard is doing its magic...";
inline constexpr const char* kNoSyntheticTextures =
    "No synthetic textures present. Could not create synthetic scenery.";
/// The largest grid side the programs accept (a million chunks at most).
inline constexpr std::int32_t kMaxSynthGridSide = 1024;

/// Which of `count` candidates a random value `r` (0 to 32767) picks: count x r / 32767 in integer
/// arithmetic, limited to count - 1; -1 when there are none.
long chooseCandidate(long count, int r);

/// A library index for the chunk whose three edge classes are all allowed and that fits the
/// existing, linked neighbours on every side; -1 when none fits.
long pickTextureForClasses(const CDibDoc& doc, long chunkIndex, const std::vector<std::int32_t>& allowed,
                           SynthRandom& random);

/// A library index that fits the chunk's south and east neighbours and, on the north and west
/// edges, `required` (or the north and west neighbours when `required` is negative); any class.
long pickTextureForNeighbours(const CDibDoc& doc, long chunkIndex, std::int32_t required, SynthRandom& random);

/// Re-chooses the textures of the chunk's north, west, east, south, north-east and south-west
/// neighbours, in that order, so that they fit the chunk's (new) texture.
void matchNeighbours(CDibDoc& doc, long chunkIndex, SynthRandom& random);

/// Builds the chunks of a new synthetic project over doc.boundary with doc.chunkColumns x
/// doc.chunkRows chunks, under a progress window that can be cancelled. False, with no chunks
/// left, for an empty library (with its message), a grid without chunks, or Cancel.
bool generateSyntheticScenery(CDibDoc& doc, const SynthOptions& options, SynthRandom& random);
