#pragma once
// --dem FILE [--dem-spacing M] [--voids fill|skip] of the photo and synth commands.

#include <optional>
#include <ostream>
#include <string>

#include "import/ElevationImport.h"

class CDibDoc;

/// The options from the command line's words; nothing, with `error` set, when one is not understood.
std::optional<ElevationOptions> elevationOptionsFrom(const std::string& spacing, const std::string& voids,
                                                     std::string& error);

/// Reads the elevation file clipped to the project boundary and appends its map; prints a line.
bool readElevationSource(CDibDoc& doc, const std::string& path, const ElevationOptions& options, std::ostream& out,
                         std::ostream& err);
