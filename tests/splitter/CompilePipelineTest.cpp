#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <sys/stat.h>

#include "FakeWine.h"
#include "FileText.h"
#include "IniFile.h"
#include "ProcessRunner.h"
#include "ScriptedSplitPlatform.h"
#include "SplitSession.h"
#include "SplitTestFiles.h"
#include "WineSetup.h"

namespace {

/// A stand-in Scasm: records its arguments, writes a log when given one, writes the BGL
/// beside the source and ends with the exit code given for its part.
std::string scasmScript(const std::string& calls, int codeA, int codeB, const std::string& logA = "",
                        const std::string& logB = "") {
  return "echo \"$@\" >> '" + calls + "'\n" +
         "case \"$1\" in *_A.sca) code=" + std::to_string(codeA) + "; log='" + logA + "';; *) code=" +
         std::to_string(codeB) + "; log='" + logB + "';; esac\n" +
         "[ -n \"$log\" ] && printf '%s\\r\\nsecond line\\r\\n' \"$log\" > SCAERROR.LOG\n"
         "printf 'BGL %s' \"$1\" > \"${1%.sca}.bgl\"\n"
         "exit $code\n";
}

class CompilePipelineTest : public ::testing::Test {
protected:
  SplitTestDir dir;
  SplitTestDir tools;
  IniFile config{dir / "OVSPLIT.cfg"};
  ScriptedSplitPlatform platform;
  SplitSession session{platform, config};

