#pragma once
// Loading the images of every texture a project's chunks link to, as one step of opening it.

#include <cstddef>
#include <string>

class CDibDoc;

struct LinkedTextureImages {
    std::size_t linked = 0;        ///< distinct texture objects linked by chunks
    std::size_t failed = 0;        ///< those whose image could not be loaded
    std::string firstFailure;      ///< the file of the first failure, as the user knows it
};

/// Loads the image of each texture linked by a chunk that has none yet (library textures and the
/// project's own tiles alike), quietly; failures are counted, never reported one by one.
LinkedTextureImages loadLinkedTextureImages(CDibDoc& doc);

/// The one message for the failures of loadLinkedTextureImages; empty when none failed.
std::string linkedTextureFailureText(const LinkedTextureImages& result);
