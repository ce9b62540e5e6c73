#include <chrono>
#include <filesystem>
#include <optional>
#include <gtest/gtest.h>

#include "output/BatchInterpreter.h"
#include "output/CompileToBgl.h"
#include "output/SourceCommandFlow.h"
#include "support/TempDir.h"
#include "OutputTestProject.h"

namespace fs = std::filesystem;

namespace {

// A stand-in assembler: checks that it runs in the application folder with the source and the
// BGL name, then makes the BGL from the source's first line (or makes nothing when told).
std::string standInScasm(const std::string& appFolder, bool makesBgl)
{
    return "#!/bin/sh\n"
           "[ \"$#\" = 2 ] || { echo \"wrong argument count $#\"; exit 2; }\n"
           "[ . -ef \"" + appFolder + "\" ] || { echo \"wrong folder\"; exit 3; }\n"
           "[ -f \"$1\" ] || { echo \"no source $1\"; exit 4; }\n" +
           (makesBgl ? std::string("printf 'BGL of %s\\n' \"$1\" > \"$2\"\necho \"compiled $2\"\n")
                     : std::string("echo \"errors in $1\"\nexit 1\n"));
}

class CompileToBglTest : public ::testing::Test {
protected:
    TempDir app;
    TempDir out;
    OutputTestProject p;
    std::vector<std::string> batchTexts;   // sca.bat as it was when run
    std::string console;
    int pauses = 0;

    void SetUp() override
    {
        p.app.settings.applicationPath = app.str();
        p.makeChunks(1, 1);
        p.makeUniformAltitude(5);
        p.platform.batchRunner = [this](const std::string& batch, const std::string& workDir) {
            batchTexts.push_back(app.readText(fs::path(batch).filename().string()));
            BatchCallbacks callbacks;
            callbacks.output = [this](const std::string& text) { console += text; };
            callbacks.pause = [this] { ++pauses; };
            return interpretBatchFile(batch, workDir, callbacks);
        };
    }

    void installScasm(bool makesBgl, const std::string& name = "scasm.exe")
    {
        app.write(name, standInScasm(app.str(), makesBgl));
        fs::permissions(app.file(name), fs::perms::owner_all, fs::perm_options::add);
    }

    std::vector<std::string> filesIn(const TempDir& dir) const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(CompileToBglTest, CompilesAndMovesSourceAndBglIntoTheChosenFolder)
{
    installScasm(true);
    ASSERT_TRUE(compileToBgl(*p.doc, out.file("lake.bgl")).made) << console;
    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"lake.bgl", "lake.sca"}));
    EXPECT_EQ(filesIn(app), (std::vector<std::string>{"scasm.exe"}));
    EXPECT_EQ(out.readText("lake.bgl"), "BGL of lake.sca\n");
    EXPECT_EQ(out.readText("lake.sca").rfind("Copyright( ", 0), 0u);
    EXPECT_EQ(batchTexts, (std::vector<std::string>{"@echo off\r\nscasm lake.sca lake.bgl\r\npause\r\n"}));
    EXPECT_EQ(p.platform.batchRuns, (std::vector<std::string>{app.file("sca.bat")}));
    EXPECT_EQ(console, "compiled lake.bgl\nPress any key to continue . . . \n");
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(p.doc->scasmFileTitle, "lake");
    EXPECT_EQ(p.doc->scasmFolder, out.str());

    // A second compile of the same title replaces both files.
    p.doc->chunks[0].properties.areaRangeKm = 33;
    ASSERT_TRUE(compileToBgl(*p.doc, out.file("lake.bgl")).made);
    EXPECT_NE(out.readText("lake.sca").find("Area(B 45.050000 -73.050000 33)"), std::string::npos);
    EXPECT_EQ(filesIn(app), (std::vector<std::string>{"scasm.exe"}));
}

TEST_F(CompileToBglTest, ALeftoverBatchFileGetsTheNewLinesAppended)
{
    installScasm(true, "SCASM.EXE");   // any letter case
    const std::string old = "@echo off\r\necho earlier run\r\npause\r\n";
    app.write("sca.bat", old);
    ASSERT_TRUE(compileToBgl(*p.doc, out.file("hill.bgl")).made) << console;
    ASSERT_EQ(batchTexts.size(), 1u);
    EXPECT_EQ(batchTexts[0], old + "@echo off\r\nscasm hill.sca hill.bgl\r\npause\r\n");
    EXPECT_EQ(pauses, 2);
    EXPECT_FALSE(fs::exists(app.file("sca.bat")));
    EXPECT_TRUE(fs::exists(out.file("hill.bgl")));
}