  void SetUp() override {
    platform.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
    ASSERT_TRUE(session.SplitSource(testData("builder_two_chunks.sca"), dir / "MyArea.sca"));
    platform.messages.clear();
    session.scasmPath = tools / "SCASM.EXE";
    session.catgenPath = tools / "Catgen.exe";
    writeScript(session.catgenPath, "touch '" + tools / "catgen-started" + "'\n");
  }
  void useScasm(int codeA, int codeB, const std::string& logA = "", const std::string& logB = "") {
    writeScript(session.scasmPath, scasmScript(tools / "calls.txt", codeA, codeB, logA, logB));
  }
  bool catgenStarted() {
    for (int i = 0; i < 100 && !FileText::fileExists(tools / "catgen-started"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return FileText::fileExists(tools / "catgen-started");
  }
};

}  // namespace

TEST_F(CompilePipelineTest, ExitCodeTable) {
  struct Case {
    int code;
    const char* message;  // nullptr: none
    bool resultsShown;
  };
  const Case cases[] = {
      {1, "Scasm: \"Scasm: \"syntax error(s) in source file\" reported,\r\rAborting Process", true},
      {2, "Scasm: \"file init error\" reported\r(disk space, file names, access permissions, etc.)\r\rAborting Process",
       true},
      {4, "Scasm: \"aborted due to too many syntax errors\" reported\r\rAborting Process", true},
      {5, "Scasm: \"aborted due to too many syntax errors\" reported\r\rAborting Process", true},
  };
  for (const Case& c : cases) {
    useScasm(c.code, 0, "error in line 3");
    platform.messages.clear();
    platform.results.clear();
    platform.catgenLabels.clear();
    session.pipeline().RunCompile();
    EXPECT_TRUE(session.pipeline().aborted()) << c.code;
    ASSERT_EQ(platform.messages.size(), 1u) << c.code;
    EXPECT_EQ(platform.messages[0].text, c.message);
    EXPECT_EQ(platform.messages[0].type, MessageType::Error);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
    ASSERT_EQ(platform.results.size(), 1u);
    EXPECT_FALSE(platform.results[0].continueEnabled);  // Stop is the only way on
    EXPECT_EQ(platform.results[0].log, (std::vector<std::string>{"error in line 3", "second line"}));
    EXPECT_TRUE(platform.catgenLabels.empty());  // Catgen never runs after an error
  }
}

TEST_F(CompilePipelineTest, CleanRunGoesThroughCatgenAndPartB) {
  useScasm(0, 3);
  writeBytes(dir / "SCAERROR.LOG", "old log of an earlier run\r\n");
  platform.answers = {MessageAnswer::No};  // no move
  session.pipeline().RunCompile();
  EXPECT_FALSE(session.pipeline().aborted());
  // Code 0 shows the (empty) results with Continue; code 3 shows nothing.
  ASSERT_EQ(platform.results.size(), 1u);
  EXPECT_TRUE(platform.results[0].log.empty());
  EXPECT_TRUE(platform.results[0].continueEnabled);
  EXPECT_EQ(platform.texts(), std::vector<std::string>{"Move Bgl files to your Orvane scenery directory?\r"});

  const std::string d = dir.withSlash();
  ASSERT_EQ(platform.runs.size(), 3u);
  EXPECT_EQ(platform.runs[0].args, (std::vector<std::string>{d + "MyArea_A.sca", "-l"}));
  EXPECT_TRUE(platform.runs[0].waited);
  EXPECT_EQ(platform.runs[1].program, session.catgenPath);
  EXPECT_FALSE(platform.runs[1].waited);
  EXPECT_TRUE(platform.runs[1].args.empty());
  EXPECT_EQ(platform.runs[2].args, (std::vector<std::string>{d + "MyArea_B.sca", "-l"}));
  EXPECT_EQ(readBytes(tools / "calls.txt"), d + "MyArea_A.sca -l\n" + d + "MyArea_B.sca -l\n");
  EXPECT_TRUE(catgenStarted());

  ASSERT_EQ(platform.catgenLabels.size(), 1u);
  EXPECT_EQ(platform.catgenLabels[0],
            (std::array<std::string, 6>{"In the Catgen Window:", "Click \"NEW\" and navigate to: " + d,
                                        "Save file as MyArea.cat (if asked for index table size, click OK)",
                                        "Click \"BGL\" and load MyArea_A.bgl", "Click \"ADD\", then \"SAVE\".",
                                        "Close Catgen and click \"OK\" in this window."}));
  // The documents were saved first and Scasm worked on them.
  EXPECT_TRUE(FileText::fileExists(d + "MyArea_C.scm"));
  EXPECT_EQ(readBytes(d + "MyArea_A.bgl"), "BGL " + d + "MyArea_A.sca");
}

TEST_F(CompilePipelineTest, LogOfThisRunIsShownAndStopAborts) {
  useScasm(0, 0, "", "warning: something");
  platform.continueAnswers = {true, false};
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  ASSERT_EQ(platform.results.size(), 2u);
  EXPECT_TRUE(platform.results[0].log.empty());  // part A wrote none; the log of B is not A's
  EXPECT_EQ(platform.results[1].log, (std::vector<std::string>{"warning: something", "second line"}));
  EXPECT_TRUE(platform.messages.empty());  // no move question after Stop
}

TEST_F(CompilePipelineTest, ALongLogIsShownUpToItsLimitWithANote) {
  writeScript(session.scasmPath, "head -c " + std::to_string(FileText::kMaxLogBytes + 10) +
                                     " /dev/zero | tr '\\0' x > SCAERROR.LOG\nexit 1\n");
  platform.continueAnswers = {false};
  session.pipeline().RunCompile();
  ASSERT_EQ(platform.results.size(), 1u);
  const auto& log = platform.results[0].log;
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].size(), FileText::kMaxLogBytes);
  EXPECT_EQ(log[1], "(The log is longer than 1024 KB; the rest is in " + dir / "SCAERROR.LOG" + ")");
}

TEST_F(CompilePipelineTest, ProgramThatCannotStartAborts) {
  writeBytes(tools / "not-executable", "#!/bin/sh\nexit 0\n");
  writeBytes(tools / "windows.exe", "MZ\x90\x00 not really a program");
  std::filesystem::permissions(tools / "windows.exe", std::filesystem::perms::owner_all);
  std::vector<std::string> programs = {tools / "not-executable"};
  if (ProcessRunner::findOnPath("wine").empty()) programs.push_back(tools / "windows.exe");
  for (const std::string& program : programs) {
    session.scasmPath = program;
    platform.messages.clear();
    platform.catgenLabels.clear();
    session.pipeline().RunCompile();
    EXPECT_TRUE(session.pipeline().aborted()) << program;
    ASSERT_EQ(platform.messages.size(), 1u) << program;
    EXPECT_EQ(platform.messages[0].text, "Could not run Scasm.exe\r\rProcess Aborted");
    EXPECT_EQ(platform.messages[0].type, MessageType::Error);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Cancel);
    EXPECT_TRUE(platform.results.empty());
    EXPECT_TRUE(platform.catgenLabels.empty());
  }
  // A path that names no file is looked for again; cancelled, nothing runs.
  for (const std::string& program : {tools / "missing.exe", std::string()}) {
    session.scasmPath = program;
    platform.messages.clear();
    platform.runs.clear();
    session.pipeline().RunCompile();
    EXPECT_TRUE(session.pipeline().aborted()) << program;
    EXPECT_EQ(platform.texts(), std::vector<std::string>{"Please locate Scasm.exe on your system"});
    EXPECT_TRUE(platform.runs.empty());
    EXPECT_TRUE(platform.results.empty());
    EXPECT_TRUE(platform.catgenLabels.empty());
  }
}

