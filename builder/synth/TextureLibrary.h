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

/// The same load without a word to the user: false when the image is missing or refused, with the
/// reason of a refusal in `refusal` (left alone when the file could not be read at all).
bool readTextureImage(AppContext& app, Texture& texture, std::string* refusal = nullptr);

/// The season change: relinks the library chunks of every open project to the variant of `season`.
void changeSeason(AppContext& app, int season);
