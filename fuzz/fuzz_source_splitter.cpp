// The source splitter: any source gives the five documents; the line store reads back what it
// writes, and the keyword lines in the documents are the source's own lines.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "FileText.h"
#include "ProjectDetails.h"
#include "SourceSplitter.h"
#include "TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(TextLines::countLines(text) == FileText::splitLines(text).size());
  const TextLines source = TextLines::fromText(text);
  FUZZ_CHECK(source.toVector() == FileText::splitLines(text));
  FUZZ_CHECK(TextLines::fromText(source.crLfText()) == source);
  if (!source.empty()) (void)SourceSplitter::isExpectedCopyrightLine(source.front());

  const auto indices = SourceSplitter::scanKeywords(source);
  (void)SourceSplitter::missingKeywords(indices);
  const ProjectDetails details{"Obj", {"NECS", "1YRE", "1", "0"}, {true, true, false, false}};
  const SourceSplitter::SaveName save = SourceSplitter::parseSaveName("/out/Area.sca");
  TextLines c = SourceSplitter::documentCStart(save.name, details, source, indices);
  c.append(SourceSplitter::documentCEnd());
  const TextLines a = SourceSplitter::documentA(save, details, source, indices);
  const TextLines d = SourceSplitter::documentD(save, details, source, indices);
  const TextLines b = SourceSplitter::documentB(save, source, indices);
  (void)SourceSplitter::compileInstructions(save);
  if (indices[SourceSplitter::Area] >= 0)
    FUZZ_CHECK(b[4] == source[static_cast<std::size_t>(indices[SourceSplitter::Area])]);
  FUZZ_CHECK(a.size() == 7 && b.size() == 7 && d.size() == 4);
  return 0;
}
