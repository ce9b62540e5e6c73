// Placeholder until the texture library lands (delete this file then).
#include "synth/TextureLibrary.h"

void loadTextureLibrary(AppContext&) {}
bool rescanTextureClasses(AppContext&) { return false; }
bool loadTextureImage(AppContext&, Texture&) { return false; }
void changeSeason(AppContext&, int) {}
