#pragma once
#include <string>

/// What a program file is, by its headers: a Windows program ("MZ") of 32 or 64 bits, one whose
/// bitness its headers do not tell (an old DOS-style file, a damaged or cut-off header), or none.
enum class WindowsProgram { None, UnknownBits, Bits32, Bits64 };

/// Reads only the few header bytes it needs; every offset is checked against the file's size,
/// so a damaged or hostile file gives UnknownBits, never a crash. Anything but a regular file is
/// None (a FIFO is never opened).
WindowsProgram windowsProgramKind(const std::string& path);
