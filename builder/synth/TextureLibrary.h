#pragma once
#include <string>

class AppContext;
class Texture;

/// (Re)builds app.textureLibrary from the library folder for the current season and reloads
/// noMatchTexture; re-links every chunk of every open project by its texture's name afterwards.
void loadTextureLibrary(AppContext& app);

/// Rebuilds app.settings.textureClasses from the file names in the library folder.
/// False (classes unchanged, message shown) when the folder holds no textures.
bool rescanTextureClasses(AppContext& app);

/// Loads and validates the texture's image (256 x 256, at most 256 colours). Messages as shown to the user.
bool loadTextureImage(AppContext& app, Texture& texture);

/// The season change: relinks the library chunks of every open project to the variant of `season`.
void changeSeason(AppContext& app, int season);
