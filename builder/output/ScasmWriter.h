#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

class CDibDoc;
struct TexReliefChunk;

/// Counts of one source write, for measurements.
struct ScasmWriteStats {
    std::uint64_t nearestSearches = 0;  ///< findNearest calls on the main altitude map
};

/// Writes the project's SCASM source (CR LF lines, numbers with a point). The previous file of
/// that name is replaced only by a completely written one; when the new file cannot be made or
/// written, "Cannot write PATH: CAUSE." is shown, false returned and the old file stays.
/// Cancel in the progress window stops it the same way, saying the old file was left as it was.
/// Resets `labelCounter`; a chunk found flat under the flat-grid rule keeps density 1.
bool writeScasmSource(CDibDoc& doc, const std::string& path, ScasmWriteStats* stats = nullptr);

/// One chunk's area block (takes five label numbers from `labelCounter`).
void writeChunkArea(TexReliefChunk& chunk, std::FILE* file, CDibDoc& doc, ScasmWriteStats* stats = nullptr);

/// One chunk's TexRelief block: geometry line, node rows and the closing line.
void writeTexRelief(TexReliefChunk& chunk, std::FILE* file, CDibDoc& doc, ScasmWriteStats* stats = nullptr);

/// The lowest and highest node altitude of a chunk at its current density: lowest starts at
/// INT32_MAX and highest at 0, so a chunk of one negative altitude never counts as flat.
std::pair<std::int32_t, std::int32_t> chunkAltitudeRange(const TexReliefChunk& chunk, const CDibDoc& doc,
                                                         ScasmWriteStats* stats = nullptr);

/// The density the writer uses for a stored grid density: 1..256 as stored, anything below 1
/// (a damaged file) as 1 and anything above 256 as 256, so every value writes a valid grid.
std::int32_t effectiveGridDensity(std::int32_t storedDensity);

/// The name on a chunk's Bitmap line: the tile's file name for a project texture (kind 1), the
/// summer variant of a seasonal library name, else empty (also when the chunk has no texture).
std::string chunkBitmapName(const TexReliefChunk& chunk);
