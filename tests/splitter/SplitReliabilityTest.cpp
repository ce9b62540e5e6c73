// Faults a split must survive: saves that fail half-way, hostile and oversized files, and
// the memory a source of many lines costs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "FileText.h"
#include "IniFile.h"
#include "ScriptedSplitPlatform.h"
#include "SplitSession.h"
#include "SplitTestFiles.h"
#include "TextLines.h"
#include "cli/OvsplitCli.h"

namespace fs = std::filesystem;

namespace {

const char* const kSuffixes[] = {"_A.sca", "_B.sca", "_C.scm", "_D.scm", "_Compile.doc"};

class SplitSaveFaults : public ::testing::Test {
protected:
  SplitTestDir dir;
  IniFile config;
  ScriptedSplitPlatform platform;
  SplitSession session{platform, config};

  void SetUp() override {
    platform.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
    ASSERT_TRUE(session.SplitSource(testData("builder_two_chunks.sca"), dir / "Area.sca"));
    for (const char* s : kSuffixes) writeBytes(dir / (std::string("Area") + s), std::string("old ") + s);
    platform.messages.clear();
  }
  void expectOldFilesAndNoTemporaries() {
    for (const char* s : kSuffixes) EXPECT_EQ(readBytes(dir / (std::string("Area") + s)), std::string("old ") + s);
    for (const auto& entry : fs::directory_iterator(dir / ""))
      EXPECT_EQ(entry.path().string().find(".ovsplit-"), std::string::npos) << entry.path();
  }
};

}  // namespace

// A save either replaces all five documents or none: a fault on any one keeps all old files.
TEST_F(SplitSaveFaults, AFailureOnAnyDocumentKeepsAllFiveAsTheyWere) {
  for (const char* blocked : kSuffixes) {
    SCOPED_TRACE(blocked);
    // The temporary file of one document cannot be made (its name is taken by a folder).
    const std::string temp = dir / (std::string("Area") + blocked + ".ovsplit-tmp");
    fs::create_directory(temp);
    EXPECT_FALSE(session.SaveDocuments());
    fs::remove(temp);
    expectOldFilesAndNoTemporaries();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].type, MessageType::Error);
    EXPECT_NE(platform.messages[0].text.find("none of them was changed"), std::string::npos);
    EXPECT_NE(platform.messages[0].text.find(std::string("Area") + blocked), std::string::npos);
    platform.messages.clear();
  }
}

TEST_F(SplitSaveFaults, ATargetThatCannotBeReplacedKeepsTheOthers) {
  fs::remove(dir / "Area_D.scm");
  fs::create_directory(dir / "Area_D.scm");
  EXPECT_FALSE(session.SaveDocuments());
  for (const char* s : {"_A.sca", "_B.sca", "_C.scm", "_Compile.doc"})
    EXPECT_EQ(readBytes(dir / (std::string("Area") + s)), std::string("old ") + s);
  EXPECT_TRUE(fs::is_directory(dir / "Area_D.scm"));

  fs::remove(dir / "Area_D.scm");
  EXPECT_TRUE(session.SaveDocuments());
  for (const char* s : kSuffixes) EXPECT_NE(readBytes(dir / (std::string("Area") + s)).substr(0, 4), "old ");
  for (const auto& entry : fs::directory_iterator(dir / ""))
    EXPECT_EQ(entry.path().string().find(".ovsplit-"), std::string::npos) << entry.path();
}

TEST(TextLines, SplitsLikeTheLineReaderAndWritesCrLf) {
  const std::vector<std::string> texts = {"", "a", "a\r\nb\nc\rd", "a\r\n", "a\r\n\r\n", "\r\n", "\n\n\n",
                                          "\r\r\n", "x\ry\r", "\r"};
  for (const std::string& text : texts) {
    const TextLines lines = TextLines::fromText(text);
    EXPECT_EQ(lines.toVector(), FileText::splitLines(text)) << text;
    EXPECT_EQ(TextLines::countLines(text), lines.size()) << text;
    EXPECT_EQ(TextLines::fromText(lines.crLfText()), lines) << text;
  }
  TextLines built;
  built.push_back("");
  built.push_back("one");
  built.push_back("cut\r\nhere");
  EXPECT_EQ(built.toVector(), (std::vector<std::string>{"", "one", "cut"}));
  EXPECT_EQ(built.crLfText(), "\r\none\r\ncut\r\n");
  EXPECT_EQ(built.joined(), "\none\ncut");
}

