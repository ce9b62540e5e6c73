#include "WindowsProgram.h"

#include <cstdint>
#include <fstream>

#include "FileText.h"

namespace {

std::uint32_t le32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

WindowsProgram::Kind WindowsProgram::kindOf(const std::string& path) {
  // Opening a FIFO would wait for a writer: look into regular files only.
  if (!FileText::fileExists(path)) return Kind::NotWindows;
  std::ifstream in(path, std::ios::binary);
  if (!in) return Kind::NotWindows;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0);
  unsigned char head[0x40] = {};
  in.read(reinterpret_cast<char*>(head), sizeof head);
  const std::streamsize got = in.gcount();
  if (got < 2 || head[0] != 'M' || head[1] != 'Z') return Kind::NotWindows;
  if (got < static_cast<std::streamsize>(sizeof head) || size < 0) return Kind::Unknown;
  const std::uint64_t peOffset = le32(head + 0x3C);
  // "PE\0\0" and the two-byte machine must lie inside the file.
  if (peOffset + 6 > static_cast<std::uint64_t>(size)) return Kind::Unknown;
  in.clear();
  in.seekg(static_cast<std::streamoff>(peOffset));
  unsigned char pe[6] = {};
  in.read(reinterpret_cast<char*>(pe), sizeof pe);
  if (in.gcount() != 6 || pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return Kind::Unknown;
  const unsigned machine = unsigned(pe[4]) | unsigned(pe[5]) << 8;
  if (machine == 0x014C) return Kind::Bits32;
  if (machine == 0x8664) return Kind::Bits64;
  return Kind::Other;
}
