#include <gtest/gtest.h>

#include "FileText.h"
#include "IniFile.h"
#include "RecentSources.h"
#include "ScriptedSplitPlatform.h"
#include "SplitSession.h"
#include "SplitTestFiles.h"

namespace {

const std::string kCopyright =
    "Copyright( Orvane Scenery Builder (c) Orvane Developers. All rights reserved. )";

class SplitSessionTest : public ::testing::Test {
protected:
  SplitTestDir dir;
  IniFile config{dir / "OVSPLIT.cfg"};
  ScriptedSplitPlatform platform;
  SplitSession session{platform, config};

  /// Splits with no runway, no compiling and the documents saved.
  void splitAndSave(const std::string& source, const std::string& save) {
    platform.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::Yes};
    ASSERT_TRUE(session.SplitSource(source, save));
  }
  std::vector<std::string> savedLines(const std::string& suffix) {
    const std::string bytes = readBytes(dir / ("MyArea" + suffix));
    EXPECT_EQ(bytes.size() >= 2 ? bytes.substr(bytes.size() - 2) : "", "\r\n");
    std::vector<std::string> lines;
    std::size_t start = 0, at;
    while ((at = bytes.find("\r\n", start)) != std::string::npos) {
      lines.push_back(bytes.substr(start, at - start));
      start = at + 2;
    }
    return lines;
  }
};

}  // namespace

// A source in the exact form the builder writes: two chunks, copyright, banner, header lines.
TEST_F(SplitSessionTest, BuilderSourceGivesTheFiveDocumentsLineByLine) {
  splitAndSave(testData("builder_two_chunks.sca"), dir / "MyArea.sca");
  const std::string d = dir.withSlash();
  EXPECT_EQ(platform.texts(), (std::vector<std::string>{"Add a Runway?",
                                                        "Document processing complete...\r\rStart compilation process?",
                                                        "Save documents to:\r\r" + d}));

  EXPECT_EQ(savedLines("_A.sca"),
            (std::vector<std::string>{";MyArea_A.sca", "Set( OBJID 0 ) ;SCASM command",
                                      "Header(1 45.100000 45.000000 -72.900000 -73.100000)",
                                      "LatRange( 45.000000 45.100000)", "set( areamx 200 )",
                                      "LibID( 'NECS' '1YRE' 1 0 ) ;SCASM command",
                                      "Include( \"" + d + "MyArea_C.scm\" ) ;SCASM command"}));
  // The later Area line (second chunk) is taken.
  EXPECT_EQ(savedLines("_B.sca"),
            (std::vector<std::string>{";MyArea_B.sca", "Header(1 45.100000 45.000000 -72.900000 -73.100000)",
                                      "LatRange( 45.000000 45.100000)", "LibCat( \"MyArea.cat\" ) ;SCASM command",
                                      "Area(B 45.050000 -72.950000 60)",
                                      "Include( \"" + d + "MyArea_D.scm\" ) ;SCASM command", "EndA ;SCASM command"}));
  // The last RefPoint stands after the label: nothing is copied between the markers.
  EXPECT_EQ(savedLines("_C.scm"),
            (std::vector<std::string>{";MyArea_C.scm", "LibObj( 0 20 0 0 0 101 0 0 0 \"Scenery1\" );SCASM command",
                                      "I_93( 0 ) ;SCASM command", "\t;START->Copied from Orvane generated file",
                                      "\t;END<-Copied from Orvane generated file", "", "\t;RUNWAYS ADDED START",
                                      "\t;RUNWAYS ADDED END", "", "Return ;SCASM command", "EndObj ;SCASM command"}));
  EXPECT_EQ(savedLines("_D.scm"),
            (std::vector<std::string>{";MyArea_D.scm",
                                      "\tRefPoint( 2 :L000009 1.000000 45.050000 -72.950000 v1= 0 v2= 0 E= 0)",
                                      "CallLibObj( 0  \"Scenery1\" ) ;SCASM command", ":L000002"}));
  const auto compile = savedLines("_Compile.doc");
  ASSERT_EQ(compile.size(), 23u);
  EXPECT_EQ(compile[0], "COMPILE INSTRUCTIONS FOR: " + d + "MyArea.*");
  EXPECT_EQ(compile[2], "Make sure the following files are in the same directory: \"" + d);
  EXPECT_EQ(compile[11], "Open MSDos prompt, navigate to the directory, type 'scasm MyArea_A.sca'");
  EXPECT_EQ(compile[16], "Press BGL, 'MyArea_A.bgl' will show and click to load");
  EXPECT_EQ(compile[21], "The files 'MyArea_A.bgl' and MyArea_B.bgl' should now be in the directory");
  EXPECT_EQ(compile[22], "Move these two file to the scenery directory of your orvane project.");

  EXPECT_EQ(session.captions[SplitSession::OvDoc], "builder_two_chunks.sca (original)");
  EXPECT_EQ(session.captions[SplitSession::DocumentC], "MyArea_C.scm");
  EXPECT_EQ(session.captions[SplitSession::CompileDoc], "MyArea_Compile.doc");
  EXPECT_TRUE(session.compileEnabled);
  EXPECT_EQ(session.docs[SplitSession::OvDoc].front(), kCopyright);
}

