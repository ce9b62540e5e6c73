#pragma once

#include <string>

/// What kind of program a file is, from its first bytes: a Windows program starts with "MZ";
/// its PE header (found through the offset at 0x3C) names the machine it was built for.
/// Every offset is checked against the file's size, so a damaged or hostile file gives Unknown.
class WindowsProgram {
public:
  enum class Kind {
    NotWindows,  ///< no "MZ" signature (a native program, a script, not a regular file)
    Unknown,     ///< "MZ", but no PE header that can be read (DOS program, damaged file)
    Bits32,      ///< PE machine 0x014C (x86)
    Bits64,      ///< PE machine 0x8664 (x86-64)
    Other,       ///< PE header for another machine
  };

  static Kind kindOf(const std::string& path);
  static bool isWindowsProgram(const std::string& path) { return kindOf(path) != Kind::NotWindows; }
};
