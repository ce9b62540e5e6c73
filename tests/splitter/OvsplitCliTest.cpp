#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliPlatform.h"
#include "FileText.h"
#include "IniFile.h"
#include "cli/OvsplitCli.h"
#include "RunwayModel.h"
#include "ScriptedSplitPlatform.h"
#include "SplitSession.h"
#include "SplitTestFiles.h"

namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = OvsplitCli::run(args, out, err);
  return {code, out.str(), err.str()};
}

const char* kSuffixes[] = {"_A.sca", "_B.sca", "_C.scm", "_D.scm", "_Compile.doc"};

}  // namespace

TEST(OvsplitCli, HelpAndUsageErrors) {
  const CliRun help = cli({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("Usage: ovsplit-cli split SOURCE.sca SAVE.sca"), std::string::npos);

  const std::vector<std::vector<std::string>> bad = {{},
                                                     {"merge"},
                                                     {"split", "a.sca"},
                                                     {"split", "a.sca", "b.sca", "c.sca"},
                                                     {"split", "a.sca", "b.sca", "--bogus"},
                                                     {"split", "a.sca", "b.sca", "--quoted", "11"},
                                                     {"split", "a.sca", "b.sca", "--id5", "x"},
                                                     {"split", "a.sca", "b.sca", "--id1", "TOOLONG"},
                                                     {"split", "a.sca", "b.sca", "--object-name",
                                                      std::string(33, 'x')},
                                                     {"split", "a.sca", "b.sca", "--runway"}};
  for (const auto& args : bad) {
    const CliRun r = cli(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args.back());
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }
}

TEST(OvsplitCli, WritesTheSameFilesAsTheWindowsSave) {
  SplitTestDir dir;
  std::filesystem::create_directory(dir / "cli");
  std::filesystem::create_directory(dir / "win");
  const CliRun r = cli({"split", testData("builder_two_chunks.sca"), dir / "cli/Area.sca"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;

  IniFile config;
  ScriptedSplitPlatform platform;
  platform.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::Yes};
  SplitSession session(platform, config);
  ASSERT_TRUE(session.SplitSource(testData("builder_two_chunks.sca"), dir / "win/Area.sca"));

  for (const char* suffix : kSuffixes) {
    std::string fromCli = readBytes(dir / "cli/Area" + suffix);
    std::string fromWindow = readBytes(dir / "win/Area" + suffix);
    ASSERT_FALSE(fromCli.empty()) << suffix;
    // Only the output folder differs.
    std::size_t at;
    while ((at = fromWindow.find(dir / "win/")) != std::string::npos) fromWindow.replace(at, (dir / "win/").size(), dir / "cli/");
    EXPECT_EQ(fromCli, fromWindow) << suffix;
  }
}

TEST(OvsplitCli, OptionsAndRunwaysGoIntoTheDocuments) {
  SplitTestDir dir;
  RunwayModel runway;
  runway.runwayId = "27";
  runway.markings[RunwayModel::EdgeLine] = true;
  {
    IniFile file(dir / "r.rwy");
    runway.save(file);
  }
  const CliRun r = cli({"split", testData("builder_two_chunks.sca"), dir / "Out.sca", "--object-name", "Field",
                        "--id1", "ABCD", "--id3", "9", "--quoted", "0011", "--runway", dir / "r.rwy", "--runway",
                        dir / "r.rwy"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string a = readBytes(dir / "Out_A.sca");
  EXPECT_NE(a.find("LibID( ABCD 1YRE '9' '0' ) ;SCASM command\r\n"), std::string::npos);
  const std::string c = readBytes(dir / "Out_C.scm");
  EXPECT_NE(c.find("LibObj( 0 20 0 0 0 101 0 0 0 \"Field\" );SCASM command"), std::string::npos);
  std::size_t count = 0;
  for (std::size_t at = c.find("\tID 27\r\n"); at != std::string::npos; at = c.find("\tID 27\r\n", at + 1)) ++count;
  EXPECT_EQ(count, 2u);
  EXPECT_LT(c.find("\t;RUNWAYS ADDED START"), c.find("\tMARKERS 01"));
  EXPECT_LT(c.rfind("\tMARKERS 01"), c.find("\t;RUNWAYS ADDED END"));
}

TEST(OvsplitCli, CopyrightWarningStrictModeAndFailures) {
  SplitTestDir dir;
  writeBytes(dir / "other.sca", "Copyright( Someone )\r\nHeader(1 2 3 4 5)\r\n");
  CliRun r = cli({"split", dir / "other.sca", dir / "Out.sca"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.err.find("warning: " + dir / "other.sca"), std::string::npos);
  EXPECT_TRUE(FileText::fileExists(dir / "Out_A.sca"));

  r = cli({"split", dir / "other.sca", dir / "Strict.sca", "--strict"});
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(FileText::fileExists(dir / "Strict_A.sca"));
  // One line for the refusal: no warning before it, nothing after it.
  EXPECT_EQ(r.err, "ovsplit-cli: error: " + dir / "other.sca" +
                       ": the first line is not the expected copyright line (--strict)\n");

  r = cli({"split", dir / "missing.sca", dir / "Out2.sca"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("error:"), std::string::npos);

  r = cli({"split", testData("builder_two_chunks.sca"), dir / "no-folder/Out.sca"});
  EXPECT_EQ(r.code, 1);

  writeBytes(dir / "bad.rwy", "[Runway]\r\nID=37\r\n");
  r = cli({"split", testData("builder_two_chunks.sca"), dir / "Out3.sca", "--runway", dir / "bad.rwy"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Runway ID must be a number between 1 and 36"), std::string::npos);
  EXPECT_FALSE(FileText::fileExists(dir / "Out3_A.sca"));

  r = cli({"split", testData("builder_two_chunks.sca"), dir / "Out4.sca", "--runway", dir / "none.rwy"});
  EXPECT_EQ(r.code, 1);
}

// With --config the batch program offers and remembers what the window does, in the same file.
TEST(OvsplitCli, ConfigIsReadAndUpdatedLikeTheWindow) {
  SplitTestDir dir;
  {
    IniFile file(dir / "r.rwy");
    RunwayModel().save(file);
  }
  writeBytes(dir / "cli.cfg", "[Recent]\r\nObjectName=Kept\r\nID2=ZZZZ\r\n[ID_Settings]\r\nID2_Quoted=0\r\n");
  writeBytes(dir / "win.cfg", readBytes(dir / "cli.cfg"));

  const CliRun r = cli({"split", testData("builder_two_chunks.sca"), dir / "Out.sca", "--config", dir / "cli.cfg",
                        "--id1", "ABCD", "--runway", dir / "r.rwy"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(readBytes(dir / "Out_A.sca").find("LibID( 'ABCD' ZZZZ 1 0 ) ;SCASM command"), std::string::npos);
  EXPECT_NE(readBytes(dir / "Out_C.scm").find("\"Kept\""), std::string::npos);

  // The window: the same choices through its dialogs.
  IniFile config(dir / "win.cfg");
  ScriptedSplitPlatform platform;
  platform.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Yes,
                      MessageAnswer::No, MessageAnswer::No, MessageAnswer::Yes};
  platform.openAnswers = {testData("builder_two_chunks.sca")};
  platform.saveAnswers = {dir / "Out.sca"};
  platform.detailsEditor = [](ProjectDetails& d) { d.ids[0] = "ABCD"; };
  platform.runways = {std::vector<std::string>{}};
  platform.onAddRunway = [&](IniFile& cfg) { cfg.writeString("Recent", "Runway", dir / "r.rwy"); };
  SplitSession session(platform, config);
  session.LoadOvFile();
  // The window also keeps its list of recent files, which the batch program does not touch.
  const std::string window = readBytes(dir / "win.cfg");
  EXPECT_EQ(readBytes(dir / "cli.cfg"), window.substr(0, window.find("\r\n[RecentFiles]")));
  EXPECT_EQ(IniFile(dir / "cli.cfg").readString("Recent", "Runway"), dir / "r.rwy");
}

TEST(OvsplitCli, RunwayFieldsGiveTheSameLinesAsARunwayFile) {
  SplitTestDir dir;
  {
    RunwayModel runway;
    runway.refName = "Main";
    runway.runwayId = "27";
    runway.idSuffix = 1;
    runway.boxes[RunwayModel::RwLength] = "2778";
    runway.markings[RunwayModel::EdgeLine] = true;
    runway.boxes[RunwayModel::RwVasiSlopeN] = "4.5";
    IniFile file(dir / "r.rwy");
    runway.save(file);
  }
  CliRun r = cli({"split", testData("builder_two_chunks.sca"), dir / "File.sca", "--runway", dir / "r.rwy"});
  ASSERT_EQ(r.code, 0) << r.err;
  r = cli({"split", testData("builder_two_chunks.sca"), dir / "File.sca", "--runway-fields",
           "ReferenceName=Main; ID=27;IDSuffix=1;LENgth=2778;MARKERS_EdgeLine=1;VasiSlopeN=4.5"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::string fromFile = readBytes(dir / "File_C.scm");
  ASSERT_EQ(cli({"split", testData("builder_two_chunks.sca"), dir / "File.sca", "--runway", dir / "r.rwy"}).code, 0);
  EXPECT_EQ(readBytes(dir / "File_C.scm"), fromFile);
  EXPECT_NE(fromFile.find("\tID 27L\r\n\tSurface 0\r\n\tMARKERS 01\r\n"), std::string::npos);

  r = cli({"split", testData("builder_two_chunks.sca"), dir / "Bad.sca", "--runway-fields", "Lenght=1"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("Lenght=1"), std::string::npos);
  r = cli({"split", testData("builder_two_chunks.sca"), dir / "Bad.sca", "--runway-fields", "ID=40"});
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(FileText::fileExists(dir / "Bad_A.sca"));
}

TEST(OvsplitCli, MessagesArePrintedWithTheirKindAsCommandLineToolsDo) {
  struct Case {
    MessageType type;
    const char* text;
    const char* printed;
  };
  const Case cases[] = {
      {MessageType::Error, "Could not run Scasm.exe\r\rProcess Aborted",
       "ovsplit-cli: error: Could not run Scasm.exe\n\nProcess Aborted\n"},
      {MessageType::Warning, "Overwrite?\r", "ovsplit-cli: warning: Overwrite?\n"},
      {MessageType::Information, "SCASM was stopped.", "ovsplit-cli: note: SCASM was stopped.\n"},
      {MessageType::Plain, "About", "ovsplit-cli: note: About\n"},
      {MessageType::Confirmation, "Exit OVSplit?", "ovsplit-cli: note: Exit OVSplit?\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream err;
    CliPlatform platform(err, {}, {}, false);
    platform.message(c.text, c.type, MessageButtons::Ok);
    EXPECT_EQ(err.str(), c.printed) << c.text;
    EXPECT_EQ(platform.errors(), c.type == MessageType::Error ? 1 : 0);
  }
  // A program's note (wine's first start) is a note line; none without one.
  std::ostringstream err;
  CliPlatform platform(err, {}, {}, false);
  platform.programStarting({"SCASM", "/x/SCASM.EXE", {}, ""});
  EXPECT_EQ(err.str(), "");
  platform.programStarting({"SCASM", "/x/SCASM.EXE", {}, "Wine is preparing its folder /h/.wine for the first time; "
                                                         "this can take a few seconds."});
  EXPECT_EQ(err.str(),
            "ovsplit-cli: note: Wine is preparing its folder /h/.wine for the first time; this can take a few seconds.\n");
}

TEST(OvsplitCli, UsageErrorsSayErrorFirst) {
  const CliRun r = cli({"merge"});
  EXPECT_EQ(r.err.rfind("ovsplit-cli: error: unknown command 'merge'\n\nUsage:", 0), 0u) << r.err;
}
