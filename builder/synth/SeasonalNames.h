#pragma once
#include <string>

/// True when the title of the file name of `path` (the text before the first "." of the name;
/// empty when it has none) has exactly 8 characters and the first of them that is one of
/// "wWpPsSfFiI" stands at index 6.
bool isSeasonalTextureName(const std::string& path);

/// The file name of `path` with index 6 replaced by 's' when it is seasonal; else "".
std::string summerTextureName(const std::string& path);

/// The variant of `name` for a season (0 Winter, 1 Spring, 2 Summer, 3 Fall): a seasonal name gets
/// 'w' (Winter) or 's' (the other seasons) at index 6 of its file name; other names are unchanged.
std::string seasonalTextureName(const std::string& name, int season);