TEST_F(CompileToBglTest, MissingScasmShowsTheMessageAndWritesNothing)
{
    p.platform.fileAnswers.push_back(out.file("lake.bgl"));
    EXPECT_FALSE(runCompileCommand(*p.doc));
    ASSERT_EQ(p.platform.messages.size(), 1u);
    // The folder looked in is the one the program was started from, and the message names it.
    EXPECT_EQ(p.platform.messages[0].text,
              "Couldn't find SCASM.EXE. Please make sure it is in the folder Orvane was started from:\n" +
                  p.app.settings.applicationPath);
    EXPECT_EQ(p.platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(p.platform.fileDialogs.empty());
    EXPECT_TRUE(filesIn(app).empty());
    EXPECT_TRUE(filesIn(out).empty());
    EXPECT_TRUE(p.platform.batchRuns.empty());

    // Called directly (the dialog already answered) it stops the same way.
    EXPECT_FALSE(compileToBgl(*p.doc, out.file("lake.bgl")).made);
    EXPECT_EQ(p.platform.messages.size(), 2u);
    EXPECT_TRUE(filesIn(app).empty());
}

TEST_F(CompileToBglTest, NoNewBglKeepsTheOlderOneInTheDestination)
{
    installScasm(false);
    out.write("lake.bgl", "older good BGL");
    app.write("lake.bgl", "stale BGL of an earlier run");
    const CompileResult result = compileToBgl(*p.doc, out.file("lake.bgl"));
    EXPECT_FALSE(result.made);
    EXPECT_EQ(result.failure, "SCASM ended with exit code 1; it left no SCAERROR.LOG");
    ASSERT_EQ(p.platform.messages.size(), 1u);
    EXPECT_EQ(p.platform.messages[0].text, result.failure);
    EXPECT_EQ(p.platform.messages[0].icon, MsgIcon::Stop);
    EXPECT_NE(console.find("errors in lake.sca"), std::string::npos);
    EXPECT_EQ(out.readText("lake.bgl"), "older good BGL");
    EXPECT_EQ(app.readText("lake.bgl"), "stale BGL of an earlier run");
    EXPECT_TRUE(fs::exists(out.file("lake.sca")));
    EXPECT_FALSE(fs::exists(app.file("sca.bat")));
}

TEST_F(CompileToBglTest, TheApplicationFolderAsDestinationKeepsTheFiles)
{
    installScasm(true);
    ASSERT_TRUE(compileToBgl(*p.doc, app.file("lake.bgl")).made);
    EXPECT_EQ(filesIn(app), (std::vector<std::string>{"lake.bgl", "lake.sca", "scasm.exe"}));
}

TEST_F(CompileToBglTest, CommandDialogsAskInTheSceneryOutputFolder)
{
    installScasm(true);
    p.doc->sceneryOutputFolder = out.str();
    p.platform.fileAnswers = {std::nullopt, out.file("pond.bgl")};
    EXPECT_FALSE(runCompileCommand(*p.doc));   // Cancel: nothing happens
    EXPECT_TRUE(p.platform.batchRuns.empty());
    EXPECT_TRUE(p.doc->scasmFileTitle.empty());
    EXPECT_TRUE(runCompileCommand(*p.doc));
    ASSERT_EQ(p.platform.fileDialogs.size(), 2u);
    const FileDialogOptions& bgl = p.platform.fileDialogs[1];
    EXPECT_EQ(bgl.title, "Select BGL file name:");
    EXPECT_EQ(bgl.filter, "BGL files (*.bgl)|*.bgl|All Files (*.*)|*.*||");
    EXPECT_EQ(bgl.defaultExt, "bgl");
    EXPECT_EQ(bgl.initialDir, out.str());
    EXPECT_TRUE(bgl.hideReadOnly && bgl.overwritePrompt);
    EXPECT_TRUE(fs::exists(out.file("pond.bgl")));

    p.platform.fileAnswers = {std::nullopt, out.file("source.v2.sca"), out.file("nofolder/x.sca")};
    EXPECT_FALSE(runScasmSourceCommand(*p.doc));
    EXPECT_EQ(p.doc->scasmFileTitle, "pond");
    EXPECT_TRUE(runScasmSourceCommand(*p.doc));
    EXPECT_EQ(p.doc->scasmFileTitle, "source.v2");
    EXPECT_EQ(p.doc->scasmFolder, out.str());
    EXPECT_TRUE(fs::exists(out.file("source.v2.sca")));
    const FileDialogOptions& sca = p.platform.fileDialogs.back();
    EXPECT_EQ(sca.title, "Select SCASM file name:");
    EXPECT_EQ(sca.filter, "SCASM files (*.sca)|*.sca|All Files (*.*)|*.*||");
    EXPECT_EQ(sca.defaultExt, "sca");
    EXPECT_EQ(sca.initialDir, out.str());
    EXPECT_TRUE(sca.hideReadOnly && sca.overwritePrompt);
    // A file that cannot be created: the names are taken, nothing is written, the cause is said.
    EXPECT_FALSE(runScasmSourceCommand(*p.doc));
    EXPECT_EQ(p.doc->scasmFileTitle, "x");
    EXPECT_EQ(p.doc->scasmFolder, out.file("nofolder"));
    EXPECT_FALSE(fs::exists(out.file("nofolder")));
    ASSERT_EQ(p.platform.messages.size(), 1u);
    EXPECT_EQ(p.platform.messages[0].text, "Cannot write " + out.file("nofolder/x.sca") + ": No such file or directory.");
}

TEST_F(CompileToBglTest, SourceDialogsStartInTheProjectsFolderThenWhereTheSourceWent)
{
    TempDir project;
    p.doc->filePath = project.file("p.prj");
    p.doc->sceneryOutputFolder.clear();
    p.doc->setModified(false);
    p.platform.fileAnswers = {out.file("first.sca"), std::nullopt};
    EXPECT_TRUE(runScasmSourceCommand(*p.doc));
    EXPECT_EQ(p.platform.fileDialogs[0].initialDir, project.str());
    // The source's place is kept with the project: it counts as a change and is asked next time.
    EXPECT_TRUE(p.doc->modified);
    EXPECT_EQ(p.doc->scasmFolder, out.str());
    EXPECT_FALSE(runScasmSourceCommand(*p.doc));
    EXPECT_EQ(p.platform.fileDialogs[1].initialDir, out.str());
}

TEST_F(CompileToBglTest, CommandsNeedAnExtentAndAltitudeRecords)
{
    EXPECT_TRUE(canWriteSource(*p.doc));
    p.doc->boundary.east = p.doc->boundary.west;
    EXPECT_TRUE(canWriteSource(*p.doc));   // north still differs from south
    p.doc->boundary.north = p.doc->boundary.south;
    EXPECT_FALSE(canWriteSource(*p.doc));
    p.makeChunks(1, 1);
    p.doc->mainAltitudeMap.records.clear();
    EXPECT_FALSE(canWriteSource(*p.doc));
}

} // namespace

