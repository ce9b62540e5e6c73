// JASC palettes: any file imports without a fault, and importing it twice gives the same
// colours (the import depends on the file alone).
#include <cstdint>

#include "BuilderFuzz.h"
#include "imagery/PaletteFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Project project;
  const std::string path = fuzz::asFile(data, size, ".pal");
  if (!importJascPalette(*project.doc, path)) return 0;
  const auto once = project.doc->customColors;
  FUZZ_CHECK(importJascPalette(*project.doc, path));
  FUZZ_CHECK(project.doc->customColors == once);
  return 0;
}
