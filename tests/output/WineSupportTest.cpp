#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "output/WineSupport.h"
#include "support/TempDir.h"
#include "OutputTestProject.h"

namespace fs = std::filesystem;

namespace {

// Fake installations under a temp root: only files named ntdll.dll in the right folder count.
TEST(WineSupport, FindsWinesPartsWhereverPackagesKeepThem)
{
    const struct {
        const char* name;
        std::vector<std::string> files;
        std::string wineBinary;
        bool has64;
        bool has32;
    } cases[] = {
        {"Debian, 64-bit only, with the stray i386 folder",
         {"usr/lib/x86_64-linux-gnu/wine/x86_64-windows/ntdll.dll",
          "usr/lib/x86_64-linux-gnu/wine/i386-windows/stray.dll", "usr/bin/wine"},
         "/usr/bin/wine", true, false},
        {"Debian with wine32:i386",
         {"usr/lib/x86_64-linux-gnu/wine/x86_64-windows/ntdll.dll",
          "usr/lib/i386-linux-gnu/wine/i386-windows/ntdll.dll"},
         "/usr/bin/wine", true, true},
        {"a folder named ntdll.dll is no library",
         {"usr/lib64/wine/x86_64-windows/ntdll.dll", "usr/lib32/wine/i386-windows/ntdll.dll/"},
         "/usr/bin/wine", true, false},
        {"Fedora style", {"usr/lib64/wine/x86_64-windows/ntdll.dll", "usr/lib/wine/i386-windows/ntdll.dll"},
         "/usr/bin/wine", true, true},
        {"WineHQ under /opt", {"opt/wine-stable/lib64/wine/x86_64-windows/ntdll.dll",
                               "opt/wine-stable/lib/wine/i386-windows/ntdll.dll"},
         "/usr/bin/wine", true, true},
        {"beside the wine binary",
         {"home/u/wine/lib/wine/x86_64-windows/ntdll.dll", "home/u/wine/bin/wine"}, "/home/u/wine/bin/wine",
         true, false},
        {"unknown layout", {"usr/bin/wine", "usr/lib/wine/wine64"}, "/usr/bin/wine", false, false},
        {"nothing at all", {}, "", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir root;
        for (const std::string& f : c.files) {
            const fs::path p = root.path() / f;
            fs::create_directories(p.parent_path());
            if (f.back() == '/')
                fs::create_directories(p);
            else
                root.write(f, "x");
        }
        const WineParts parts = findWineParts(root.str(), c.wineBinary);
        EXPECT_EQ(parts.has64, c.has64);
        EXPECT_EQ(parts.has32, c.has32);
        EXPECT_EQ(parts.lacks32(), c.has64 && !c.has32);
    }
}

TEST(WineSupport, TellsWinesOwnLinesFromTheProgramsOutput)
{
    const struct {
        const char* line;
        bool diagnostic;
        bool noise;
    } cases[] = {
        {"wine: Unhandled page fault on read access to 0000000000000000", true, false},
        {"wine: Bad EXE format for Z:\\tmp\\x.exe.", true, false},
        {"0024:err:module:import_dll Library foo.dll (which is needed by L\"x.exe\") not found", true, false},
        {"00fc:err:environ:init_peb starting L\"x.exe\" in experimental wow64 mode", true, false},
        {"it looks like wine32 is missing, you should install it.", true, false},
        {"0024:fixme:heap:RtlSetHeapInformation 0 1 0 0 stub", false, true},
        {"00G4:err:not a thread id", false, false},
        {"24:err:too short an id", false, false},
        {"SCASM: 3 errors in lake.sca", false, false},
        {"wine:no blank", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(isWineDiagnostic(c.line), c.diagnostic);
        EXPECT_EQ(isWineNoise(c.line), c.noise);
    }
}

TEST(WineSupport, TextsAndThePrefixFolder)
{
    EXPECT_EQ(wine32MissingMessage("SCASM.EXE"),
              "SCASM.EXE is a 32-bit Windows program, and this machine's wine runs only 64-bit programs.\n"
              "Install wine's 32-bit part as root:\n"
              "  dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386\n"
              "A wine prefix made before that (~/.wine, or $WINEPREFIX) must be made again: move it away and "
              "wine makes a new one.");
    EXPECT_EQ(winePreparingNote("/h/.wine"),
              "Wine is preparing its folder /h/.wine for the first time; this can take a few seconds.");
    {
        ScopedEnv prefix{"WINEPREFIX", "/p/fx"};
        EXPECT_EQ(winePrefixFolder(), "/p/fx");
    }
    ScopedEnv prefix{"WINEPREFIX", ""};
    ScopedEnv home{"HOME", "/home/u"};
    EXPECT_EQ(winePrefixFolder(), "/home/u/.wine");
}

} // namespace
