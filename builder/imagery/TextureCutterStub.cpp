// Placeholder until the texture cutter lands (delete this file then).
#include "imagery/TextureCutter.h"

bool cutTextureLevel(CDibDoc&, int, const std::string&, int, ProgressWindow*) { return false; }
bool cutAllLevels(CDibDoc&) { return false; }
bool writeTextureTile(CDibDoc&, const std::string&, int, int, int, ProgressWindow*) { return false; }
