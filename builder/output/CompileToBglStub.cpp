// Placeholder until the compile step lands (delete this file then).
#include "output/CompileToBgl.h"

bool compileToBgl(CDibDoc&, const std::string&) { return false; }
