#pragma once
// The files the program reads from its folders (colors.pcf, default.bmp): the user's copy in the
// application folder wins; the copy the program ships beside itself is the fallback.

#include <string>

struct AppSettings;

/// The path of `name` in the application folder, else in the program's folder; empty when
/// neither holds it.
std::string findProgramFile(const AppSettings& settings, const std::string& name);

/// The folders looked in, for a message: "A", or "A or B" when the program's folder differs.
std::string programFileFolders(const AppSettings& settings);