namespace {

// The failure texts, from what the run left: its exit code, a fresh BGL, a fresh log, wine's lines.
TEST(ScasmFailureText, NamesTheCodeTheLogAndWinesLines)
{
    std::vector<std::string> many;
    for (int i = 1; i <= 25; ++i)
        many.push_back("wine: line " + std::to_string(i));
    std::string first20;
    for (int i = 1; i <= 20; ++i)
        first20 += "\nwine: line " + std::to_string(i);
    const auto run = [](int code, std::vector<std::string> wine = {}) {
        BatchRunResult r;
        r.exitCode = code;
        r.wineLines = std::move(wine);
        return r;
    };
    const struct {
        const char* name;
        BatchRunResult run;
        bool bglMade;
        std::string log;
        std::optional<std::string> text;
    } cases[] = {
        {"success", run(0), true, "", std::nullopt},
        {"success with warnings", run(3), true, "/a/SCAERROR.LOG", std::nullopt},
        {"success although wine spoke", run(0, {"0024:err:x"}), true, "", std::nullopt},
        {"success code without a BGL", run(0), false, "", "SCASM ended without writing /a/lake.bgl"},
        {"32-bit program on 64-bit wine", run(0, {"it looks like wine32 is missing, you should install it."}), false,
         "", "SCASM ended without writing /a/lake.bgl\nWine said:\nit looks like wine32 is missing, you should "
             "install it."},
        {"syntax errors with a log", run(1), false, "/a/SCAERROR.LOG",
         "SCASM ended with exit code 1; see /a/SCAERROR.LOG"},
        {"error code although a BGL came", run(2), true, "", "SCASM ended with exit code 2; it left no SCAERROR.LOG"},
        {"too many errors", run(4), false, "/a/scaerror.log", "SCASM ended with exit code 4; see /a/scaerror.log"},
        {"a crash under wine", run(5, {"wine: Unhandled page fault on read access"}), false, "",
         "SCASM ended with exit code 5; it left no SCAERROR.LOG\nWine said:\nwine: Unhandled page fault on read "
         "access"},
        {"a crash that wine's debugger ended with 0", run(0, {"wine: Unhandled page fault on write access"}), true, "",
         "SCASM ended with exit code 0; it left no SCAERROR.LOG\nWine said:\nwine: Unhandled page fault on write "
         "access"},
        {"a missing library", run(53, many), false, "",
         "SCASM ended with exit code 53; it left no SCAERROR.LOG\nWine said:" + first20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scasmFailureText(c.run, c.bglMade, "/a/lake.bgl", c.log), c.text);
    }
}

// A stand-in whose exit code and files the test chooses.
std::string scriptedScasm(int code, bool writesBgl, bool writesLog)
{
    return std::string("#!/bin/sh\necho assembling\n") + (writesBgl ? "echo new > \"$2\"\n" : "") +
           (writesLog ? "echo 'line 2: error' > SCAERROR.LOG\n" : "") + "exit " + std::to_string(code) + "\n";
}

TEST_F(CompileToBglTest, ARunThatMadeNoUsableBglSaysWhyAndKeepsTheOlderOne)
{
    const struct {
        const char* name;
        int code;
        bool writesBgl;
        bool writesLog;
        std::string message;
    } cases[] = {
        {"exit 0 without a BGL", 0, false, false, "SCASM ended without writing " + app.file("lake.bgl")},
        {"syntax errors and a log", 1, false, true, "SCASM ended with exit code 1; see " + app.file("SCAERROR.LOG")},
        {"an error code with a BGL", 2, true, false, "SCASM ended with exit code 2; it left no SCAERROR.LOG"},
        {"too many errors", 4, false, true, "SCASM ended with exit code 4; see " + app.file("SCAERROR.LOG")},
        {"a crash", 5, false, false, "SCASM ended with exit code 5; it left no SCAERROR.LOG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        p.platform.messages.clear();
        fs::remove(app.file("lake.bgl"));
        // A log of an earlier run is no log of this one.
        app.write("SCAERROR.LOG", "old");
        fs::last_write_time(app.file("SCAERROR.LOG"), fs::file_time_type::clock::now() - std::chrono::hours(1));
        out.write("lake.bgl", "older good BGL");
        app.write("scasm.exe", scriptedScasm(c.code, c.writesBgl, c.writesLog));
        fs::permissions(app.file("scasm.exe"), fs::perms::owner_all, fs::perm_options::add);
        const CompileResult result = compileToBgl(*p.doc, out.file("lake.bgl"));
        EXPECT_FALSE(result.made);
        EXPECT_EQ(result.failure, c.message);
        ASSERT_EQ(p.platform.messages.size(), 1u);
        EXPECT_EQ(p.platform.messages[0].text, c.message);
        EXPECT_EQ(p.platform.messages[0].icon, MsgIcon::Stop);
        EXPECT_EQ(out.readText("lake.bgl"), "older good BGL");
        EXPECT_FALSE(fs::exists(app.file("sca.bat")));
    }
    // The batch program says it itself: no message then.
    p.platform.messages.clear();
    const CompileResult quiet = compileToBgl(*p.doc, out.file("lake.bgl"), false);
    EXPECT_EQ(quiet.failure, "SCASM ended with exit code 5; it left no SCAERROR.LOG");
    EXPECT_TRUE(p.platform.messages.empty());
}

TEST_F(CompileToBglTest, AStoppedOrRefusedRunGoesNoFurther)
{
    installScasm(true);
    out.write("lake.bgl", "older good BGL");
    const struct {
        const char* name;
        BatchRunResult run;
        std::string message;
        MsgIcon icon;
    } cases[] = {
        {"stopped", {128 + 15, true, {}, {}}, "SCASM was stopped.", MsgIcon::Information},
        {"refused", {-1, false, "scasm.exe is a 32-bit Windows program, ...", {}},
         "scasm.exe is a 32-bit Windows program, ...", MsgIcon::Stop},
        {"not started", {-1, false, {}, {}}, "SCASM could not be started.", MsgIcon::Stop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        p.platform.messages.clear();
        p.platform.batchRunner = [&](const std::string&, const std::string&) {
            app.write("lake.bgl", "half a BGL");   // even a file left behind is not taken
            return c.run;
        };
        const CompileResult result = compileToBgl(*p.doc, out.file("lake.bgl"));
        EXPECT_FALSE(result.made);
        ASSERT_EQ(p.platform.messages.size(), 1u);
        EXPECT_EQ(p.platform.messages[0].text, c.message);
        EXPECT_EQ(p.platform.messages[0].icon, c.icon);
        EXPECT_EQ(out.readText("lake.bgl"), "older good BGL");
        EXPECT_EQ(fs::exists(out.file("lake.sca")), !c.run.stopped);
        fs::remove(out.file("lake.sca"));
    }
}

} // namespace
