#include <algorithm>
#include <cstdint>
#include <memory>
#include <filesystem>
#include <gtest/gtest.h>

#include "output/BatchInterpreter.h"
#include "support/TempDir.h"
#include "OutputTestProject.h"
#include "output/WineSupport.h"

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
    r.result = interpretBatchFile(dir.file(batchName), dir.str(), callbacks).exitCode;
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
    EXPECT_LT(interpretBatchFile(dir.file("absent.bat"), dir.str(), none).exitCode, 0);
}

TEST(BatchInterpreter, StartsWindowsProgramsThroughWine)
{
    TempDir dir;
    TempDir bin;
    TempDir prefix;   // an existing prefix: no note about preparing one
    ScopedEnv winePrefix{"WINEPREFIX", prefix.str().c_str()};
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
        EXPECT_LT(interpretBatchFile(dir.file(c.start), dir.str(), callbacks).exitCode, 0);
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
    EXPECT_EQ(interpretBatchFile(dir.file("s0.bat"), dir.str(), none).exitCode, 4);
}

// A batch file that is not a regular file, or far too large, is refused before it is read.
TEST(BatchInterpreter, ReadsOnlyRegularFilesOfABatchFileSize)
{
    TempDir dir;
    std::string output;
    BatchCallbacks callbacks;
    callbacks.output = [&](const std::string& text) { output += text; };
    EXPECT_LT(interpretBatchFile("/dev/zero", dir.str(), callbacks).exitCode, 0);
    EXPECT_NE(output.find("not a regular file"), std::string::npos) << output;
}

} // namespace

