#pragma once
// The application object's state as the core sees it: settings, the synthetic texture
// library, the open projects and the platform layer. One per program run (or per test).

#include <memory>
#include <vector>

#include "base/AppSettings.h"
#include "synth/Texture.h"

class CDibDoc;
class Platform;

class AppContext {
public:
    explicit AppContext(Platform& platform);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Platform& platform;
    AppSettings settings;

    /// The loaded library textures, in library order; owned here, linked by chunks.
    std::vector<std::unique_ptr<Texture>> textureLibrary;
    /// Stands for "no fitting texture"; always exists so chunks can always be linked to something.
    std::unique_ptr<Texture> noMatchTexture;

    /// Open projects in the application's document order (non-owning; the windows own them).
    std::vector<CDibDoc*> documents;

    void addDocument(CDibDoc* doc);
    void removeDocument(CDibDoc* doc);
};
