#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

/// A fresh temporary folder per test, removed afterwards; restores the current folder (the
/// pipeline changes it).
class SplitTestDir {
public:
  SplitTestDir() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "ovsplit-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~SplitTestDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  SplitTestDir(const SplitTestDir&) = delete;
  SplitTestDir& operator=(const SplitTestDir&) = delete;

  /// Full path of a name inside the folder; `sub` of "" gives the folder with a final '/'.
  std::string operator/(const std::string& sub) const { return (path_ / sub).string(); }
  std::string withSlash() const { return path_.string() + "/"; }

private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string crlf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

/// Writes an executable shell script.
inline void writeScript(const std::string& path, const std::string& body) {
  writeBytes(path, "#!/bin/sh\n" + body);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

inline std::string testData(const std::string& name) { return std::string(OVSPLIT_TEST_DATA) + "/" + name; }
