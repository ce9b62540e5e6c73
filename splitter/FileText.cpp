#include "FileText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

std::vector<std::string> FileText::splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  bool pending = false;  // a line has started (text seen after the last break)
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      pending = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
      pending = true;
    }
  }
  if (pending) lines.push_back(current);
  return lines;
}

bool FileText::readFile(const std::string& path, std::string& out, std::string& error,
                        std::uintmax_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    error = "The file does not exist or is not a file.";
    return false;
  }
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) {
    error = "The size of the file cannot be read.";
    return false;
  }
  if (size > maxBytes) {
    error = "The file is too large.";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "The file cannot be opened.";
    return false;
  }
  std::string data(static_cast<std::size_t>(size), '\0');
  in.read(data.data(), static_cast<std::streamsize>(size));
  if (in.gcount() != static_cast<std::streamsize>(size)) {
    error = "The file cannot be read.";
    return false;
  }
  out = std::move(data);
  return true;
}

bool FileText::writeFileAtomic(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".ovsplit-tmp";
  {
    std::ofstream outFile(temp, std::ios::binary | std::ios::trunc);
    if (!outFile) return false;
    outFile.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    outFile.flush();
    if (!outFile) {
      outFile.close();
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

bool FileText::writeLinesCrLf(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return writeFileAtomic(path, bytes);
}

bool FileText::copyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) return false;
  if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return true;
  const std::string temp = to + ".ovsplit-tmp";
  fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  fs::rename(temp, to, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

bool FileText::fileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool FileText::folderExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(path, ec);
}

std::string FileText::folderOf(const std::string& path) {
  const std::size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string FileText::fileNameOf(const std::string& path) {
  const std::size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string FileText::baseNameOf(const std::string& path) {
  const std::string file = fileNameOf(path);
  const std::size_t dot = file.rfind('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

std::string FileText::trim(const std::string& s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 0x20) --end;
  return s.substr(begin, end - begin);
}

std::string FileText::toUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

bool FileText::equalsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && toUpper(a) == toUpper(b);
}
