#pragma once
// Helpers of the fuzz targets: the input as a file (for readers that take a path), a platform
// that answers every question with its safe choice and shows nothing, and the property check.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>

namespace fuzz {

/// Writes the input to a file of this process (named with `extension`) and returns its path.
inline std::string asFile(const std::uint8_t* data, std::size_t size, const char* extension) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvane-fuzz-" + std::to_string(::getpid()) + extension;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
  return path;
}

/// A stream that swallows everything.
inline std::ostream& nowhere() {
  static std::ostream sink(nullptr);
  return sink;
}

/// A broken property is a crash, so the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

}  // namespace fuzz
