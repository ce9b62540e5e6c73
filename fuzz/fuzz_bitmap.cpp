// Bitmaps (.bmp): any file reads without a fault; a bitmap that was read and written reads
// back and writes the same bytes.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "imagery/BitmapFile.h"

namespace {
std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::asFile(data, size, ".bmp");
  const auto bitmap = readBitmapFile(path);
  if (!bitmap) return 0;
  (void)createBitmapPalette(*bitmap);
  (void)bitmapFitsBlock(*bitmap);
  const std::string out = path + ".out.bmp";
  if (!writeBitmapFile(*bitmap, out)) return 0;  // a core header is not written
  const std::string once = slurp(out);
  const auto back = readBitmapFile(out);
  FUZZ_CHECK(back.has_value());
  FUZZ_CHECK(writeBitmapFile(*back, out));
  FUZZ_CHECK(slurp(out) == once);
  return 0;
}
