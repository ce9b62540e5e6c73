#pragma once
// The library's file masks: "????????.bmp" for every texture, "??????w?.bmp" for the winter
// set and "??????s?.bmp" for the summer set. Matching follows the folder search of the
// original platform: exactly eight characters before the extension, letters compared
// without regard to case.

#include <string>
#include <vector>

namespace TextureFileMask {

/// True when `fileName` has exactly eight characters before ".bmp" and, when `seasonLetter`
/// is not 0, that letter (either case) at index 6.
bool matches(const std::string& fileName, char seasonLetter = 0);

/// The names of the regular files in `folder` that match, sorted by name in byte order so the
/// library is the same on every machine. Empty when the folder cannot be read.
std::vector<std::string> list(const std::string& folder, char seasonLetter = 0);

/// The season letter of the library set that serves `season`: 'w' for Winter (0), 's' otherwise.
char seasonLetter(int season);

/// The integer value of the two characters at `offset` read as a C library number would be
/// (leading blanks and a sign allowed, reading stops at the first non-digit; 0 when none).
int twoCharCode(const std::string& fileName, std::size_t offset);

} // namespace TextureFileMask
