#include "synth/LinkedTextureImages.h"

#include <unordered_set>

#include "base/PathUtil.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "synth/Texture.h"
#include "synth/TextureLibrary.h"

LinkedTextureImages loadLinkedTextureImages(CDibDoc& doc)
{
    LinkedTextureImages result;
    std::unordered_set<const Texture*> seen;
    for (TexReliefChunk& chunk : doc.chunks) {
        Texture* texture = chunk.texture;
        if (!texture || !seen.insert(texture).second)
            continue;
        ++result.linked;
        if (texture->image)
            continue;
        if (readTextureImage(doc.app, *texture))
            continue;
        if (result.failed++ == 0)
            result.firstFailure = texture->kind == 0
                                      ? PathUtil::join(doc.app.settings.synthTexturesPath, texture->name)
                                      : PathUtil::toNative(texture->name);
    }
    return result;
}

std::string linkedTextureFailureText(const LinkedTextureImages& result)
{
    if (result.failed == 0)
        return {};
    const std::string count = result.failed == 1 ? std::string("1 texture image")
                                                 : std::to_string(result.failed) + " texture images";
    return count + " of " + std::to_string(result.linked) + " could not be loaded, the first being\n" +
           result.firstFailure + "\nTheir chunks are drawn as plain placeholders.";
}
