#include "IniFile.h"

#include <charconv>
#include <filesystem>
#include <string_view>

#include "FileText.h"

namespace {

// Lookups scan every line for every key: views keep them free of allocations.
std::string_view trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool isSectionLine(std::string_view trimmed) {
  return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

std::string_view sectionName(std::string_view trimmedLine) {
  return trimmed(trimmedLine.substr(1, trimmedLine.size() - 2));
}

bool isComment(std::string_view trimmed) {
  return trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#';
}

}  // namespace

IniFile::IniFile(std::string path, std::uintmax_t maxBytes) : path_(std::move(path)), maxBytes_(maxBytes) { load(); }

bool IniFile::load() {
  lines_.clear();
  loadError_.clear();
  std::error_code ec;
  if (path_.empty() || !std::filesystem::exists(std::filesystem::symlink_status(path_, ec))) return true;
  std::string data;
  if (!FileText::readFile(path_, data, loadError_, maxBytes_)) {
    autoSave_ = false;
    return false;
  }
  parse(data);
  return true;
}

void IniFile::parse(const std::string& text) { lines_ = FileText::splitLines(text); }

std::string IniFile::text() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

bool IniFile::save() const {
  if (path_.empty()) return false;
  return FileText::writeFileAtomic(path_, text());
}

long IniFile::findSection(const std::string& section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view t = trimmed(lines_[i]);
    if (isSectionLine(t) && equalsNoCase(sectionName(t), section)) return static_cast<long>(i);
  }
  return -1;
}

long IniFile::sectionEnd(long header) const {
  std::size_t i = static_cast<std::size_t>(header) + 1;
  while (i < lines_.size() && !isSectionLine(trimmed(lines_[i]))) ++i;
  return static_cast<long>(i);
}

long IniFile::findKey(long header, const std::string& key) const {
  const long end = sectionEnd(header);
  for (long i = header + 1; i < end; ++i) {
    const std::string_view t = trimmed(lines_[static_cast<std::size_t>(i)]);
    if (isComment(t)) continue;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) continue;
    if (equalsNoCase(trimmed(t.substr(0, eq)), key)) return i;
  }
  return -1;
}

bool IniFile::hasKey(const std::string& section, const std::string& key) const {
  const long header = findSection(section);
  return header >= 0 && findKey(header, key) >= 0;
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  const long header = findSection(section);
  if (header < 0) return fallback;
  const long line = findKey(header, key);
  if (line < 0) return fallback;
  const std::string& raw = lines_[static_cast<std::size_t>(line)];
  return FileText::trim(raw.substr(raw.find('=') + 1));
}

int IniFile::readInt(const std::string& section, const std::string& key, int fallback) const {
  const std::string value = readString(section, key);
  if (value.empty()) return fallback;
  int result = 0;
  const char* first = value.data();
  const char* last = value.data() + value.size();
  if (*first == '+') ++first;
  const auto [ptr, ec] = std::from_chars(first, last, result);
  if (ec != std::errc() || ptr != last) return fallback;
  return result;
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool fallback) const {
  const std::string value = readString(section, key);
  if (value.empty()) return fallback;
  long long number = 0;
  const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (ec != std::errc() || ptr != value.data() + value.size()) return fallback;
  return number != 0;
}

bool IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
  std::string clean = value;
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';
  const std::string entry = key + "=" + clean;

  long header = findSection(section);
  if (header < 0) {
    if (!lines_.empty() && !FileText::trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + section + "]");
    lines_.push_back(entry);
  } else {
    const long line = findKey(header, key);
    if (line >= 0) {
      lines_[static_cast<std::size_t>(line)] = entry;
    } else {
      // New keys go after the section's last non-blank line, keeping its separating blank lines.
      long insertAt = sectionEnd(header);
      while (insertAt - 1 > header && FileText::trim(lines_[static_cast<std::size_t>(insertAt - 1)]).empty())
        --insertAt;
      lines_.insert(lines_.begin() + insertAt, entry);
    }
  }
  if (autoSave_ && !path_.empty()) return save();
  return true;
}

bool IniFile::writeInt(const std::string& section, const std::string& key, int value) {
  return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  return writeString(section, key, value ? "1" : "0");
}
