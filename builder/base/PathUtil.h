#pragma once
// Path helpers. Paths are joined with the native separator; a path read from a file may
// hold backslashes or slashes, and both are accepted wherever a path is taken apart.

#include <string>

namespace PathUtil {

#ifdef _WIN32
inline constexpr char nativeSeparator = '\\';
#else
inline constexpr char nativeSeparator = '/';
#endif

/// folder + native separator + name; no doubled separator when folder already ends in one.
/// An empty folder gives the separator followed by the name (the classic "\name" of an unset folder).
std::string join(const std::string& folder, const std::string& name);

/// The text after the last backslash or slash, whichever comes last; the whole text when there is none.
std::string fileName(const std::string& path);

/// The path without its last separator and file name; empty when there is no separator.
std::string folder(const std::string& path);

/// The file name up to its last "."; the whole name when it has no ".".
std::string titleOf(const std::string& fileNameOrPath);

/// Converts every backslash and slash to the native separator (for paths read from files).
std::string toNative(const std::string& path);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

/// The process's current folder.
std::string currentFolder();

} // namespace PathUtil
