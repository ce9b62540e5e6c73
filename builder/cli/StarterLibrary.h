#pragma once
// A small synthetic texture library of our own, so that a new user can make a synthetic scenery at
// once: five landscape classes (water, grass, forest, farmland, town), every combination of main,
// east-edge and south-edge class for the summer and the winter set, a NoMatch.bmp, and a
// TexRelief.cfg that points the builder at the folder.

#include <cstdint>
#include <string>
#include <vector>

namespace StarterLibrary {

struct ClassInfo {
    std::int32_t code;
    const char* name;
    std::uint32_t color;   ///< 0x00BBGGRR, the class colour of the colour-coded map
};

/// The library's classes, by code.
const std::vector<ClassInfo>& classes();

/// The texture file names of one set ('s' summer, 'w' winter), in byte order.
std::vector<std::string> textureNames(char season);

/// The 256 x 256 pixels (bottom row first) of the texture with these class codes.
std::vector<std::uint8_t> texturePixels(int mainClass, int eastClass, int southClass);

/// The colour table (0x00BBGGRR) of a set.
std::vector<std::uint32_t> palette(char season);

/// Writes every texture, NoMatch.bmp and `folder`/TexRelief.cfg (an existing one keeps its other
/// settings). False, with `error` set, when a file cannot be written or the old configuration is
/// damaged. `written` counts the texture files.
bool write(const std::string& folder, int& written, std::string& error);

} // namespace StarterLibrary
