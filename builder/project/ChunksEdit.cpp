#include "project/ChunksEdit.h"

#include <memory>

#include "project/CDibDoc.h"
#include "project/SnapshotEdit.h"

namespace {
bool sameChunk(const TexReliefChunk& a, const TexReliefChunk& b)
{
    return a.chunkValueA == b.chunkValueA && a.chunkValueB == b.chunkValueB && a.chunkValueC == b.chunkValueC &&
           a.textureKind == b.textureKind && a.area == b.area && a.properties == b.properties &&
           a.texture == b.texture && a.unresolvedTextureName == b.unresolvedTextureName;
}

bool sameChunks(const std::vector<TexReliefChunk>& a, const std::vector<TexReliefChunk>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameChunk(a[i], b[i]))
            return false;
    return true;
}
} // namespace

bool recordChunksEdit(CDibDoc& doc, const std::string& text, std::vector<TexReliefChunk> before)
{
    if (sameChunks(before, doc.chunks))
        return false;
    doc.undoStack.push(std::make_unique<SnapshotEdit<std::vector<TexReliefChunk>>>(
        text, std::move(before), doc.chunks, [](CDibDoc& d, const std::vector<TexReliefChunk>& chunks) {
            // The selection is the view's, not part of the step.
            std::vector<std::int32_t> selected;
            for (const TexReliefChunk& chunk : d.chunks)
                selected.push_back(chunk.selected);
            d.chunks = chunks;
            for (std::size_t i = 0; i < d.chunks.size() && i < selected.size(); ++i)
                d.chunks[i].selected = selected[i];
            d.repaintViews();
        }));
    doc.modifiedFollowsHistory();
    return true;
}
