#pragma once
#include <string>

class CDibDoc;

/// Writes the project's SCASM source (CR LF lines, numbers with a point). False, with nothing
/// written and no message, when the file cannot be created.
bool writeScasmSource(CDibDoc& doc, const std::string& path);
