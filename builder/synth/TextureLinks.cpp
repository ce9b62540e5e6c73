#include "synth/TextureLinks.h"

#include "project/AppContext.h"
#include "project/CDibDoc.h"

std::size_t findLibraryTexture(const AppContext& app, const std::string& name)
{
    for (std::size_t i = 0; i < app.textureLibrary.size(); ++i)
        if (app.textureLibrary[i]->name == name)
            return i;
    return app.textureLibrary.size();
}

long libraryIndexOfChunk(const CDibDoc& doc, long chunkIndex)
{
    if (chunkIndex < 0 || static_cast<std::size_t>(chunkIndex) >= doc.chunks.size())
        return -1;
    const Texture* texture = doc.chunks[static_cast<std::size_t>(chunkIndex)].texture;
    if (!texture)
        return static_cast<long>(doc.app.textureLibrary.size());
    return static_cast<long>(findLibraryTexture(doc.app, texture->name));
}

void linkChunkToTexture(TexReliefChunk& chunk, Texture* texture)
{
    chunk.texture = texture;
    if (texture)
        chunk.textureKind = texture->kind;
}

void linkChunkTexture(AppContext& app, TexReliefChunk& chunk, long index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < app.textureLibrary.size())
        linkChunkToTexture(chunk, app.textureLibrary[static_cast<std::size_t>(index)].get());
    else
        linkChunkToTexture(chunk, app.noMatchTexture.get());
}