TEST_F(SplitSessionTest, ProjectDetailsAreRememberedAndOfferedUnquoted) {
  platform.detailsEditor = [](ProjectDetails& d) { d.objectName = ""; };
  splitAndSave(testData("builder_two_chunks.sca"), dir / "MyArea.sca");
  ASSERT_EQ(platform.offeredDetails.size(), 1u);
  const ProjectDetails& first = platform.offeredDetails[0];
  EXPECT_EQ(first.objectName, "Scenery1");
  EXPECT_EQ(first.ids, (std::array<std::string, 4>{"NECS", "1YRE", "1", "0"}));
  EXPECT_EQ(first.quoted, (std::array<bool, 4>{true, true, false, false}));
  EXPECT_EQ(savedLines("_C.scm")[1], "LibObj( 0 20 0 0 0 101 0 0 0 \"\" );SCASM command");

  platform.detailsEditor = [](ProjectDetails& d) {
    d.ids = {"AB", "CD", "7", "8"};
    d.quoted = {false, true, true, false};
  };
  splitAndSave(testData("builder_two_chunks.sca"), dir / "MyArea.sca");
  EXPECT_EQ(platform.offeredDetails[1].objectName, "Scenery1");  // empty name falls back
  EXPECT_EQ(savedLines("_A.sca")[5], "LibID( AB 'CD' '7' 8 ) ;SCASM command");

  platform.detailsEditor = nullptr;
  splitAndSave(testData("builder_two_chunks.sca"), dir / "MyArea.sca");
  EXPECT_EQ(platform.offeredDetails[2].ids, (std::array<std::string, 4>{"AB", "CD", "7", "8"}));
  EXPECT_EQ(platform.offeredDetails[2].quoted, (std::array<bool, 4>{false, true, true, false}));
  EXPECT_EQ(config.readString("Recent", "ID2"), "CD");
  EXPECT_TRUE(config.readBool("ID_Settings", "ID3_Quoted", false));
}

TEST_F(SplitSessionTest, RunwayLinesGoBetweenTheMarkers) {
  platform.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::No,
                      MessageAnswer::No};
  platform.runways = {std::vector<std::string>{"", "\tRunway( one", "\t)"}, std::nullopt};
  ASSERT_TRUE(session.SplitSource(testData("builder_two_chunks.sca"), dir / "MyArea.sca"));
  const auto& c = session.docs[SplitSession::DocumentC];
  const std::vector<std::string> tail(c.end() - 8, c.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"\t;RUNWAYS ADDED START", "", "\tRunway( one", "\t)",
                                            "\t;RUNWAYS ADDED END", "", "Return ;SCASM command",
                                            "EndObj ;SCASM command"}));
  EXPECT_FALSE(FileText::fileExists(dir / "MyArea_A.sca"));  // "Save documents to" answered No
}

