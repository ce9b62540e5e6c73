#pragma once
// The altitude options of the photo and synth commands: --dted, --text, --bmp and --dem, read in
// the order given.

#include <ostream>
#include <string>
#include <vector>

#include "cli/ElevationSource.h"

class CDibDoc;

struct AltitudeSource {
    std::string kind;                  ///< "--bmp", "--dted", "--text" or "--dem"
    std::vector<std::string> values;   ///< the file, then for --bmp its extents and altitudes
    ElevationOptions elevation{};
};

/// Reads one source into a new altitude map of `doc` (a --dem through the elevation import) and
/// prints a line about it; on failure says which file could not be read. The --bmp altitudes
/// must have been checked to be whole numbers.
bool readAltitudeSource(CDibDoc& doc, const AltitudeSource& source, std::ostream& out, std::ostream& err);
