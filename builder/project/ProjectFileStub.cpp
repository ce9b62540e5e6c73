// Placeholder until the project file lands (delete this file then).
#include "project/ProjectFile.h"

bool saveProject(CDibDoc&, const std::string&) { return false; }
bool loadProject(CDibDoc&, const std::string&) { return false; }
bool openProject(CDibDoc&, const std::string&) { return false; }