TEST_F(CompilePipelineTest, UnsavableDocumentsStopBeforeScasm) {
  useScasm(0, 0);
  session.dir = dir / "gone/";
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  EXPECT_TRUE(platform.runs.empty());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].type, MessageType::Error);
}

TEST_F(CompilePipelineTest, MoveAsksBeforeOverwritingAndReportsEachFile) {
  SplitTestDir scenery;
  writeBytes(dir / "MyArea_A.bgl", "A");
  writeBytes(dir / "MyArea_B.bgl", "B");
  writeBytes(scenery / "MyArea_B.bgl", "old B");
  platform.saveAnswers = {scenery / "MyArea_A.bgl"};
  platform.answers = {MessageAnswer::Yes};
  config.writeString("Recent", "Moved", scenery / "whatever.bgl");
  session.pipeline().MoveBglFiles();

  ASSERT_EQ(platform.saveRequests.size(), 1u);
  const FileDialogRequest& r = platform.saveRequests[0];
  EXPECT_EQ(r.title, "Browse to scenery directory");
  EXPECT_EQ(r.fileName, "MyArea_A.bgl");
  EXPECT_EQ(r.filter, "MyArea_A.bgl |MyArea_A.bgl");
  EXPECT_EQ(r.initialDir, scenery.withSlash());
  EXPECT_EQ(config.readString("Recent", "Moved"), scenery / "MyArea_A.bgl");
  EXPECT_EQ(platform.texts(), (std::vector<std::string>{"Overwrite existing files?\r",
                                                        scenery / "MyArea_A.bgl" + " status: Copied\r\r" +
                                                            scenery / "MyArea_B.bgl" + " status: Copied\r"}));
  EXPECT_EQ(platform.messages[1].type, MessageType::Information);  // all went well: no warning sign
  EXPECT_EQ(readBytes(scenery / "MyArea_A.bgl"), "A");
  EXPECT_EQ(readBytes(scenery / "MyArea_B.bgl"), "B");
  EXPECT_TRUE(FileText::fileExists(dir / "MyArea_A.bgl"));  // sources stay
}

TEST_F(CompilePipelineTest, MoveCancelledOrRefusedCopiesNothing) {
  SplitTestDir scenery;
  writeBytes(dir / "MyArea_A.bgl", "A");
  writeBytes(dir / "MyArea_B.bgl", "B");
  session.pipeline().MoveBglFiles();  // folder dialog cancelled
  EXPECT_TRUE(session.pipeline().moveCancelled());
  EXPECT_TRUE(platform.messages.empty());

  writeBytes(scenery / "MyArea_A.bgl", "old A");
  platform.saveAnswers = {scenery / "x.bgl"};
  platform.answers = {MessageAnswer::No};
  session.pipeline().MoveBglFiles();
  EXPECT_TRUE(session.pipeline().moveCancelled());
  EXPECT_EQ(platform.texts(), std::vector<std::string>{"Overwrite existing files?\r"});
  EXPECT_EQ(readBytes(scenery / "MyArea_A.bgl"), "old A");
  EXPECT_FALSE(FileText::fileExists(scenery / "MyArea_B.bgl"));
}