TEST_F(SplitSessionTest, CopiesObjectCodeAndTellsOnceAboutMissingKeywords) {
  writeBytes(dir / "odd.sca", crlf({kCopyright, "Header(1 2 3 4 5)", "\tRefPoint( 2 :L000000 x)", "\tcode 1",
                                    "\tcode 2", ":L000002", "EndA"}));
  platform.answers = {MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
  ASSERT_TRUE(session.SplitSource(dir / "odd.sca", dir / "MyArea.sca"));
  ASSERT_EQ(platform.messages.size(), 4u);
  EXPECT_EQ(platform.messages[0].type, MessageType::Warning);
  EXPECT_NE(platform.messages[0].text.find("LATRANGE(, SET(, AREA("), std::string::npos);
  const auto& c = session.docs[SplitSession::DocumentC];
  EXPECT_EQ(c[4], "\tcode 1");
  EXPECT_EQ(c[5], "\tcode 2");
  EXPECT_EQ(session.docs[SplitSession::DocumentB][4], ";AREA( line missing from the source");
  EXPECT_EQ(session.docs[SplitSession::DocumentA][3], ";LATRANGE( line missing from the source");
}

TEST_F(SplitSessionTest, UnreadableOrEmptySourceChangesNothing) {
  session.docs[SplitSession::DocumentA] = {"previous"};
  session.captions[SplitSession::DocumentA] = "old_A.sca";
  writeBytes(dir / "empty.sca", "");
  for (const std::string& path : {dir / "empty.sca", dir / "missing.sca", dir.withSlash()}) {
    platform.messages.clear();
    EXPECT_FALSE(session.SplitSource(path, dir / "MyArea.sca"));
    ASSERT_EQ(platform.messages.size(), 1u) << path;
    EXPECT_EQ(platform.messages[0].type, MessageType::Error);
    EXPECT_NE(platform.messages[0].text.find(path), std::string::npos);
    EXPECT_EQ(session.docs[SplitSession::DocumentA], std::vector<std::string>{"previous"});
    EXPECT_EQ(session.captions[SplitSession::DocumentA], "old_A.sca");
    EXPECT_FALSE(session.CheckSourceFile(path));
  }
}

TEST_F(SplitSessionTest, SourceCheckPassesCaseAndBlankDifferencesAndWarnsOtherwise) {
  writeBytes(dir / "case.sca", "  " + FileText::toUpper(kCopyright) + "\t\r\nHeader(1)\r\n");
  EXPECT_TRUE(session.CheckSourceFile(dir / "case.sca"));
  EXPECT_TRUE(platform.messages.empty());

  writeBytes(dir / "changed.sca", "Copyright( Someone else )\r\n");
  writeBytes(dir / "nocopyright.sca", "\r\n;####\r\n");
  for (const std::string& path : {dir / "changed.sca", dir / "nocopyright.sca"}) {
    platform.messages.clear();
    platform.answers = {MessageAnswer::Ok};
    EXPECT_TRUE(session.CheckSourceFile(path));
    platform.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(session.CheckSourceFile(path));
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, path + "\r\rMay not be a valid Orvane file");
    EXPECT_EQ(platform.messages[0].type, MessageType::Warning);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::OkCancel);
  }
}

