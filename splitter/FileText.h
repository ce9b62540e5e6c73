#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Text and file helpers of the split tool (standard library only).
struct FileText {
  /// Largest text file read (sources, logs, runway and configuration files). Far above any
  /// real source; keeps a wrong or hostile file from exhausting memory.
  static constexpr std::uintmax_t kMaxReadBytes = 512ull * 1024 * 1024;

  /// Splits text into lines at CR LF, LF or a lone CR. A final line break does not start
  /// another line; an empty text has no lines.
  static std::vector<std::string> splitLines(const std::string& text);

  /// Reads a whole file. False (with `error` set) when it is missing, not a regular file,
  /// larger than `maxBytes` or unreadable.
  static bool readFile(const std::string& path, std::string& out, std::string& error,
                       std::uintmax_t maxBytes = kMaxReadBytes);

  /// Writes `lines`, each ended by CR LF. Writes a temporary file beside the target and
  /// renames it over the target, so a failed write leaves the previous file untouched.
  static bool writeLinesCrLf(const std::string& path, const std::vector<std::string>& lines);
  /// Same for raw bytes.
  static bool writeFileAtomic(const std::string& path, const std::string& bytes);

  /// Copies `from` onto `to`, overwriting `to`. Copying a file onto itself succeeds without
  /// touching it (a plain copy would truncate the source first).
  static bool copyFile(const std::string& from, const std::string& to);

  static bool fileExists(const std::string& path);
  static bool folderExists(const std::string& path);

  /// Folder part of a path, with its final separator ('\\' or '/', whichever comes last);
  /// empty when the path has no separator.
  static std::string folderOf(const std::string& path);
  /// Text after the last '\\' or '/'.
  static std::string fileNameOf(const std::string& path);
  /// File name without its extension (the part from the last dot); a name without a dot whole.
  static std::string baseNameOf(const std::string& path);

  /// Removes leading and trailing blanks and control characters (bytes up to 0x20).
  static std::string trim(const std::string& s);
  static std::string toUpper(std::string s);
  static bool equalsNoCase(const std::string& a, const std::string& b);
};
