#pragma once
// The files the program reads from its folders (colors.pcf, default.bmp): the user's copy in the
// application folder wins; then the copy beside the program (a build folder); then the one an
// install puts into <prefix>/share/orvane beside <prefix>/bin.

#include <string>
#include <vector>

struct AppSettings;

/// The folders looked in, in order, without empty or repeated ones.
std::vector<std::string> programFileSearchFolders(const AppSettings& settings);

/// The path of `name` in the first of programFileSearchFolders that holds it; empty when none does.
std::string findProgramFile(const AppSettings& settings, const std::string& name);

/// The folders looked in, for a message: "A", "A or B", "A, B or C".
std::string programFileFolders(const AppSettings& settings);