TEST_F(SplitSessionTest, LoadAsksInOrderRemembersPathsAndSplitsAChangedSourceOnOk) {
  writeBytes(dir / "changed.sca", crlf({"Copyright( changed )", "Header(1)"}));
  platform.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No,
                      MessageAnswer::No};
  platform.openAnswers = {dir / "changed.sca"};
  platform.saveAnswers = {dir / "Out.sca"};
  session.LoadOvFile();
  const auto texts = platform.texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[0], "Opening Orvane.sca file will\r\rclear all existing documents? ");
  EXPECT_EQ(texts[1], dir / "changed.sca" + "\r\rMay not be a valid Orvane file");
  EXPECT_EQ(texts[2], "Select directory and file name for new files\r\r_A, _B, _C, _D will be added to file name\r");
  EXPECT_EQ(platform.messages[2].type, MessageType::Information);
  ASSERT_EQ(platform.openRequests.size(), 1u);
  EXPECT_EQ(platform.openRequests[0].title, "Select a Orvane File");
  EXPECT_EQ(platform.openRequests[0].filter, "Orvane Scasm Files (*.sca)|*.SCA|Orvane Scasm Files (*.scm)|*.SCM");
  EXPECT_TRUE(platform.openRequests[0].fileMustExist);
  ASSERT_EQ(platform.saveRequests.size(), 1u);
  EXPECT_EQ(platform.saveRequests[0].title, "Save new files as");
  EXPECT_TRUE(platform.saveRequests[0].overwritePrompt);
  EXPECT_EQ(session.name, "Out");
  EXPECT_EQ(config.readString("Recent", "Orvane"), dir / "changed.sca");
  EXPECT_EQ(config.readString("Recent", "Saved"), dir / "Out.sca");

  // The next load starts both dialogs where the last ones ended (the unsaved split is let go).
  platform.answers = {MessageAnswer::No, MessageAnswer::Cancel};
  session.LoadOvFile();
  EXPECT_EQ(platform.openRequests.size(), 1u);
  platform.answers = {MessageAnswer::No, MessageAnswer::Ok};
  session.LoadOvFile();
  ASSERT_EQ(platform.openRequests.size(), 2u);
  EXPECT_EQ(platform.openRequests[1].initialDir, dir.withSlash());
  EXPECT_EQ(platform.openRequests[1].fileName, "changed.sca");
}

TEST_F(SplitSessionTest, EveryCancelInTheLoadChainKeepsThePreviousDocuments) {
  writeBytes(dir / "changed.sca", crlf({"Copyright( changed )", "Header(1)"}));
  struct Step {
    std::deque<MessageAnswer> answers;
    bool openGiven;
    bool saveGiven;
  };
  const Step steps[] = {{{MessageAnswer::Cancel}, true, true},
                        {{MessageAnswer::Ok}, false, true},
                        {{MessageAnswer::Ok, MessageAnswer::Cancel}, true, true},
                        {{MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Cancel}, true, true},
                        {{MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok}, true, false}};
  for (const Step& step : steps) {
    session.docs[SplitSession::DocumentB] = {"kept"};
    platform.answers = step.answers;
    platform.openAnswers.clear();
    platform.saveAnswers.clear();
    if (step.openGiven) platform.openAnswers.push_back(dir / "changed.sca");
    if (step.saveGiven) platform.saveAnswers.push_back(dir / "Out.sca");
    session.LoadOvFile();
    EXPECT_EQ(session.docs[SplitSession::DocumentB], std::vector<std::string>{"kept"});
    EXPECT_TRUE(platform.offeredDetails.empty());
  }
}

TEST_F(SplitSessionTest, SaveBeforeAnySplitWritesNothingAndClearResetsTheWindow) {
  EXPECT_FALSE(session.SaveDocuments());
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_FALSE(FileText::fileExists("_A.sca"));

  splitAndSave(testData("builder_two_chunks.sca"), dir / "MyArea.sca");
  session.activeTab = 3;
  session.ClearDocuments();
  EXPECT_EQ(session.activeTab, 0);
  EXPECT_FALSE(session.compileEnabled);
  for (int d = 0; d < SplitSession::DocCount; ++d) {
    EXPECT_TRUE(session.docs[d].empty());
    EXPECT_EQ(session.captions[d], SplitSession::kInitialCaptions[d]);
  }
  EXPECT_EQ(session.name, "MyArea");  // remembered across a clear
}

TEST_F(SplitSessionTest, SaveUsesEditedTextAndReportsFilesItCannotWrite) {
  splitAndSave(testData("builder_two_chunks.sca"), dir / "MyArea.sca");
  session.onPullEdits = [this] { session.docs[SplitSession::DocumentD] = {"edited by hand"}; };
  EXPECT_TRUE(session.SaveDocuments());
  EXPECT_EQ(readBytes(dir / "MyArea_D.scm"), "edited by hand\r\n");

  session.dir = dir / "no-such-folder/";
  platform.messages.clear();
  EXPECT_FALSE(session.SaveDocuments());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].type, MessageType::Error);
}

