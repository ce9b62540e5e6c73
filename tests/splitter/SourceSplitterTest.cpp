#include <gtest/gtest.h>

#include "FileText.h"
#include "ProjectDetails.h"
#include "SourceSplitter.h"
#include "SplitConstants.h"

TEST(SourceSplitter, CopyrightLineComparedTrimmedAndWithoutCase) {
  const std::string notice = SplitConstants::kCopyrightNotice;
  EXPECT_EQ(notice, "Orvane Scenery Builder (c) Orvane Developers. All rights reserved.");
  const std::string expected = "Copyright( " + notice + " )";
  EXPECT_TRUE(SourceSplitter::isExpectedCopyrightLine(expected));
  EXPECT_TRUE(SourceSplitter::isExpectedCopyrightLine("  \t" + FileText::toUpper(expected) + " \x01"));
  EXPECT_FALSE(SourceSplitter::isExpectedCopyrightLine("Copyright( My own text )"));
  EXPECT_FALSE(SourceSplitter::isExpectedCopyrightLine("Copyright(  " + notice + " )"));  // inner blanks count
  EXPECT_FALSE(SourceSplitter::isExpectedCopyrightLine(""));
}

TEST(SourceSplitter, SaveNamesGiveFolderWithSeparatorAndBaseName) {
  struct Case {
    const char* path;
    const char* dir;
    const char* name;
  };
  const Case cases[] = {{"C:\\x\\MyArea.sca", "C:\\x\\", "MyArea"},
                        {"/home/u/out/MyArea.sca", "/home/u/out/", "MyArea"},
                        {"C:\\x/y\\a.b.sca", "C:\\x/y\\", "a.b"},
                        {"/x.y/noext", "/x.y/", "noext"},
                        {"plain.sca", "", "plain"}};
  for (const Case& c : cases) {
    const auto s = SourceSplitter::parseSaveName(c.path);
    EXPECT_EQ(s.dir, c.dir) << c.path;
    EXPECT_EQ(s.name, c.name) << c.path;
  }
}

TEST(SourceSplitter, KeywordScanTakesTheLastLineOfEachKeyword) {
  const TextLines lines = {"header(1 2 3 4 5)", "Area(B 1 2 60)",       "\tRefPoint( 2 :L000002 x)",
                                          ":L000002",          "LatRange( 1 2)",       "Area(B 3 4 60)",
                                          "SET( areamx 9 )",   "\trefpoint( 7 :L0 x)", "nothing"};
  const auto idx = SourceSplitter::scanKeywords(lines);
  EXPECT_EQ(idx[SourceSplitter::Header], 0);
  EXPECT_EQ(idx[SourceSplitter::Area], 5);
  EXPECT_EQ(idx[SourceSplitter::L000002], 3);  // the label line after the RefPoint naming it
  EXPECT_EQ(idx[SourceSplitter::LatRange], 4);
  EXPECT_EQ(idx[SourceSplitter::Set], 6);
  EXPECT_EQ(idx[SourceSplitter::RefPoint], 7);
  EXPECT_EQ(SourceSplitter::missingKeywords(idx), "");
}

TEST(SourceSplitter, MissingKeywordsGetACommentLineAndNoCopiedRange) {
  const TextLines lines = {"Header(1 2 3 4 5)", "code", ":L000002", "EndA"};
  const auto idx = SourceSplitter::scanKeywords(lines);
  EXPECT_EQ(SourceSplitter::missingKeywords(idx), "REFPOINT(, LATRANGE(, SET(, AREA(");
  EXPECT_EQ(SourceSplitter::keywordLine(lines, idx, SourceSplitter::Area), ";AREA( line missing from the source");
  ProjectDetails d = ProjectDetails{"Obj", {"A", "B", "C", "D"}, {}};
  const auto c = SourceSplitter::documentCStart("n", d, lines, idx);
  // Without a RefPoint line nothing is copied (not the whole file up to the label).
  ASSERT_EQ(c.size(), 7u);
  EXPECT_EQ(c[3], "\t;START->Copied from Orvane generated file");
  EXPECT_EQ(c[4], "\t;END<-Copied from Orvane generated file");
}

TEST(SourceSplitter, CopiesLinesStrictlyBetweenRefPointAndLabel) {
  const TextLines lines = {"RefPoint( a )", "one", "\ttwo", ":L000002"};
  const auto c = SourceSplitter::documentCStart("n", ProjectDetails{}, lines, SourceSplitter::scanKeywords(lines));
  ASSERT_EQ(c.size(), 9u);
  EXPECT_EQ(c[4], "one");
  EXPECT_EQ(c[5], "\ttwo");
  EXPECT_EQ(c[6], "\t;END<-Copied from Orvane generated file");
}

TEST(SourceSplitter, ProjectDetailLines) {
  ProjectDetails d{"Scenery1", {"NECS", "1YRE", "1", "0"}, {true, true, false, false}};
  EXPECT_EQ(d.libIdLine(), "LibID( 'NECS' '1YRE' 1 0 ) ;SCASM command");
  EXPECT_EQ(d.libObjLine(), "LibObj( 0 20 0 0 0 101 0 0 0 \"Scenery1\" );SCASM command");
  EXPECT_EQ(d.callLibObjLine(), "CallLibObj( 0  \"Scenery1\" ) ;SCASM command");
  d.objectName.clear();
  EXPECT_EQ(d.libObjLine(), "LibObj( 0 20 0 0 0 101 0 0 0 \"\" );SCASM command");
}

TEST(FileText, SplitLinesHandlesEveryLineEnd) {
  EXPECT_EQ(FileText::splitLines(""), std::vector<std::string>{});
  EXPECT_EQ(FileText::splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(FileText::splitLines("a\r\n"), std::vector<std::string>{"a"});
  EXPECT_EQ(FileText::splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(FileText::splitLines("\r\n"), std::vector<std::string>{""});
}
