#include "FileText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif
#include <cerrno>

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

namespace {

/// Size of a regular file, or an error text for the user.
bool regularFileSize(const std::string& path, std::uintmax_t& size, std::string& error) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    error = "The file does not exist or is not a file.";
    return false;
  }
  size = fs::file_size(path, ec);
  if (ec) {
    error = "The size of the file cannot be read.";
    return false;
  }
  return true;
}

bool readBytes(const std::string& path, std::uintmax_t count, std::string& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "The file cannot be opened.";
    return false;
  }
  std::string data(static_cast<std::size_t>(count), '\0');
  in.read(data.data(), static_cast<std::streamsize>(count));
  if (in.gcount() != static_cast<std::streamsize>(count)) {
    error = "The file cannot be read.";
    return false;
  }
  out = std::move(data);
  return true;
}

std::string sizeText(std::uintmax_t bytes) {
  if (bytes >= 1024 * 1024) return std::to_string(bytes / (1024 * 1024)) + " MB";
  return std::to_string(bytes / 1024) + " KB";
}

std::string systemReason(int error) { return std::error_code(error, std::generic_category()).message(); }

/// Writes bytes to a new file and flushes it to disk. Empty on success, else the reason.
std::string writeAndSync(const std::string& path, const std::string& bytes) {
#ifndef _WIN32
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return systemReason(errno);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      ::close(fd);
      return systemReason(e);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) return systemReason(errno);
  return {};
#else
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return "cannot be created";
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return out ? std::string() : std::string("cannot be written");
#endif
}

void syncFolder(const std::string& path) {
#ifndef _WIN32
  std::string folder = FileText::folderOf(path);
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
#else
  (void)path;
#endif
}

}  // namespace

bool FileText::readFile(const std::string& path, std::string& out, std::string& error,
                        std::uintmax_t maxBytes) {
  std::uintmax_t size = 0;
  if (!regularFileSize(path, size, error)) return false;
  if (size > maxBytes) {
    error = "The file is too large (more than " + sizeText(maxBytes) + ").";
    return false;
  }
  return readBytes(path, size, out, error);
}

bool FileText::readFileStart(const std::string& path, std::string& out, std::string& error,
                             std::uintmax_t maxBytes, bool& truncated) {
  std::uintmax_t size = 0;
  if (!regularFileSize(path, size, error)) return false;
  truncated = size > maxBytes;
  return readBytes(path, truncated ? maxBytes : size, out, error);
}

bool FileText::writeFilesTogether(const std::vector<FileContent>& files, std::string& failed) {
  std::error_code ec;
  // A target that is a folder or other non-file could not be replaced: find that before
  // anything is written.
  for (const FileContent& f : files) {
    if (fs::exists(fs::symlink_status(f.path, ec)) && !fs::is_regular_file(f.path, ec)) {
      failed = f.path + ": a folder or other non-file has this name";
      return false;
    }
  }
  std::vector<std::string> temps;
  auto removeAll = [&](const std::vector<std::string>& paths) {
    for (const std::string& p : paths) fs::remove(p, ec);
  };
  for (const FileContent& f : files) {
    const std::string temp = f.path + ".ovsplit-tmp";
    // A temporary file left by a killed run is ours to replace; anything else is not.
    if (fs::is_regular_file(fs::symlink_status(temp, ec))) fs::remove(temp, ec);
    const std::string reason = writeAndSync(temp, f.bytes);
    if (!reason.empty()) {
      if (fs::is_regular_file(fs::symlink_status(temp, ec))) fs::remove(temp, ec);
      removeAll(temps);
      failed = f.path + ": " + reason;
      return false;
    }
    temps.push_back(temp);
  }
  // Every new file is complete. Keep a link to each old file, so that a rename failing
  // half-way can put the earlier ones back.
  std::vector<std::string> backups(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!fs::exists(files[i].path, ec)) continue;
    const std::string backup = files[i].path + ".ovsplit-old";
    fs::remove(backup, ec);
    fs::create_hard_link(files[i].path, backup, ec);
    if (ec) fs::copy_file(files[i].path, backup, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      fs::remove(backup, ec);
      removeAll(temps);
      failed = files[i].path + ": the old file cannot be kept while replacing it";
      return false;
    }
    backups[i] = backup;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    fs::rename(temps[i], files[i].path, ec);
    if (!ec) continue;
    failed = files[i].path + ": " + ec.message();
    for (std::size_t j = 0; j < i; ++j) {
      if (backups[j].empty())
        fs::remove(files[j].path, ec);
      else
        fs::rename(backups[j], files[j].path, ec);
    }
    removeAll(temps);
    removeAll(backups);
    return false;
  }
  for (const std::string& b : backups)
    if (!b.empty()) fs::remove(b, ec);
  for (const FileContent& f : files) syncFolder(f.path);
  return true;
}

bool FileText::writeFileAtomic(const std::string& path, const std::string& bytes) {
  std::string failed;
  return writeFilesTogether({{path, bytes}}, failed);
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
