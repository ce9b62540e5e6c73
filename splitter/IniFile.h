#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FileText.h"

/// An initialisation file: "[Section]" headers and "key=value" lines. Section and key names
/// compare without regard to letter case; values are text, booleans "1"/"0". Lines it does
/// not understand (comments, stray text) are kept as they are when the file is rewritten.
/// Reading accepts CR LF, LF or CR line ends; writing uses CR LF.
///
/// A file-backed object saves the whole file after every write, so the file always holds what
/// was last written (and is created by the first write). An object without a path lives in
/// memory only.
class IniFile {
public:
  IniFile() = default;
  /// Backs the object by `path` and reads it when it exists (see load()). A file larger than
  /// `maxBytes` is not read.
  explicit IniFile(std::string path, std::uintmax_t maxBytes = FileText::kMaxConfigBytes);

  /// Rereads the file. A missing file is an empty one (true); a file that exists but cannot be
  /// read (not a regular file, too large, unreadable) gives false, leaves the object empty and
  /// stops automatic saving, so the file is not written over.
  bool load();
  /// Why the last load failed.
  const std::string& loadError() const { return loadError_; }
  /// Replaces the contents by the given text.
  void parse(const std::string& text);
  /// The contents as they would be saved.
  std::string text() const;
  /// Writes the contents to the path (atomically); false on failure or without a path.
  bool save() const;

  const std::string& path() const { return path_; }
  /// When false, writes only change memory until save() is called.
  void setAutoSave(bool on) { autoSave_ = on; }

  /// The value of a key, trimmed; `fallback` when the section or key is missing.
  std::string readString(const std::string& section, const std::string& key,
                         const std::string& fallback = {}) const;
  /// An integer value; `fallback` when missing or not a whole number.
  int readInt(const std::string& section, const std::string& key, int fallback) const;
  /// A boolean: a number, non-zero being true; `fallback` when missing or not a number.
  bool readBool(const std::string& section, const std::string& key, bool fallback) const;
  bool hasKey(const std::string& section, const std::string& key) const;

  /// Sets a key (adding section and key as needed). Line breaks in the value become blanks,
  /// so a value can never break the file. Returns false only when an automatic save failed.
  bool writeString(const std::string& section, const std::string& key, const std::string& value);
  bool writeInt(const std::string& section, const std::string& key, int value);
  bool writeBool(const std::string& section, const std::string& key, bool value);

private:
  /// Index of the header line of a section, or -1.
  long findSection(const std::string& section) const;
  /// Index of the key's line inside the section starting after `header`, or -1.
  long findKey(long header, const std::string& key) const;
  /// One past the last line belonging to the section whose header is at `header`.
  long sectionEnd(long header) const;

  std::string path_;
  std::uintmax_t maxBytes_ = FileText::kMaxConfigBytes;
  std::string loadError_;
  std::vector<std::string> lines_;
  bool autoSave_ = true;
};
