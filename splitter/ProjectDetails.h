#pragma once

#include <array>
#include <string>

class IniFile;

/// The library object's name and its four id texts, as shown in and read back from the
/// project-details dialog.
struct ProjectDetails {
  static constexpr std::size_t kMaxNameLength = 32;
  static constexpr std::size_t kMaxIdLength = 4;

  std::string objectName;
  std::array<std::string, 4> ids;   ///< as typed, without added quotes
  std::array<bool, 4> quoted{};     ///< put the id in single quotes

  /// What the dialog offers: the last values from `config`, where a blank (after trimming)
  /// stored text falls back to "Scenery1" / "NECS", "1YRE", "1", "0"; a non-blank one is used
  /// untrimmed. Quote flags default to true, true, false, false.
  static ProjectDetails offered(const IniFile& config);
  /// Remembers the values for the next split.
  void store(IniFile& config) const;

  /// Id text k (0..3) as it goes into the LibID line.
  std::string idText(std::size_t k) const;
  std::string libObjLine() const;
  std::string libIdLine() const;
  std::string callLibObjLine() const;
};