TEST_F(CompilePipelineTest, FailedCopyIsReportedAndTheOtherFileStillCopied) {
  SplitTestDir scenery;
  writeBytes(dir / "MyArea_B.bgl", "B");  // no A: its copy fails
  platform.saveAnswers = {scenery / "MyArea_A.bgl"};
  session.pipeline().MoveBglFiles();
  EXPECT_EQ(platform.texts(), std::vector<std::string>{scenery / "MyArea_A.bgl" + " status: Error\r\r" +
                                                       scenery / "MyArea_B.bgl" + " status: Copied\r"});
  EXPECT_EQ(platform.messages[0].type, MessageType::Warning);
  EXPECT_EQ(readBytes(scenery / "MyArea_B.bgl"), "B");
}

TEST_F(CompilePipelineTest, MoveIntoTheOutputFolderItselfKeepsTheFiles) {
  writeBytes(dir / "MyArea_A.bgl", "A");
  writeBytes(dir / "MyArea_B.bgl", "B");
  platform.saveAnswers = {dir / "MyArea_A.bgl"};
  platform.answers = {MessageAnswer::Yes};
  session.pipeline().MoveBglFiles();
  EXPECT_EQ(readBytes(dir / "MyArea_A.bgl"), "A");
  EXPECT_EQ(readBytes(dir / "MyArea_B.bgl"), "B");
  EXPECT_NE(platform.messages.back().text.find("MyArea_B.bgl status: Copied"), std::string::npos);
}

TEST_F(CompilePipelineTest, LocateLoopsStoreThePathsAndCancelPutsThemOff) {
  IniFile fresh(dir / "fresh.cfg");
  ScriptedSplitPlatform p;
  SplitSession s(p, fresh);
  p.openAnswers = {tools / "SCASM.EXE", tools / "Catgen.exe"};
  useScasm(0, 0);
  s.startUp();
  EXPECT_EQ(p.texts(), (std::vector<std::string>{"Please locate Scasm.exe on your system",
                                                 "Please locate Catgen.exe on your system"}));
  ASSERT_EQ(p.openRequests.size(), 2u);
  EXPECT_EQ(p.openRequests[0].title, "Browse to Scasm.exe");
  EXPECT_EQ(p.openRequests[0].fileName, "Scasm.exe");
  EXPECT_EQ(p.openRequests[0].filter, "Scasm.exe |SCASM.EXE");
  EXPECT_EQ(p.openRequests[1].title, "Browse to Catgen.exe");
  EXPECT_EQ(p.openRequests[1].filter, "Catgen.exe |CATGEN.EXE");
  EXPECT_EQ(s.scasmPath, tools / "SCASM.EXE");
  EXPECT_EQ(IniFile(dir / "fresh.cfg").readString("Paths", "Catgen"), tools / "Catgen.exe");

  // Known paths: no question at all.
  ScriptedSplitPlatform quiet;
  SplitSession again(quiet, fresh);
  again.startUp();
  EXPECT_TRUE(quiet.messages.empty());
  EXPECT_EQ(again.catgenPath, tools / "Catgen.exe");

  // Cancel in a locate dialog leaves the path empty; Catgen is not asked for without Scasm.
  IniFile empty(dir / "empty.cfg");
  ScriptedSplitPlatform cancel;
  SplitSession third(cancel, empty);
  third.startUp();
  EXPECT_EQ(cancel.openRequests.size(), 1u);
  EXPECT_TRUE(third.scasmPath.empty());
  EXPECT_TRUE(third.catgenPath.empty());

  // Compile asks again and, cancelled once more, runs nothing and saves nothing.
  cancel.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
  ASSERT_TRUE(third.SplitSource(testData("builder_two_chunks.sca"), tools / "Late.sca"));
  cancel.messages.clear();
  third.pipeline().RunCompile();
  EXPECT_TRUE(third.pipeline().aborted());
  EXPECT_EQ(cancel.texts(), std::vector<std::string>{"Please locate Scasm.exe on your system"});
  EXPECT_FALSE(FileText::fileExists(tools / "Late_A.sca"));
  EXPECT_TRUE(cancel.runs.empty());
}

