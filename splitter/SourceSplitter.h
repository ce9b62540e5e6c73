#pragma once

#include <array>
#include <string>
#include <vector>

#include "TextLines.h"

struct ProjectDetails;

/// The pure text work of a split: the copyright check, the keyword scan and the documents.
struct SourceSplitter {
  /// The six keyword lines a builder source holds, in the order of their indices.
  enum Keyword { RefPoint, L000002, Header, LatRange, Set, Area, KeywordCount };

  /// Index (0-based) of the last line holding each keyword; -1 where none does.
  using KeywordIndices = std::array<long, KeywordCount>;

  /// Output folder (with its final separator) and base name taken from a save path.
  struct SaveName {
    std::string dir;
    std::string name;
  };

  /// The upper-case text searched for a keyword, e.g. "REFPOINT(".
  static const char* keywordText(Keyword k);
  /// "Copyright( " + notice + " )".
  static std::string expectedCopyrightLine();
  /// The first line, stripped of surrounding blanks and control characters, equals the
  /// expected line without regard to letter case.
  static bool isExpectedCopyrightLine(std::string_view firstLine);

  /// Scans every line in order; a later line holding a keyword overwrites an earlier one.
  static KeywordIndices scanKeywords(const TextLines& lines);
  /// Comma-separated keyword texts of the missing keywords, empty when all are there.
  static std::string missingKeywords(const KeywordIndices& indices);
  /// The line at a keyword's index. A source lacking the keyword gets a comment line in its
  /// place, so the documents keep their shape and SCASM passes over it; the user has been told.
  static std::string keywordLine(const TextLines& lines, const KeywordIndices& indices,
                                 Keyword k);

  static SaveName parseSaveName(const std::string& savePath);

  /// Document_C up to and including the "RUNWAYS ADDED START" marker.
  static TextLines documentCStart(const std::string& name, const ProjectDetails& details,
                                                 const TextLines& source,
                                                 const KeywordIndices& indices);
  /// The lines after the runways: end marker, blank line, Return and EndObj.
  static TextLines documentCEnd();
  static TextLines documentA(const SaveName& save, const ProjectDetails& details,
                                            const TextLines& source,
                                            const KeywordIndices& indices);
  static TextLines documentD(const SaveName& save, const ProjectDetails& details,
                                            const TextLines& source,
                                            const KeywordIndices& indices);
  static TextLines documentB(const SaveName& save, const TextLines& source,
                                            const KeywordIndices& indices);
  static TextLines compileInstructions(const SaveName& save);
};
