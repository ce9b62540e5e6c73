#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "SplitTestFiles.h"

/// The bytes of a Windows program's headers: "MZ", the PE offset at 0x3C, "PE\0\0" and the
/// machine. Enough for the bitness reader; nothing runs it.
inline std::string peBytes(std::uint16_t machine, std::uint32_t peOffset = 0x40) {
  std::string b(peOffset + 24, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  for (int i = 0; i < 4; ++i) b[0x3C + static_cast<std::size_t>(i)] = static_cast<char>(peOffset >> (8 * i));
  b.replace(peOffset, 4, std::string("PE\0\0", 4));
  b[peOffset + 4] = static_cast<char>(machine & 0xFF);
  b[peOffset + 5] = static_cast<char>(machine >> 8);
  return b;
}

/// Sets an environment variable for the life of the object (unset with nullopt).
class EnvGuard {
public:
  EnvGuard(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = std::string(old);
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~EnvGuard() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

private:
  const char* name_;
  std::optional<std::string> old_;
};
