// Placeholder until the batch interpreter lands (delete this file then).
#include "output/BatchInterpreter.h"

int interpretBatchFile(const std::string&, const std::string&, const BatchCallbacks&) { return -1; }