TEST_F(CompilePipelineTest, CodesThatAreNotScasmsReportNameTheCodeTheLogAndWinesLines) {
  const std::string log = dir / "SCAERROR.LOG";
  const std::string crash =
      "wine: Unhandled page fault on write access to 0000000000000000 at address 0000000140001550 (thread 0024), "
      "starting debugger...";
  struct Case {
    const char* name;
    std::string body;  // the stand-in Scasm
    std::string message;
    bool resultsShown;
  };
  const Case cases[] = {
      {"syntax errors without a log", "exit 1\n", "SCASM ended with exit code 1; it left no SCAERROR.LOG", false},
      {"too many without a log", "exit 4\n", "SCASM ended with exit code 4; it left no SCAERROR.LOG", false},
      {"a crash handed on as 5", "echo '0024:fixme:a:b' >&2\necho '" + crash + "' >&2\nexit 5\n",
       "SCASM ended with exit code 5; it left no SCAERROR.LOG\rWine said:\r" + crash, false},
      {"wine's error with a log", "echo 'log' > SCAERROR.LOG\necho '" + crash + "' >&2\nexit 1\n",
       "SCASM ended with exit code 1; see " + log + "\rWine said:\r" + crash, true},
      {"a missing library", "echo '0024:err:module:import_dll Library foo.dll not found' >&2\nexit 53\n",
       "SCASM ended with exit code 53; it left no SCAERROR.LOG\rWine said:\r0024:err:module:import_dll Library "
       "foo.dll not found",
       false},
      {"outside the table, with a log", "echo 'log' > SCAERROR.LOG\nexit 200\n",
       "SCASM ended with exit code 200; see " + log, true},
      {"killed by a signal", "kill -SEGV $$\n", "SCASM ended by signal 11; it left no SCAERROR.LOG", false},
  };
  for (const Case& c : cases) {
    writeScript(session.scasmPath, c.body);
    platform.messages.clear();
    platform.results.clear();
    platform.catgenLabels.clear();
    session.pipeline().RunCompile();
    EXPECT_TRUE(session.pipeline().aborted()) << c.name;
    ASSERT_EQ(platform.messages.size(), 1u) << c.name;
    EXPECT_EQ(platform.messages[0].text, c.message) << c.name;
    EXPECT_EQ(platform.messages[0].type, MessageType::Error) << c.name;
    EXPECT_EQ(platform.results.size(), c.resultsShown ? 1u : 0u) << c.name;
    if (c.resultsShown) {
      EXPECT_FALSE(platform.results[0].continueEnabled) << c.name;
    }
    EXPECT_TRUE(platform.catgenLabels.empty()) << c.name;
  }
  // A crash that still ends with 0 after writing its BGL is no success.
  writeScript(session.scasmPath, "printf BGL > \"${1%.sca}.bgl\"\necho '" + crash + "' >&2\nexit 0\n");
  platform.messages.clear();
  platform.results.clear();
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  EXPECT_EQ(platform.texts(),
            std::vector<std::string>{"SCASM ended with exit code 0; it left no SCAERROR.LOG\rWine said:\r" + crash});
  EXPECT_TRUE(platform.results.empty());
    // A file init error needs no log: the table's text, as before.
  writeScript(session.scasmPath, "exit 2\n");
  platform.messages.clear();
  session.pipeline().RunCompile();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text.rfind("Scasm: \"file init error\" reported", 0), 0u);
}

TEST_F(CompilePipelineTest, SuccessWithoutAFreshBglIsAFailure) {
  const std::string bglA = dir / "MyArea_A.bgl";
  struct Case {
    const char* name;
    std::string body;
    bool oldBgl;  // a BGL of an earlier run lies there
    std::string message;
  };
  const Case cases[] = {
      {"exit 0, nothing written", "exit 0\n", false, "SCASM ended without writing " + bglA},
      {"exit 3, nothing written", "exit 3\n", false, "SCASM ended without writing " + bglA},
      {"an old BGL left as it was", "exit 0\n", true, "SCASM ended without writing " + bglA},
      {"with wine's explanation", "echo 'wine: Bad EXE format for Z:\\SCASM.EXE.' >&2\nexit 0\n", false,
       "SCASM ended without writing " + bglA + "\rWine said:\rwine: Bad EXE format for Z:\\SCASM.EXE."},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(bglA);
    if (c.oldBgl) writeBytes(bglA, "old BGL");
    writeScript(session.scasmPath, c.body);
    platform.messages.clear();
    platform.results.clear();
    platform.catgenLabels.clear();
    session.pipeline().RunCompile();
    EXPECT_TRUE(session.pipeline().aborted()) << c.name;
    EXPECT_EQ(platform.texts(), std::vector<std::string>{c.message}) << c.name;
    EXPECT_TRUE(platform.results.empty()) << c.name;  // no results box, no Catgen
    EXPECT_TRUE(platform.catgenLabels.empty()) << c.name;
  }
  // An old BGL written over counts, even with the same size.
  writeBytes(bglA, "BGL " + dir / "MyArea_A.sca");
  std::filesystem::last_write_time(bglA, std::filesystem::last_write_time(bglA) - std::chrono::hours(1));
  useScasm(0, 0);
  platform.messages.clear();
  session.pipeline().RunCompile();
  EXPECT_FALSE(session.pipeline().aborted());
  EXPECT_EQ(platform.catgenLabels.size(), 1u);
}

