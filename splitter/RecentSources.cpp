#include "RecentSources.h"

#include <algorithm>

#include "IniFile.h"

namespace {
const char* const kSection = "RecentFiles";

std::string keyOf(int i) { return "File" + std::to_string(i + 1); }
}  // namespace

std::vector<std::string> RecentSources::list(const IniFile& config) {
  std::vector<std::string> paths;
  for (int i = 0; i < kMaxEntries; ++i) {
    const std::string path = config.readString(kSection, keyOf(i));
    if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
  }
  return paths;
}

void RecentSources::add(IniFile& config, const std::string& path) {
  std::vector<std::string> paths = list(config);
  paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
  paths.insert(paths.begin(), path);
  if (paths.size() > static_cast<std::size_t>(kMaxEntries)) paths.resize(kMaxEntries);
  store(config, paths);
}

void RecentSources::remove(IniFile& config, const std::string& path) {
  std::vector<std::string> paths = list(config);
  paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
  store(config, paths);
}

void RecentSources::store(IniFile& config, const std::vector<std::string>& paths) {
  // One save for the whole list, not one per key.
  config.setAutoSave(false);
  for (int i = 0; i < kMaxEntries; ++i)
    config.writeString(kSection, keyOf(i), i < static_cast<int>(paths.size()) ? paths[static_cast<std::size_t>(i)] : "");
  config.setAutoSave(true);
  config.save();
}
