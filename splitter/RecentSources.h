#pragma once

#include <string>
#include <vector>

class IniFile;

/// The sources split most recently, newest first, kept in the configuration file's
/// [RecentFiles] section as File1, File2, ... so the File menu can offer them again.
class RecentSources {
public:
  static constexpr int kMaxEntries = 6;

  static std::vector<std::string> list(const IniFile& config);
  /// Puts `path` first; an older entry of the same path goes, the oldest beyond the limit too.
  static void add(IniFile& config, const std::string& path);
  static void remove(IniFile& config, const std::string& path);

private:
  static void store(IniFile& config, const std::vector<std::string>& paths);
};
