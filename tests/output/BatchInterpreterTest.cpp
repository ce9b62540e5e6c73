#include <filesystem>
#include <gtest/gtest.h>

#include "output/BatchInterpreter.h"
#include "support/TempDir.h"
#include "OutputTestProject.h"

namespace fs = std::filesystem;

namespace {

void makeExecutable(const TempDir& dir, const std::string& name, const std::string& text)
{
    dir.write(name, text);
    fs::permissions(dir.file(name), fs::perms::owner_all, fs::perm_options::add);
}

struct BatchRun {
    int result = 0;
    std::string output;
    int pauses = 0;
};

BatchRun run(const TempDir& dir, const std::string& batchText, const std::string& batchName = "t.bat")
{
    dir.write(batchName, batchText);
    BatchRun r;
    BatchCallbacks callbacks;
    callbacks.output = [&](const std::string& text) { r.output += text; };
    callbacks.pause = [&] { ++r.pauses; };
    r.result = interpretBatchFile(dir.file(batchName), dir.str(), callbacks);
    return r;
}

TEST(BatchInterpreter, RunsProgramLinesInTheWorkFolderAndWaitsAtPause)
{
    TempDir dir;
    makeExecutable(dir, "Tool.EXE", "#!/bin/sh\necho \"args $# $1 $2\"\npwd\nexit 3\n");
    const BatchRun r = run(dir, "@echo off\r\nrem a comment\r\ntool one \"two words\"\r\necho done\r\npause\r\n");
    EXPECT_EQ(r.result, 3);
    EXPECT_EQ(r.pauses, 1);
    EXPECT_EQ(r.output, "args 2 one two words\n" + fs::canonical(dir.path()).string() +
                            "\ndone\nPress any key to continue . . . \n");
}

TEST(BatchInterpreter, EchoesLinesUntilEchoIsOff)
{
    TempDir dir;
    const BatchRun r = run(dir, "echo hello\necho\n@echo off\necho quiet\n");
    EXPECT_EQ(r.output, dir.str() + ">echo hello\nhello\n" + dir.str() + ">echo\nECHO is on.\nquiet\n");
    EXPECT_EQ(r.result, 0);
}

TEST(BatchInterpreter, SaysClearlyWhatCannotBeStarted)
{
    TempDir dir;
    TempDir emptyPath;
    ScopedEnv path{"PATH", emptyPath.str().c_str()};
    dir.write("win.exe", std::string("MZ\x90\0\3\0\0\0", 8));
    fs::permissions(dir.file("win.exe"), fs::perms::owner_all, fs::perm_options::add);
    dir.write("noexec.sh", "#!/bin/sh\necho never\n");

    BatchRun r = run(dir, "@echo off\r\nwin a b\r\n");
    EXPECT_LT(r.result, 0);
    EXPECT_NE(r.output.find("Cannot start win.exe: it is a Windows program and wine"), std::string::npos) << r.output;

    r = run(dir, "@echo off\r\nmissing\r\npause\r\n");
    EXPECT_LT(r.result, 0);
    EXPECT_EQ(r.pauses, 1);   // the user still gets to read the message
    EXPECT_NE(r.output.find("'missing' is not recognized"), std::string::npos);

    r = run(dir, "@echo off\r\nnoexec.sh\r\n");
    EXPECT_LT(r.result, 0);
    EXPECT_NE(r.output.find("not executable"), std::string::npos);

    BatchCallbacks none;
    EXPECT_LT(interpretBatchFile(dir.file("absent.bat"), dir.str(), none), 0);
}

TEST(BatchInterpreter, StartsWindowsProgramsThroughWine)
{
    TempDir dir;
    TempDir bin;
    makeExecutable(bin, "wine", "#!/bin/sh\necho \"wine runs $1 with $2\"\n");
    ScopedEnv path{"PATH", (bin.str() + ":/usr/bin:/bin").c_str()};
    dir.write("scasm.exe", std::string("MZ\0\0", 4));
    const BatchRun r = run(dir, "@echo off\r\nscasm lake.sca\r\n");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.output, "wine runs " + dir.file("scasm.exe") + " with lake.sca\n");
}

TEST(BatchInterpreter, NativeProgramsComeFromThePathAndBatchFilesTakeOver)
{
    TempDir dir;
    dir.write("inner.bat", "@echo off\r\necho inner\r\n");
    const BatchRun r = run(dir, "@echo off\r\nsh -c \"echo from sh\"\r\ninner\r\necho not reached\r\n");
    EXPECT_EQ(r.output, "from sh\ninner\n");
}

} // namespace

namespace {

// Batch files that hand over to themselves or to each other end with a message instead of
// exhausting the stack; a long but finite chain still runs to its end.
TEST(BatchInterpreter, HandOversLoopWithALimitInsteadOfRecursing)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;
        const char* start;
    };
    const std::vector<Case> cases = {
        {"names itself", {{"run.bat", "run\r\n"}}, "run.bat"},
        {"two in a ring", {{"a.bat", "@echo off\r\nb\r\n"}, {"b.bat", "a\r\n"}}, "a.bat"},
        {"three in a ring", {{"a.bat", "b\r\n"}, {"b.bat", "c.bat\r\n"}, {"c.bat", "A\r\n"}}, "a.bat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        for (const auto& [name, text] : c.files)
            dir.write(name, text);
        std::string output;
        BatchCallbacks callbacks;
        callbacks.output = [&](const std::string& text) { output += text; };
        EXPECT_LT(interpretBatchFile(dir.file(c.start), dir.str(), callbacks), 0);
        EXPECT_NE(output.find("handed over to one another " + std::to_string(kMaxBatchHandOvers) + " times"),
                  std::string::npos)
            << output.substr(output.size() > 400 ? output.size() - 400 : 0);
    }

    // A chain as long as the limit allows ends normally with its last file's result.
    TempDir dir;
    for (int i = 0; i < kMaxBatchHandOvers; ++i)
        dir.write("s" + std::to_string(i) + ".bat", "@s" + std::to_string(i + 1) + "\r\n");
    makeExecutable(dir, "last", "#!/bin/sh\nexit 4\n");
    dir.write("s" + std::to_string(kMaxBatchHandOvers) + ".bat", "@last\r\n");
    BatchCallbacks none;
    EXPECT_EQ(interpretBatchFile(dir.file("s0.bat"), dir.str(), none), 4);
}

// A batch file that is not a regular file, or far too large, is refused before it is read.
TEST(BatchInterpreter, ReadsOnlyRegularFilesOfABatchFileSize)
{
    TempDir dir;
    std::string output;
    BatchCallbacks callbacks;
    callbacks.output = [&](const std::string& text) { output += text; };
    EXPECT_LT(interpretBatchFile("/dev/zero", dir.str(), callbacks), 0);
    EXPECT_NE(output.find("not a regular file"), std::string::npos) << output;
}

} // namespace
