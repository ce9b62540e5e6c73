// TexRelief.cfg: any bytes read without a fault; what was read writes the same bytes after one
// more read and write.
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "app/ConfigFile.h"
#include "project/TaggedReader.h"
#include "project/TaggedWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  AppSettings settings;
  TaggedReader in(std::vector<std::uint8_t>(data, data + size));
  if (!readConfig(in, settings)) return 0;
  TaggedWriter once;
  writeConfig(once, settings);
  AppSettings back;
  TaggedReader again(once.data());
  FUZZ_CHECK(readConfig(again, back));
  TaggedWriter twice;
  writeConfig(twice, back);
  FUZZ_CHECK(twice.data() == once.data());
  return 0;
}