// One string per line cost about fifty times a file of short lines; the text is now held once.
TEST(TextLines, ASourceOfEmptyLinesCostsAFewTimesItsSize) {
  const std::size_t lines = 2'000'000;
  const TextLines text = TextLines::fromText(std::string(lines, '\n'));
  ASSERT_EQ(text.size(), lines);
  // The buffer holds the line breaks; the offsets take four bytes a line.
  EXPECT_LE(text.joined().capacity(), lines + 64);
  EXPECT_EQ(text[lines - 1], "");
}

TEST(SplitReadLimits, OversizedAndNonRegularSourcesAreRefusedBeforeReading) {
  SplitTestDir dir;
  // A sparse file: its size is over the limit without taking the disk space.
  {
    std::ofstream(dir / "huge.sca") << "x";
  }
  fs::resize_file(dir / "huge.sca", FileText::kMaxSourceBytes + 1);
  writeBytes(dir / "lines.sca", std::string(FileText::kMaxSourceLines + 1, '\n'));
  ASSERT_EQ(::mkfifo((dir / "fifo.sca").c_str(), 0600), 0);

  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {{dir / "huge.sca", "The file is too large (more than 64 MB)."},
                        {dir / "lines.sca", "The file has too many lines (more than 4000000)."},
                        {dir / "fifo.sca", "The file does not exist or is not a file."},
                        {"/dev/zero", "The file does not exist or is not a file."},
                        {dir / "", "The file does not exist or is not a file."}};
  for (const Case& c : cases) {
    IniFile config;
    ScriptedSplitPlatform platform;
    SplitSession session(platform, config);
    session.docs[SplitSession::DocumentA] = {"kept"};
    EXPECT_FALSE(session.SplitSource(c.path, dir / "Out.sca")) << c.path;
    ASSERT_EQ(platform.messages.size(), 1u) << c.path;
    EXPECT_EQ(platform.messages[0].text, "Could not read the source file\r\r" + c.path + "\r\r" + c.reason);
    EXPECT_EQ(session.docs[SplitSession::DocumentA].toVector(), std::vector<std::string>{"kept"});
  }
}

TEST(SplitReadLimits, AConfigurationOverItsLimitIsNeitherReadNorWrittenOver) {
  SplitTestDir dir;
  const std::string big = "[Recent]\r\nObjectName=Big\r\n" + std::string(FileText::kMaxConfigBytes, ';');
  writeBytes(dir / "OVSPLIT.cfg", big);
  IniFile config(dir / "OVSPLIT.cfg");
  EXPECT_NE(config.loadError().find("too large"), std::string::npos);
  EXPECT_EQ(config.readString("Recent", "ObjectName"), "");
  config.writeString("Recent", "Saved", "x");
  EXPECT_EQ(readBytes(dir / "OVSPLIT.cfg"), big);
}

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

}  // namespace

TEST(OvsplitCliFaults, AFolderAsSaveNameOrAnUnreadableRunwayIsAFailure) {
  SplitTestDir dir;
  fs::create_directory(dir / "out");
  writeBytes(dir / "big.rwy", "[Runway]\r\nID=9\r\n" + std::string(FileText::kMaxRunwayBytes, ' '));
  const std::vector<std::vector<std::string>> failures = {
      {"split", testData("builder_two_chunks.sca"), dir / ""},
      {"split", testData("builder_two_chunks.sca"), dir / "out"},
      {"split", testData("builder_two_chunks.sca"), dir / "A.sca", "--runway", dir / "big.rwy"},
      {"split", testData("builder_two_chunks.sca"), dir / "A.sca", "--runway", "/dev/zero"},
      {"split", testData("builder_two_chunks.sca"), dir / "A.sca", "--config", dir / "out"},
      {"split", "/dev/zero", dir / "A.sca"}};
  for (const auto& args : failures) {
    const CliRun r = cli(args);
    EXPECT_EQ(r.code, 1) << args[2] << " " << args.back() << "\n" << r.err;
    EXPECT_EQ(r.err.find("Usage:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("error:"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(FileText::fileExists(dir / "A_A.sca"));
  EXPECT_FALSE(FileText::fileExists(dir / "out_A.sca"));
}