TEST_F(CompilePipelineTest, StopEndsScasmAndThePipeline) {
  writeScript(session.scasmPath, "echo > '" + tools / "running" + "'\nexec sleep 600\n");
  platform.stopAnswer = [&] { return FileText::fileExists(tools / "running"); };
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  EXPECT_EQ(platform.texts(), std::vector<std::string>{"SCASM was stopped."});
  ASSERT_EQ(platform.runResults.size(), 1u);
  EXPECT_TRUE(platform.runResults[0].stopped);
  EXPECT_FALSE(platform.runResults[0].timedOut);  // the stop, not the test's limit
  EXPECT_TRUE(platform.catgenLabels.empty());
  EXPECT_GT(platform.idleCalls, 0);
  EXPECT_EQ(platform.runs[0].title, "SCASM");
}

TEST_F(CompilePipelineTest, AScasmWaitingForAKeyEndsAtOnce) {
  // Reads a key before it writes the BGL, and writes it only at the end of its input.
  writeScript(session.scasmPath, "if read key; then exit 9; fi\nprintf BGL > \"${1%.sca}.bgl\"\nexit 3\n");
  session.pipeline().RunCompile();
  EXPECT_FALSE(session.pipeline().aborted());
  for (const auto& r : platform.runResults) EXPECT_FALSE(r.stopped);
  EXPECT_EQ(platform.runResults.size(), 2u);
}

namespace {

/// A fake wine on PATH: runs nothing, but does what a Windows Scasm would (writes the BGL
/// beside the source) and records each Scasm run.
class FakeWineTest : public CompilePipelineTest {
protected:
  SplitTestDir bin;
  std::unique_ptr<EnvGuard> path, prefix;

  void SetUp() override {
    CompilePipelineTest::SetUp();
    // Only Scasm's runs are recorded: a Catgen started without waiting may run late.
    writeScript(bin / "wine", "case \"$1\" in *SCASM*) echo \"$1\" >> '" + tools / "scasm-calls" +
                                  "'; printf BGL > \"${2%.sca}.bgl\";; esac\nexit 0\n");
    path = std::make_unique<EnvGuard>("PATH", bin / "");
    prefix = std::make_unique<EnvGuard>("WINEPREFIX", tools / "prefix");
    windowsProgram(session.scasmPath, 0x8664);
    windowsProgram(session.catgenPath, 0x8664);
    session.pipeline().setSystemRoot(tools / "root");
  }
  void TearDown() override {
    path.reset();
    prefix.reset();
  }
  static void windowsProgram(const std::string& file, std::uint16_t machine) {
    writeBytes(file, peBytes(machine));
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
  }
  /// A wine install of the 64-bit part only, or of both, under the fake root.
  void wineParts(bool with32) {
    for (const char* part : {"x86_64-windows", "i386-windows"}) {
      if (std::string(part) == "i386-windows" && !with32) continue;
      const std::string folder = tools / (std::string("root/usr/lib/x86_64-linux-gnu/wine/") + part);
      std::filesystem::create_directories(folder);
      writeBytes(folder + "/ntdll.dll", "dll");
    }
  }
};

}  // namespace

