// Placeholder until the source writer lands (delete this file then).
#include "output/ScasmWriter.h"

bool writeScasmSource(CDibDoc&, const std::string&) { return false; }
