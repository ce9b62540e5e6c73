// Compile to BGL with Windows stand-ins of the assembler, built here with mingw and run through
// the real wine. Skipped, saying what is missing, where wine or mingw are not installed.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "output/BatchInterpreter.h"
#include "output/CompileToBgl.h"
#include "output/WineSupport.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

/// Every wait ends here at the latest: the program is stopped and the test fails.
constexpr auto kLimit = std::chrono::seconds(120);

/// The stand-in: what it does depends on MODE, fixed when it is compiled.
const char* const kStandIn = R"(#include <windows.h>
#include <conio.h>
#include <stdio.h>
#include <stdlib.h>
int main(int argc, char** argv)
{
    printf("stand-in SCASM %d\n", MODE);
    fflush(stdout);
    if (argc != 3)
        return 2;
    FILE* source = fopen(argv[1], "rb");
    if (!source)
        return 2;
    fclose(source);
    if (MODE == 1) {   /* exit code CODE, with SCAERROR.LOG when LOG */
        if (LOG) {
            FILE* log = fopen("SCAERROR.LOG", "w");
            fputs("line 1: unknown command\n", log);
            fclose(log);
        }
        return CODE;
    }
    if (MODE == 2)   /* a crash */
        *(volatile int*)0 = 1;
    if (MODE == 3)   /* success without a BGL */
        return 0;
    if (MODE == 5) {   /* runs until stopped */
        printf("working for ever\n");
        fflush(stdout);
        Sleep(600000);
    }
    if (MODE == 4) {   /* waits for a key, twice */
        printf("Press a key\n");
        fflush(stdout);
        _getch();
        getchar();
    }
    FILE* bgl = fopen(argv[2], "wb");
    fputs("BGL", bgl);
    fclose(bgl);
    return 0;
}
)";

std::string onPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    std::size_t from = 0;
    while (from <= folders.size()) {
        const std::size_t colon = std::min(folders.find(':', from), folders.size());
        const fs::path candidate = fs::path(folders.substr(from, colon - from)) / name;
        std::error_code ec;
        if (colon > from && fs::is_regular_file(candidate, ec))
            return candidate.string();
        from = colon + 1;
    }
    return std::string();
}

class ScasmUnderWine : public ::testing::Test {
protected:
    TempDir app;
    TempDir out;
    ScriptedPlatform platform;
    AppContext context{platform};
    std::unique_ptr<CDibDoc> doc;
    std::string console;
    int pauses = 0;
    bool timedOut = false;
    std::string stopWhenShown;   ///< the user presses Stop once the console shows this
    std::string wine;

    void SetUp() override
    {
        wine = onPath("wine");
        if (wine.empty())
            GTEST_SKIP() << "wine not found";
        if (onPath("x86_64-w64-mingw32-gcc").empty())
            GTEST_SKIP() << "x86_64-w64-mingw32-gcc not found";
        context.settings.applicationPath = app.str();
        doc = std::make_unique<CDibDoc>(context);
        platform.messages.clear();
        doc->boundary = {45.0, 45.1, -73.1, -73.0};
        doc->mainAltitudeMap.records = {{45.05, -73.05, 12}};
        platform.batchRunner = [this](const std::string& batch, const std::string& workDir) {
            const auto deadline = std::chrono::steady_clock::now() + kLimit;
            BatchCallbacks callbacks;
            callbacks.output = [this](const std::string& text) { console += text; };
            callbacks.pause = [this] { ++pauses; };
            callbacks.stopRequested = [this, deadline] {
                timedOut = timedOut || std::chrono::steady_clock::now() > deadline;
                return timedOut || (!stopWhenShown.empty() && console.find(stopWhenShown) != std::string::npos);
            };
            return interpretBatchFile(batch, workDir, callbacks);
        };
    }

    /// Builds the stand-in as scasm.exe in the application folder.
    void build(const std::string& defines, const std::string& compiler = "x86_64-w64-mingw32-gcc")
    {
        app.write("standin.c", kStandIn);
        const std::string command = compiler + " -O1 " + defines + " -o '" + app.file("scasm.exe") + "' '" +
                                    app.file("standin.c") + "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        fs::remove(app.file("standin.c"));
    }

    CompileResult compile()
    {
        CompileResult result = compileToBgl(*doc, out.file("lake.bgl"));
        EXPECT_FALSE(timedOut) << console;
        return result;
    }

    /// The one message shown, which starts with `start`; wine's own lines may follow it.
    void expectMessage(const std::string& start, MsgIcon icon)
    {
        ASSERT_EQ(platform.messages.size(), 1u) << console;
        const std::string& text = platform.messages[0].text;
        EXPECT_EQ(text.substr(0, start.size()), start) << text;
        EXPECT_TRUE(text.size() == start.size() || text.compare(start.size(), 12, "\nWine said:\n") == 0) << text;
        EXPECT_EQ(platform.messages[0].icon, icon);
    }
};

