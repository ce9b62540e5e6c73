#pragma once
#include <cstddef>
#include <string>

class AppContext;
class CDibDoc;
struct TexReliefChunk;

/// Index of the first library texture whose name equals `name`; the library size when none does.
std::size_t findLibraryTexture(const AppContext& app, const std::string& name);

/// -1 for an index outside the chunk list, otherwise findLibraryTexture of the linked texture's name
/// (the library size when the chunk has no texture).
long libraryIndexOfChunk(const CDibDoc& doc, long chunkIndex);

/// Links the chunk to library texture `index` when 0 <= index < library size, else to noMatchTexture.
/// The chunk's textureKind follows the linked texture's kind.
void linkChunkTexture(AppContext& app, TexReliefChunk& chunk, long index);

/// Links the chunk to any texture object and lets its textureKind follow the texture's kind.
void linkChunkToTexture(TexReliefChunk& chunk, class Texture* texture);
