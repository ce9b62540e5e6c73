#pragma once

#include <string>

/// What the split tool tells and checks before a Windows program runs through wine.
class WineSetup {
public:
  /// Wine's folder: $WINEPREFIX, else $HOME/.wine.
  static std::string prefixFolder();
  /// The note shown once before a Windows program runs when wine has no folder yet; empty
  /// when the folder exists.
  static std::string firstStartNote();
  /// Refusal text for a 32-bit Windows program on a machine whose wine runs only 64-bit
  /// programs (looking under `root` for wine's parts); empty when the program may run.
  static std::string refusalFor(const std::string& program, const std::string& root = "/");
  /// The refusal text itself; `name` is the program's file name. Lines end with `breakText`.
  static std::string missing32BitText(const std::string& name, const std::string& breakText);

  /// `folder` as a Windows program under wine sees it: from `winepath -w` when that is on
  /// PATH and answers within a few seconds, else drive Z: (wine's view of "/") with '\'.
  static std::string windowsFolder(const std::string& folder);
  /// "Z:" + the path with '\' separators.
  static std::string driveZForm(const std::string& folder);
  /// True when the text has bytes outside 7-bit ASCII.
  static bool hasNonAscii(const std::string& text);

  /// How long `winepath` may take (its first start in a new wine folder takes longer: it is
  /// only asked once the folder exists).
  static constexpr int kWinepathTimeoutMs = 5000;
};