namespace {

/// A folder on the PATH holding a stand-in "wine" with the given script body.
struct FakeWine {
    TempDir bin;
    std::unique_ptr<ScopedEnv> path;
    explicit FakeWine(const std::string& body)
    {
        makeExecutable(bin, "wine", "#!/bin/sh\n" + body);
        path = std::make_unique<ScopedEnv>("PATH", (bin.str() + ":/usr/bin:/bin").c_str());
    }
};

std::string peProgram(std::uint16_t machine)
{
    std::string b(0x100, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = static_cast<char>(0x80);
    b.replace(0x80, 4, std::string("PE\0\0", 4));
    b[0x84] = static_cast<char>(machine & 0xFF);
    b[0x85] = static_cast<char>(machine >> 8);
    return b;
}

TEST(BatchInterpreter, WindowsProgramsGetNoInputAndWinesDllOverrides)
{
    TempDir dir;
    TempDir prefix;
    ScopedEnv winePrefix{"WINEPREFIX", prefix.str().c_str()};
    FakeWine wine("if read line; then echo \"read $line\"; else echo 'no input'; fi\n"
                  "echo \"overrides=$WINEDLLOVERRIDES\"\n");
    dir.write("scasm.exe", peProgram(0x8664));
    {
        ScopedEnv overrides{"WINEDLLOVERRIDES", nullptr};
        const BatchRun r = run(dir, "@echo off\r\nscasm\r\n");
        EXPECT_EQ(r.output, "no input\noverrides=mscoree,mshtml=\n");
    }
    // The user's own setting stays as it is.
    ScopedEnv overrides{"WINEDLLOVERRIDES", "d3d9=n"};
    EXPECT_EQ(run(dir, "@echo off\r\nscasm\r\n").output, "no input\noverrides=d3d9=n\n");
}

TEST(BatchInterpreter, WinesOwnLinesAreKeptApartAndItsFixmeLinesDropped)
{
    TempDir dir;
    TempDir prefix;
    ScopedEnv winePrefix{"WINEPREFIX", prefix.str().c_str()};
    FakeWine wine("echo 'it looks like wine32 is missing, you should install it.' >&2\n"
                  "echo 'multiarch needs to be enabled first.  as root, please' >&2\n"
                  "echo 'execute \"dpkg --add-architecture i386 && apt-get update &&' >&2\n"
                  "echo 'apt-get install wine32:i386\"' >&2\n"
                  "echo 'SCASM 2.0 starting'\n"
                  "echo '0024:fixme:heap:RtlSetHeapInformation stub' >&2\n"
                  "echo '0024:err:module:import_dll Library x.dll (which is needed by y) not found' >&2\n"
                  "printf 'wine: Unhandled page fault'\n"
                  "exit 5\n");
    const std::vector<std::string> hint = {
        "it looks like wine32 is missing, you should install it.",
        "multiarch needs to be enabled first.  as root, please",
        "execute \"dpkg --add-architecture i386 && apt-get update &&", "apt-get install wine32:i386\""};
    const std::vector<std::string> own = {"0024:err:module:import_dll Library x.dll (which is needed by y) not found",
                                          "wine: Unhandled page fault"};
    const struct {
        const char* name;
        std::string bytes;
        bool keepsHint;
    } programs[] = {
        {"64-bit: the hint about 32-bit programs explains nothing", peProgram(0x8664), false},
        {"unknown bitness", std::string("MZ\0\0", 4), true},
    };
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        dir.write("scasm.exe", p.bytes);
        std::string output;
        BatchCallbacks callbacks;
        callbacks.output = [&](const std::string& text) { output += text; };
        dir.write("t.bat", "@echo off\r\nscasm\r\n");
        const BatchRunResult r = interpretBatchFile(dir.file("t.bat"), dir.str(), callbacks);
        EXPECT_EQ(r.exitCode, 5);
        std::vector<std::string> expected = p.keepsHint ? hint : std::vector<std::string>{};
        expected.insert(expected.end(), own.begin(), own.end());
        EXPECT_EQ(r.wineLines, expected);
        EXPECT_EQ(output.find("fixme"), std::string::npos) << output;
        EXPECT_NE(output.find("SCASM 2.0 starting\n"), std::string::npos) << output;
        EXPECT_NE(output.find("wine: Unhandled page fault"), std::string::npos) << output;
    }
}

TEST(BatchInterpreter, A32BitProgramIsRefusedOnAWineWithoutIts32BitPart)
{
    TempDir dir;
    TempDir prefix;
    ScopedEnv winePrefix{"WINEPREFIX", prefix.str().c_str()};
    FakeWine wine("echo ran > ran.txt\n");
    const struct {
        const char* name;
        std::vector<std::string> parts;
        std::uint16_t machine;
        bool runs;
    } cases[] = {
        {"32-bit on 64-bit-only wine", {"x86_64-windows"}, 0x014C, false},
        {"32-bit with both parts", {"x86_64-windows", "i386-windows"}, 0x014C, true},
        {"64-bit on 64-bit-only wine", {"x86_64-windows"}, 0x8664, true},
        {"32-bit on an unknown layout", {}, 0x014C, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir root;
        for (const std::string& part : c.parts) {
            fs::create_directories(root.path() / "usr/lib/x86_64-linux-gnu/wine" / part);
            root.write("usr/lib/x86_64-linux-gnu/wine/" + part + "/ntdll.dll", "x");
        }
        dir.write("Scasm.exe", peProgram(c.machine));
        fs::remove(dir.file("ran.txt"));
        std::string output;
        BatchCallbacks callbacks;
        callbacks.output = [&](const std::string& text) { output += text; };
        callbacks.systemRoot = root.str();
        dir.write("t.bat", "@echo off\r\nscasm a.sca a.bgl\r\n");
        const BatchRunResult r = interpretBatchFile(dir.file("t.bat"), dir.str(), callbacks);
        EXPECT_EQ(fs::exists(dir.file("ran.txt")), c.runs);
        if (c.runs) {
            EXPECT_EQ(r.exitCode, 0);
            EXPECT_TRUE(r.refusal.empty());
        } else {
            EXPECT_LT(r.exitCode, 0);
            EXPECT_EQ(r.refusal, wine32MissingMessage("Scasm.exe"));
            EXPECT_EQ(output, r.refusal + "\n");
        }
    }
}

TEST(BatchInterpreter, TellsOnceThatWineIsPreparingItsFolder)
{
    TempDir dir;
    TempDir home;
    ScopedEnv winePrefix{"WINEPREFIX", home.file("fresh-prefix").c_str()};
    FakeWine wine("echo ran\n");
    dir.write("scasm.exe", peProgram(0x8664));
    forgetWinePreparingNote();
    std::vector<std::string> notes;
    BatchCallbacks callbacks;
    std::string output;
    callbacks.output = [&](const std::string& text) { output += text; };
    callbacks.note = [&](const std::string& text) { notes.push_back(text); };
    dir.write("t.bat", "@echo off\r\nscasm\r\nscasm\r\n");
    interpretBatchFile(dir.file("t.bat"), dir.str(), callbacks);
    interpretBatchFile(dir.file("t.bat"), dir.str(), callbacks);
    EXPECT_EQ(notes, std::vector<std::string>{winePreparingNote(home.file("fresh-prefix"))});
    EXPECT_EQ(output, "ran\nran\nran\nran\n");

    // Without a place for notes it goes to the console; an existing prefix needs no note.
    forgetWinePreparingNote();
    EXPECT_EQ(run(dir, "@echo off\r\nscasm\r\n").output, winePreparingNote(home.file("fresh-prefix")) + "\nran\n");
    forgetWinePreparingNote();
    ScopedEnv existing{"WINEPREFIX", home.str().c_str()};
    EXPECT_EQ(run(dir, "@echo off\r\nscasm\r\n").output, "ran\n");
}

TEST(BatchInterpreter, AMissingWineSaysHowToInstallIt)
{
    TempDir dir;
    TempDir emptyPath;
    ScopedEnv path{"PATH", emptyPath.str().c_str()};
    dir.write("scasm.exe", peProgram(0x014C));
    const BatchRun r = run(dir, "@echo off\r\nscasm\r\n");
    EXPECT_LT(r.result, 0);
    EXPECT_EQ(r.output, "Cannot start scasm.exe: it is a Windows program and wine, which runs Windows programs here, "
                        "was not found on the PATH. Install wine as root (apt-get install wine), or put a native "
                        "build of scasm.exe in " + dir.str() + ".\n");
}

// Stop ends the running program and the rest of the file; one that ignores the request is killed.
TEST(BatchInterpreter, StopEndsTheProgramAndSkipsTheRest)
{
    const struct {
        const char* name;
        const char* script;
        int exitCode;
    } cases[] = {
        {"ends when asked", "#!/bin/sh\necho started\nexec sleep 600\n", 128 + 15},
        {"ignores the request", "#!/bin/sh\ntrap '' TERM\necho started\nwhile :; do sleep 1; done\n", 128 + 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        makeExecutable(dir, "scasm", c.script);
        dir.write("t.bat", "@echo off\r\nscasm\r\necho after\r\npause\r\n");
        std::string output;
        int pauses = 0;
        std::vector<std::string> events;
        BatchCallbacks callbacks;
        callbacks.output = [&](const std::string& text) { output += text; };
        callbacks.pause = [&] { ++pauses; };
        callbacks.programStarted = [&](const std::string& name) { events.push_back("started " + name); };
        callbacks.programEnded = [&] { events.push_back("ended"); };
        callbacks.stopRequested = [&] { return output.find("started") != std::string::npos; };
        const BatchRunResult r = interpretBatchFile(dir.file("t.bat"), dir.str(), callbacks);
        EXPECT_TRUE(r.stopped);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(output, "started\n");
        EXPECT_EQ(pauses, 0);
        EXPECT_EQ(events, (std::vector<std::string>{"started SCASM", "ended"}));
    }
}

// Output without a line end is shown while the program still runs, and never held in full.
TEST(BatchInterpreter, ALongUnfinishedLineIsShownWhileTheProgramRuns)
{
    TempDir dir;
    makeExecutable(dir, "talker", "#!/bin/sh\nhead -c 100000 /dev/zero | tr '\\0' x\nexec sleep 600\n");
    dir.write("t.bat", "@echo off\r\ntalker\r\n");
    std::size_t shown = 0;
    std::size_t largest = 0;
    BatchCallbacks callbacks;
    callbacks.output = [&](const std::string& text) {
        shown += text.size();
        largest = std::max(largest, text.size());
    };
    callbacks.stopRequested = [&] { return shown >= 100000; };
    const BatchRunResult r = interpretBatchFile(dir.file("t.bat"), dir.str(), callbacks);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(shown, 100000u);
    EXPECT_LT(largest, 100000u);
}

TEST(BatchInterpreter, ProgramsAreNamedAsTheUserKnowsThem)
{
    EXPECT_EQ(programDisplayName("/a/scasm.exe"), "SCASM");
    EXPECT_EQ(programDisplayName("/a/Scasm.EXE"), "SCASM");
    EXPECT_EQ(programDisplayName("scasm"), "SCASM");
    EXPECT_EQ(programDisplayName("/a/CATGEN.exe"), "Catgen");
    EXPECT_EQ(programDisplayName("/a/tool.sh"), "tool.sh");
}

} // namespace