TEST_F(SplitSessionTest, AboutAndExit) {
  session.scasmPath = "/p/SCASM.EXE";
  session.catgenPath = "/p/Catgen.exe";
  session.About();
  EXPECT_EQ(platform.messages.back().text, "OVSplit v1.1\r\rScasm Path: /p/SCASM.EXE\r\rCatgen Path: /p/Catgen.exe");
  platform.answers = {MessageAnswer::Yes, MessageAnswer::No};
  EXPECT_TRUE(session.ConfirmExit());
  EXPECT_FALSE(session.ConfirmExit());
  EXPECT_EQ(platform.messages.back().text, "Exit OVSplit?");
}

TEST_F(SplitSessionTest, SplitOrEditLeavesUnsavedWorkThatIsAskedAbout) {
  EXPECT_FALSE(session.modified);
  EXPECT_TRUE(session.ConfirmDiscard());  // nothing to lose: no question
  EXPECT_TRUE(platform.messages.empty());

  platform.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};  // split, not saved
  ASSERT_TRUE(session.SplitSource(testData("builder_two_chunks.sca"), dir / "MyArea.sca"));
  EXPECT_TRUE(session.modified);
  platform.messages.clear();
  platform.answers = {MessageAnswer::Cancel, MessageAnswer::No, MessageAnswer::Yes};
  EXPECT_FALSE(session.ConfirmDiscard());
  EXPECT_TRUE(session.ConfirmDiscard());
  EXPECT_FALSE(FileText::fileExists(dir / "MyArea_A.sca"));
  EXPECT_TRUE(session.ConfirmDiscard());  // Yes: saved
  EXPECT_TRUE(FileText::fileExists(dir / "MyArea_A.sca"));
  EXPECT_FALSE(session.modified);
  ASSERT_EQ(platform.messages.size(), 3u);
  for (const auto& m : platform.messages) {
    EXPECT_EQ(m.text, "Save changes?");
    EXPECT_EQ(m.buttons, MessageButtons::YesNoCancel);
  }

  // A save that fails keeps the work: the caller must not go on.
  session.modified = true;
  session.dir = dir / "no-such-folder/";
  platform.answers = {MessageAnswer::Yes};
  EXPECT_FALSE(session.ConfirmDiscard());
  EXPECT_TRUE(session.modified);

  session.ClearDocuments();
  EXPECT_FALSE(session.modified);
}

TEST_F(SplitSessionTest, RecentSourcesNewestFirstWithoutRepeats) {
  for (const char* path : {"/a.sca", "/b.sca", "/a.sca"}) RecentSources::add(config, path);
  EXPECT_EQ(RecentSources::list(config), (std::vector<std::string>{"/a.sca", "/b.sca"}));
  for (int i = 0; i < 10; ++i) RecentSources::add(config, "/n" + std::to_string(i) + ".sca");
  const auto list = RecentSources::list(IniFile(dir / "OVSPLIT.cfg"));  // and on disk
  ASSERT_EQ(list.size(), std::size_t(RecentSources::kMaxEntries));
  EXPECT_EQ(list.front(), "/n9.sca");
  RecentSources::remove(config, "/n9.sca");
  EXPECT_EQ(RecentSources::list(config).front(), "/n8.sca");

  // A split through Load puts its source first; a vanished one is dropped with a word.
  platform.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
  platform.openAnswers = {testData("builder_two_chunks.sca")};
  platform.saveAnswers = {dir / "MyArea.sca"};
  session.LoadOvFile();
  EXPECT_EQ(RecentSources::list(config).front(), testData("builder_two_chunks.sca"));
  session.modified = false;
  platform.messages.clear();
  session.LoadOvFile(dir / "gone.sca");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find(dir / "gone.sca"), std::string::npos);
  EXPECT_TRUE(platform.openRequests.size() == 1u);
}