TEST_F(FakeWineTest, FirstStartIsAnnouncedAndCatgenIsShownTheWindowsFolder) {
  platform.answers = {MessageAnswer::No};
  session.pipeline().RunCompile();
  EXPECT_FALSE(session.pipeline().aborted());
  ASSERT_EQ(platform.runs.size(), 3u);
  const std::string note =
      "Wine is preparing its folder " + tools / "prefix" + " for the first time; this can take a few seconds.";
  EXPECT_EQ(platform.runs[0].note, note);
  EXPECT_EQ(platform.runs[2].note, note);  // the fake never makes the folder
  std::filesystem::create_directory(tools / "prefix");
  platform.runs.clear();
  platform.catgenLabels.clear();
  session.pipeline().RunCompile();
  ASSERT_EQ(platform.runs.size(), 3u);
  EXPECT_EQ(platform.runs[0].note, "");
  ASSERT_EQ(platform.catgenLabels.size(), 1u);
  const std::string d = dir.withSlash();
  EXPECT_EQ(platform.catgenLabels[0][1],
            "Click \"NEW\" and navigate to: " + WineSetup::driveZForm(d) + "\n(the Linux folder " + d + ")");
}

TEST_F(FakeWineTest, A32BitProgramIsRefusedOnlyWhenWineLacksItsPart) {
  windowsProgram(session.scasmPath, 0x014C);
  const std::string refusal = WineSetup::missing32BitText("SCASM.EXE", "\r");
  // Unknown layout: it runs.
  session.pipeline().RunCompile();
  EXPECT_FALSE(session.pipeline().aborted());
  wineParts(false);
  platform.messages.clear();
  std::filesystem::remove(tools / "scasm-calls");
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  EXPECT_EQ(platform.texts(), std::vector<std::string>{refusal});
  EXPECT_EQ(platform.messages[0].type, MessageType::Error);
  EXPECT_FALSE(FileText::fileExists(tools / "scasm-calls"));  // nothing ran
  // A 32-bit Catgen after a 64-bit Scasm: refused before the instructions.
  windowsProgram(session.scasmPath, 0x8664);
  windowsProgram(session.catgenPath, 0x014C);
  platform.messages.clear();
  platform.catgenLabels.clear();
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  EXPECT_EQ(platform.texts(), std::vector<std::string>{WineSetup::missing32BitText("Catgen.exe", "\r")});
  EXPECT_TRUE(platform.catgenLabels.empty());
  // With both parts it runs.
  wineParts(true);
  platform.messages.clear();
  platform.answers = {MessageAnswer::No};
  session.pipeline().RunCompile();
  EXPECT_FALSE(session.pipeline().aborted());
}

TEST_F(FakeWineTest, ANonAsciiFolderIsNamedBeforeCompiling) {
  SplitTestDir parent;
  const std::string folder = parent / "Z\xC3\xBCrich";
  std::filesystem::create_directory(folder);
  platform.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
  ASSERT_TRUE(session.SplitSource(testData("builder_two_chunks.sca"), folder + "/Field.sca"));
  const std::string text = CompilePipeline::nonAsciiFolderText(folder + "/", "Field");
  EXPECT_NE(text.find("The output folder " + folder + "/ has characters outside plain ASCII"), std::string::npos);

  platform.messages.clear();
  platform.runs.clear();
  platform.answers = {MessageAnswer::No};
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  ASSERT_EQ(platform.texts(), std::vector<std::string>{text});
  EXPECT_EQ(platform.messages[0].type, MessageType::Warning);
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(platform.runs.empty());

  platform.messages.clear();
  platform.answers = {MessageAnswer::Yes, MessageAnswer::No};
  session.pipeline().RunCompile();
  EXPECT_FALSE(session.pipeline().aborted());
  EXPECT_EQ(platform.runs.size(), 3u);

  // The base name is in the Include lines too.
  platform.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
  ASSERT_TRUE(session.SplitSource(testData("builder_two_chunks.sca"), dir / "Gr\xC3\xBCn.sca"));
  platform.messages.clear();
  platform.answers = {MessageAnswer::No};
  session.pipeline().RunCompile();
  EXPECT_TRUE(session.pipeline().aborted());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text.rfind("The name Gr\xC3\xBCn has characters outside plain ASCII.\r\r", 0), 0u);

    // A native Scasm reads the lines as they are written: no question.
  writeScript(session.scasmPath, "printf BGL > \"${1%.sca}.bgl\"\n");
  platform.messages.clear();
  platform.answers = {MessageAnswer::No};
  session.pipeline().RunCompile();
  EXPECT_EQ(platform.texts(), std::vector<std::string>{"Move Bgl files to your Orvane scenery directory?\r"});
}
