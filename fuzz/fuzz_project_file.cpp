// Project files (.prj, every version): any bytes read without a fault; a project that was
// read writes the same bytes after one more read and write.
#include <cstdint>
#include <vector>

#include "BuilderFuzz.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"
#include "project/TaggedReader.h"
#include "project/TaggedWriter.h"

namespace {

/// Reads without touching any bitmap file the project names.
bool readProject(CDibDoc& doc, std::vector<std::uint8_t> bytes) {
  TaggedReader in(std::move(bytes));
  ProjectFileReader::BitmapHooks hooks;
  hooks.load = [](CDibDoc&, const std::string&) { return false; };
  hooks.select = [](CDibDoc&) { return false; };
  return ProjectFileReader(doc, in, hooks).read();
}

std::vector<std::uint8_t> writeProject(CDibDoc& doc) {
  TaggedWriter out;
  ProjectFileWriter(doc).write(out);
  return out.data();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Project first;
  if (!readProject(*first.doc, std::vector<std::uint8_t>(data, data + size))) return 0;
  const std::vector<std::uint8_t> once = writeProject(*first.doc);
  fuzz::Project second;
  FUZZ_CHECK(readProject(*second.doc, once));
  FUZZ_CHECK(writeProject(*second.doc) == once);
  return 0;
}
