#include "SourceSplitter.h"

#include "FileText.h"
#include "ProjectDetails.h"
#include "SplitConstants.h"

const char* SourceSplitter::keywordText(Keyword k) {
  static const char* const texts[KeywordCount] = {"REFPOINT(", "L000002", "HEADER(", "LATRANGE(", "SET(", "AREA("};
  return texts[k];
}

std::string SourceSplitter::expectedCopyrightLine() {
  return std::string("Copyright( ") + SplitConstants::kCopyrightNotice + " )";
}

bool SourceSplitter::isExpectedCopyrightLine(std::string_view firstLine) {
  return FileText::equalsNoCase(FileText::trim(std::string(firstLine)), expectedCopyrightLine());
}

SourceSplitter::KeywordIndices SourceSplitter::scanKeywords(const TextLines& lines) {
  KeywordIndices indices;
  indices.fill(-1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string upper = FileText::toUpper(std::string(lines[i]));
    for (int k = 0; k < KeywordCount; ++k)
      if (upper.find(keywordText(static_cast<Keyword>(k))) != std::string::npos) indices[k] = static_cast<long>(i);
  }
  return indices;
}

std::string SourceSplitter::missingKeywords(const KeywordIndices& indices) {
  std::string list;
  for (int k = 0; k < KeywordCount; ++k) {
    if (indices[k] >= 0) continue;
    if (!list.empty()) list += ", ";
    list += keywordText(static_cast<Keyword>(k));
  }
  return list;
}

std::string SourceSplitter::keywordLine(const TextLines& lines, const KeywordIndices& indices,
                                        Keyword k) {
  const long i = indices[k];
  if (i < 0 || static_cast<std::size_t>(i) >= lines.size())
    return std::string(";") + keywordText(k) + " line missing from the source";
  return std::string(lines[static_cast<std::size_t>(i)]);
}

SourceSplitter::SaveName SourceSplitter::parseSaveName(const std::string& savePath) {
  return {FileText::folderOf(savePath), FileText::baseNameOf(savePath)};
}

TextLines SourceSplitter::documentCStart(const std::string& name, const ProjectDetails& details,
                                                        const TextLines& source,
                                                        const KeywordIndices& indices) {
  TextLines doc = {";" + name + "_C.scm", details.libObjLine(), "I_93( 0 ) ;SCASM command",
                                  "\t;START->Copied from Orvane generated file"};
  // The object code lies strictly between the RefPoint line and the label line. Without
  // either of them there is no such range: copying from the top of the file would pull in the
  // header and every other chunk.
  const long from = indices[RefPoint];
  const long to = indices[L000002];
  if (from >= 0 && to >= 0)
    for (long i = from + 1; i < to; ++i) doc.push_back(source[static_cast<std::size_t>(i)]);
  doc.push_back("\t;END<-Copied from Orvane generated file");
  doc.push_back("");
  doc.push_back("\t;RUNWAYS ADDED START");
  return doc;
}

TextLines SourceSplitter::documentCEnd() {
  return {"\t;RUNWAYS ADDED END", "", "Return ;SCASM command", "EndObj ;SCASM command"};
}

TextLines SourceSplitter::documentA(const SaveName& save, const ProjectDetails& details,
                                                   const TextLines& source,
                                                   const KeywordIndices& indices) {
  return {";" + save.name + "_A.sca",
          "Set( OBJID 0 ) ;SCASM command",
          keywordLine(source, indices, Header),
          keywordLine(source, indices, LatRange),
          keywordLine(source, indices, Set),
          details.libIdLine(),
          "Include( \"" + save.dir + save.name + "_C.scm\" ) ;SCASM command"};
}

TextLines SourceSplitter::documentD(const SaveName& save, const ProjectDetails& details,
                                                   const TextLines& source,
                                                   const KeywordIndices& indices) {
  return {";" + save.name + "_D.scm", keywordLine(source, indices, RefPoint), details.callLibObjLine(),
          keywordLine(source, indices, L000002)};
}

TextLines SourceSplitter::documentB(const SaveName& save, const TextLines& source,
                                                   const KeywordIndices& indices) {
  return {";" + save.name + "_B.sca",
          keywordLine(source, indices, Header),
          keywordLine(source, indices, LatRange),
          "LibCat( \"" + save.name + ".cat\" ) ;SCASM command",
          keywordLine(source, indices, Area),
          "Include( \"" + save.dir + save.name + "_D.scm\" ) ;SCASM command",
          "EndA ;SCASM command"};
}

TextLines SourceSplitter::compileInstructions(const SaveName& save) {
  const std::string& d = save.dir;
  const std::string& n = save.name;
  return {"COMPILE INSTRUCTIONS FOR: " + d + n + ".*",
          "",
          "Make sure the following files are in the same directory: \"" + d,
          "'" + n + "_A.sca'",
          "'" + n + "_B.sca'",
          "'" + n + "_C.scm'",
          "'" + n + "_D.scm'",
          "SCASM.exe",
          "Catgen.exe",
          "Catgen.txt",
          "",
          "Open MSDos prompt, navigate to the directory, type 'scasm " + n + "_A.sca'",
          "(To save time leave the MSDos prompt window open for now)",
          "",
          "Run Catgen.exe, press 'new', browse to the directory and save as '" + n + ".cat'",
          "When asked for the index table size, press OK",
          "Press BGL, '" + n + "_A.bgl' will show and click to load",
          "Press ADD, then SAVE",
          "",
          "Open MSDos prompt, navigate to the directory, type 'scasm " + n + "_B.sca'",
          "",
          "The files '" + n + "_A.bgl' and " + n + "_B.bgl' should now be in the directory",
          "Move these two file to the scenery directory of your orvane project."};
}