TEST_F(ScasmUnderWine, AGoodCompileWritesTheBglAndMovesIt)
{
    build("-DMODE=0 -DCODE=0 -DLOG=0");
    const CompileResult result = compile();
    EXPECT_TRUE(result.made) << result.failure << "\n" << console;
    EXPECT_TRUE(platform.messages.empty());
    std::ifstream bgl(out.file("lake.bgl"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(bgl), {}), "BGL");
    EXPECT_TRUE(fs::exists(out.file("lake.sca")));
    EXPECT_FALSE(fs::exists(app.file("lake.bgl")));
    EXPECT_NE(console.find("stand-in SCASM 0"), std::string::npos) << console;
    EXPECT_EQ(pauses, 1);
}

TEST_F(ScasmUnderWine, ExitCodesComeThroughWineWithTheirMessages)
{
    const struct {
        int code;
        bool log;
        std::string message;
    } cases[] = {
        {1, true, "SCASM ended with exit code 1; see " + app.file("SCAERROR.LOG")},
        {2, false, "SCASM ended with exit code 2; it left no SCAERROR.LOG"},
        {4, true, "SCASM ended with exit code 4; see " + app.file("SCAERROR.LOG")},
        {5, false, "SCASM ended with exit code 5; it left no SCAERROR.LOG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        platform.messages.clear();
        fs::remove(app.file("SCAERROR.LOG"));
        build("-DMODE=1 -DCODE=" + std::to_string(c.code) + " -DLOG=" + (c.log ? "1" : "0"));
        EXPECT_FALSE(compile().made);
        expectMessage(c.message, MsgIcon::Stop);
        EXPECT_FALSE(fs::exists(out.file("lake.bgl")));
    }
}

TEST_F(ScasmUnderWine, ACrashIsNoSyntaxErrorAndShowsWinesLines)
{
    build("-DMODE=2 -DCODE=0 -DLOG=0");
    EXPECT_FALSE(compile().made);
    ASSERT_EQ(platform.messages.size(), 1u) << console;
    // Wine hands the crash on as 5, or its debugger ends the program with 0: a crash either way.
    const std::string& text = platform.messages[0].text;
    EXPECT_TRUE(text.rfind("SCASM ended with exit code 5; it left no SCAERROR.LOG", 0) == 0 ||
                text.rfind("SCASM ended with exit code 0; it left no SCAERROR.LOG", 0) == 0)
        << text;
    EXPECT_NE(platform.messages[0].text.find("\nWine said:\n"), std::string::npos) << platform.messages[0].text;
    EXPECT_NE(platform.messages[0].text.find("wine: Unhandled page fault"), std::string::npos)
        << platform.messages[0].text;
}

TEST_F(ScasmUnderWine, SuccessWithoutABglIsAFailure)
{
    out.write("lake.bgl", "older good BGL");
    build("-DMODE=3 -DCODE=0 -DLOG=0");
    EXPECT_FALSE(compile().made);
    expectMessage("SCASM ended without writing " + app.file("lake.bgl"), MsgIcon::Stop);
    std::ifstream bgl(out.file("lake.bgl"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(bgl), {}), "older good BGL");
}

TEST_F(ScasmUnderWine, AProgramWaitingForAKeyGoesOnWithoutOne)
{
    build("-DMODE=4 -DCODE=0 -DLOG=0");
    const CompileResult result = compile();
    EXPECT_TRUE(result.made) << result.failure << "\n" << console;
    EXPECT_NE(console.find("Press a key"), std::string::npos) << console;
    EXPECT_EQ(pauses, 1);
}

TEST_F(ScasmUnderWine, StopEndsTheProgramUnderWine)
{
    build("-DMODE=5 -DCODE=0 -DLOG=0");
    stopWhenShown = "working for ever";
    EXPECT_FALSE(compile().made);
    ASSERT_EQ(platform.messages.size(), 1u) << console;
    EXPECT_EQ(platform.messages[0].text, "SCASM was stopped.");
    EXPECT_EQ(pauses, 0);
    EXPECT_FALSE(fs::exists(out.file("lake.bgl")));
}

TEST_F(ScasmUnderWine, A32BitProgramIsRefusedWhenWineLacksIts32BitPart)
{
    if (onPath("i686-w64-mingw32-gcc").empty())
        GTEST_SKIP() << "i686-w64-mingw32-gcc not found";
    if (!findWineParts("/", wine).lacks32())
        GTEST_SKIP() << "this wine runs 32-bit programs (or its layout is unknown): nothing to refuse";
    build("-DMODE=0 -DCODE=0 -DLOG=0", "i686-w64-mingw32-gcc");
    EXPECT_FALSE(compile().made);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, wine32MissingMessage("scasm.exe"));
    EXPECT_EQ(console.find("stand-in"), std::string::npos) << console;
}

TEST_F(ScasmUnderWine, A32BitProgramCompilesOnA32BitWine)
{
    if (onPath("i686-w64-mingw32-gcc").empty())
        GTEST_SKIP() << "i686-w64-mingw32-gcc not found";
    if (!findWineParts("/", wine).has32)
        GTEST_SKIP() << "32-bit wine not installed (wine32:i386)";
    build("-DMODE=0 -DCODE=0 -DLOG=0", "i686-w64-mingw32-gcc");
    const CompileResult result = compile();
    EXPECT_TRUE(result.made) << result.failure << "\n" << console;
    EXPECT_TRUE(fs::exists(out.file("lake.bgl")));
}

} // namespace
