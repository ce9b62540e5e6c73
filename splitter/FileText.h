#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Text and file helpers of the split tool (standard library only).
struct FileText {
  /// The read limits of every file the split tool opens, in one place. Each reader opens
  /// regular files only and checks the size before reading; a larger file is refused with
  /// "The file is too large" and the limit, and nothing changes. A source is held once, with
  /// four bytes of line offset per line, and shown once more in the window's editor, so the
  /// largest source costs a few hundred megabytes at worst (a file of empty lines).
  /// A builder source of 32 x 32 chunks at density 16 is about 20 MB.
  static constexpr std::uintmax_t kMaxSourceBytes = 64ull * 1024 * 1024;
  /// Also refused: a source of more lines than this (real sources have 20 to 40 bytes a line).
  static constexpr std::size_t kMaxSourceLines = 4'000'000;
  /// A runway file holds some fifty short keys: a few hundred bytes.
  static constexpr std::uintmax_t kMaxRunwayBytes = 64 * 1024;
  /// OVSPLIT.cfg holds a dozen keys. A larger one is not read: the window starts from the
  /// defaults and does not write over it.
  static constexpr std::uintmax_t kMaxConfigBytes = 1024 * 1024;
  /// Of a SCASM log only this much is shown (the rest is left out with a note).
  static constexpr std::uintmax_t kMaxLogBytes = 1024 * 1024;

  /// Splits text into lines at CR LF, LF or a lone CR. A final line break does not start
  /// another line; an empty text has no lines.
  static std::vector<std::string> splitLines(const std::string& text);

  /// Reads a whole file. False (with `error` set) when it is missing, not a regular file,
  /// larger than `maxBytes` or unreadable.
  static bool readFile(const std::string& path, std::string& out, std::string& error,
                       std::uintmax_t maxBytes);
  /// Reads at most `maxBytes` from the start of a regular file; `truncated` tells whether
  /// there was more.
  static bool readFileStart(const std::string& path, std::string& out, std::string& error,
                            std::uintmax_t maxBytes, bool& truncated);

  /// Writes `lines`, each ended by CR LF. Writes a temporary file beside the target and
  /// renames it over the target, so a failed write leaves the previous file untouched.
  static bool writeLinesCrLf(const std::string& path, const std::vector<std::string>& lines);
  /// Same for raw bytes.
  static bool writeFileAtomic(const std::string& path, const std::string& bytes);

  /// Writes several files as one: every file goes to a temporary file beside its target
  /// (flushed to disk), and only when all are complete are they renamed over their targets.
  /// When a temporary file cannot be made or written, every target stays as it was, the
  /// temporary files are removed and `failed` names the target with the reason.
  struct FileContent {
    std::string path;
    std::string bytes;
  };
  static bool writeFilesTogether(const std::vector<FileContent>& files, std::string& failed);

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
