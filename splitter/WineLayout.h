#pragma once

#include <string>
#include <vector>

/// Which parts of wine are installed: wine keeps the Windows side of each part in a folder
/// `x86_64-windows` (64-bit) or `i386-windows` (32-bit) under one of its library folders.
/// A folder alone proves nothing (a 64-bit-only install has an `i386-windows` folder with a
/// stray library in it): a part counts when its folder holds `ntdll.dll`.
class WineLayout {
public:
  bool has64BitPart = false;
  bool has32BitPart = false;

  /// Looks under `root` ("/" on a real system; tests build fake layouts in a temporary
  /// folder) in the folders wine keeps its libraries in, and beside `wineBinary` (taken as
  /// it is, not under `root`; may be empty).
  static WineLayout probe(const std::string& root, const std::string& wineBinary);
  /// The library folders looked in, for a report.
  static std::vector<std::string> libraryFolders(const std::string& root, const std::string& wineBinary);

  /// True when a 32-bit Windows program cannot run: the 64-bit part is there and the 32-bit
  /// part is not. An unknown layout (neither part found) does not count: never block on a guess.
  bool lacks32BitPart() const { return has64BitPart && !has32BitPart; }
};
