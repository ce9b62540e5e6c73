#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "FakeWine.h"
#include "WindowsProgram.h"
#include "WineLayout.h"
#include "WineOutput.h"
#include "WineSetup.h"

namespace fs = std::filesystem;
using Kind = WindowsProgram::Kind;

TEST(WindowsProgram, BitnessFromThePeHeaderWithEveryOffsetChecked) {
  SplitTestDir dir;
  std::string pe32 = peBytes(0x014C);
  std::string wrongSignature = pe32;
  wrongSignature[0x41] = 'X';
  std::string offsetPastEnd = pe32;
  offsetPastEnd[0x3C] = '\xFF';
  offsetPastEnd[0x3D] = '\xFF';
  offsetPastEnd[0x3E] = '\xFF';
  offsetPastEnd[0x3F] = '\xFF';
  const std::string exact = peBytes(0x8664).substr(0, 0x40 + 6);  // PE header ends with the file
  struct Case {
    const char* name;
    std::string bytes;
    Kind kind;
  };
  const Case cases[] = {
      {"empty", "", Kind::NotWindows},
      {"one byte", "M", Kind::NotWindows},
      {"script", "#!/bin/sh\nexit 0\n", Kind::NotWindows},
      {"ZM", "ZM" + std::string(100, '\0'), Kind::NotWindows},
      {"MZ only", "MZ", Kind::Unknown},
      {"short DOS header", "MZ" + std::string(0x3C, '\0'), Kind::Unknown},
      {"32-bit", pe32, Kind::Bits32},
      {"64-bit", peBytes(0x8664), Kind::Bits64},
      {"64-bit, header far in", peBytes(0x8664, 0x1000), Kind::Bits64},
      {"PE header ends with the file", exact, Kind::Bits64},
      {"PE header cut short", exact.substr(0, exact.size() - 1), Kind::Unknown},
      {"ARM64", peBytes(0xAA64), Kind::Other},
      {"not PE", wrongSignature, Kind::Unknown},
      {"offset 0xFFFFFFFF", offsetPastEnd, Kind::Unknown},
      {"offset into the DOS header", peBytes(0x014C).substr(0, 0x3C) + std::string("\x3C\0\0\0", 4), Kind::Unknown},
  };
  for (const Case& c : cases) {
    const std::string path = dir / "program.exe";
    writeBytes(path, c.bytes);
    EXPECT_EQ(WindowsProgram::kindOf(path), c.kind) << c.name;
    EXPECT_EQ(WindowsProgram::isWindowsProgram(path), c.kind != Kind::NotWindows) << c.name;
  }
  // Not regular files: nothing is opened that could block.
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(WindowsProgram::kindOf(dir / "fifo"), Kind::NotWindows);
  EXPECT_EQ(WindowsProgram::kindOf(dir / ""), Kind::NotWindows);
  EXPECT_EQ(WindowsProgram::kindOf(dir / "missing.exe"), Kind::NotWindows);
}

namespace {

void touchFile(const fs::path& path) {
  fs::create_directories(path.parent_path());
  writeBytes(path.string(), "dll");
}

}  // namespace

TEST(WineLayout, PartsCountOnlyWithTheirNtdll) {
  struct Case {
    const char* name;
    std::vector<const char*> files;  // under the root
    const char* wineBinary;          // under the root; may be empty
    bool has64, has32;
  };
  const Case cases[] = {
      {"nothing installed", {}, "", false, false},
      {"Debian, 64-bit only (stray i386 folder)",
       {"usr/lib/x86_64-linux-gnu/wine/x86_64-windows/ntdll.dll", "usr/lib/x86_64-linux-gnu/wine/i386-windows/zlib1.dll"},
       "",
       true,
       false},
      {"Debian with wine32",
       {"usr/lib/x86_64-linux-gnu/wine/x86_64-windows/ntdll.dll", "usr/lib/i386-linux-gnu/wine/i386-windows/ntdll.dll"},
       "",
       true,
       true},
      {"Fedora", {"usr/lib64/wine/x86_64-windows/ntdll.dll", "usr/lib/wine/i386-windows/ntdll.dll"}, "", true, true},
      {"32-bit only", {"usr/lib32/wine/i386-windows/ntdll.dll"}, "", false, true},
      {"WineHQ in /opt", {"opt/wine-stable/lib64/wine/x86_64-windows/ntdll.dll",
                          "opt/wine-stable/lib/wine/i386-windows/ntdll.dll"}, "", true, true},
      {"WineHQ in /opt, 64-bit only", {"opt/wine-devel/lib64/wine/x86_64-windows/ntdll.dll"}, "", true, false},
      {"beside its binary", {"custom/lib64/wine/x86_64-windows/ntdll.dll", "custom/lib/wine/i386-windows/ntdll.dll"},
       "custom/bin/wine", true, true},
      {"beside its binary, not looked for without it",
       {"custom/lib64/wine/x86_64-windows/ntdll.dll"}, "", false, false},
      {"ntdll.dll that is a folder", {"usr/lib/x86_64-linux-gnu/wine/x86_64-windows/ntdll.dll/x"}, "", false, false},
  };
  for (const Case& c : cases) {
    SplitTestDir root;
    for (const char* f : c.files) touchFile(fs::path(root / f));
    std::string binary;
    if (*c.wineBinary) {
      binary = root / c.wineBinary;
      touchFile(binary);
    }
    const WineLayout layout = WineLayout::probe(root / "", binary);
    EXPECT_EQ(layout.has64BitPart, c.has64) << c.name;
    EXPECT_EQ(layout.has32BitPart, c.has32) << c.name;
    EXPECT_EQ(layout.lacks32BitPart(), c.has64 && !c.has32) << c.name;
  }
}

TEST(WineLayout, ALinkedBinaryCountsWhereItReallyLies) {
  SplitTestDir root;
  touchFile(fs::path(root / "opt/w/lib64/wine/x86_64-windows/ntdll.dll"));
  touchFile(fs::path(root / "opt/w/bin/wine"));
  fs::create_directories(root / "usr/bin");
  fs::create_symlink(root / "opt/w/bin/wine", root / "usr/bin/wine");
  EXPECT_TRUE(WineLayout::probe(root / "", root / "usr/bin/wine").lacks32BitPart());
}

TEST(WineOutput, KeepsWinesOwnLinesOnly) {
  struct Case {
    const char* name;
    std::string errorOutput;
    bool withHint;
    std::vector<std::string> lines;
    bool errors;
  };
  const std::string hint =
      "it looks like wine32 is missing, you should install it.\n"
      "multiarch needs to be enabled first.  as root, please\n"
      "execute \"dpkg --add-architecture i386 && apt-get update &&\n"
      "apt-get install wine32:i386\"\n";
  const Case cases[] = {
      {"nothing", "", true, {}, false},
      {"the program's own lines", "Compiling part A\r\nerror: none\r\n", true, {}, false},
      {"fixme is noise", "0024:fixme:ntdll:NtQuerySystemInformation info_class 0x6b\n", true, {}, false},
      {"a crash",
       "0024:fixme:x:y\nwine: Unhandled page fault on write access to 0000000000000000 at address 0000000140001550 "
       "(thread 0024), starting debugger...\n",
       true,
       {"wine: Unhandled page fault on write access to 0000000000000000 at address 0000000140001550 (thread 0024), "
        "starting debugger..."},
       true},
      {"a missing library",
       "0024:err:module:import_dll Library foo.dll (which is needed by L\"Z:\\\\t\\\\SCASM.EXE\") not found\n"
       "0024:err:module:LdrInitializeThunk Importing dlls for L\"Z:\\\\t\\\\SCASM.EXE\" failed, status c0000135\n",
       true,
       {"0024:err:module:import_dll Library foo.dll (which is needed by L\"Z:\\\\t\\\\SCASM.EXE\") not found",
        "0024:err:module:LdrInitializeThunk Importing dlls for L\"Z:\\\\t\\\\SCASM.EXE\" failed, status c0000135"},
       true},
      {"a longer thread id", "012c:err:module:x failed\n", true, {"012c:err:module:x failed"}, true},
      {"other errors are shown but decide nothing", "0030:err:virtual:map failed\n", true,
       {"0030:err:virtual:map failed"}, false},
      {"the desktop without a display",
       "0044:err:winediag:nodrv_CreateWindow Application tried to create a window, but no driver could be loaded.\n"
       "0044:err:systray:initialize_systray Could not create tray window\n"
       "0050:err:ole:start_rpcss Failed to open RpcSs service\n",
       true,
       {},
       false},
      {"not a thread id", "ab:err:x\nerr: mine\n", true, {}, false},
      {"the wrapper's hint", hint + "Compiling\n", true,
       {"it looks like wine32 is missing, you should install it.", "multiarch needs to be enabled first.  as root, please",
        "execute \"dpkg --add-architecture i386 && apt-get update &&", "apt-get install wine32:i386\""},
       false},
      {"the hint left out", hint + "wine: Bad EXE format for Z:\\t\\SCASM.EXE.\n", false,
       {"wine: Bad EXE format for Z:\\t\\SCASM.EXE."}, true},
      {"first start",
       "wine: created the configuration directory '/h/.wine'\nwine: configuration in L\"/h/.wine\" has been updated.\n",
       true,
       {"wine: created the configuration directory '/h/.wine'", "wine: configuration in L\"/h/.wine\" has been updated."},
       false},
      {"the fault leads",
       "0048:err:module:x\nwine: created the configuration directory '/h'\n"
       "wine: Unhandled page fault\n0049:err:x:y\n",
       true,
       {"wine: Unhandled page fault", "0048:err:module:x", "wine: created the configuration directory '/h'",
        "0049:err:x:y"},
       true},
  };
  for (const Case& c : cases) {
    const WineOutput out(c.errorOutput, c.withHint);
    EXPECT_EQ(out.lines(), c.lines) << c.name;
    EXPECT_EQ(out.hasErrors(), c.errors) << c.name;
  }
  std::string many;
  for (int i = 0; i < 30; ++i) many += "wine: line " + std::to_string(i) + "\n";
  const WineOutput capped(many);
  ASSERT_EQ(capped.lines().size(), WineOutput::kMaxLines);
  EXPECT_EQ(capped.lines().back(), "wine: line 19");
  EXPECT_EQ(WineOutput("wine: a\nwine: b\n").saidPart("\r"), "\rWine said:\rwine: a\rwine: b");
  EXPECT_EQ(WineOutput("plain\n").saidPart("\r"), "");
}

TEST(WineSetup, PrefixNoteAndWindowsForms) {
  SplitTestDir dir;
  {
    EnvGuard prefix("WINEPREFIX", dir / "prefix");
    EXPECT_EQ(WineSetup::prefixFolder(), dir / "prefix");
    EXPECT_EQ(WineSetup::firstStartNote(),
              "Wine is preparing its folder " + dir / "prefix" + " for the first time; this can take a few seconds.");
    fs::create_directory(dir / "prefix");
    EXPECT_EQ(WineSetup::firstStartNote(), "");
  }
  {
    EnvGuard prefix("WINEPREFIX", std::nullopt);
    EnvGuard home("HOME", dir / "home");
    EXPECT_EQ(WineSetup::prefixFolder(), dir / "home/.wine");
  }
  EXPECT_EQ(WineSetup::driveZForm("/home/me/My Area/"), "Z:\\home\\me\\My Area\\");
  EXPECT_FALSE(WineSetup::hasNonAscii("/home/me/Area 51/"));
  EXPECT_TRUE(WineSetup::hasNonAscii("/home/me/Z\xC3\xBCrich/"));
  EXPECT_EQ(WineSetup::missing32BitText("SCASM.EXE", "\n"),
            "SCASM.EXE is a 32-bit Windows program, and this machine's wine runs only 64-bit programs.\n"
            "Install wine's 32-bit part as root:\n"
            "  dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386\n"
            "A wine prefix made before that (~/.wine, or $WINEPREFIX) must be made again: move it away and wine "
            "makes a new one.");
}

TEST(WineSetup, WindowsFolderAsksWinepathAndFallsBackToDriveZ) {
  SplitTestDir dir;
  fs::create_directories(dir / "bin");
  fs::create_directories(dir / "prefix");
  EnvGuard path("PATH", dir / "bin");
  EnvGuard prefix("WINEPREFIX", dir / "prefix");
  EXPECT_EQ(WineSetup::windowsFolder("/t/a/"), "Z:\\t\\a\\");  // no winepath
  writeScript(dir / "bin/winepath", "[ \"$1\" = -w ] && printf 'D:\\\\mapped%s\\r\\n' \"$2\"\n");
  EXPECT_EQ(WineSetup::windowsFolder("/t/a/"), "D:\\mapped/t/a/");
  writeScript(dir / "bin/winepath", "printf '\\\\\\\\?\\\\unix\\\\t\\\\a\\n'\n");  // no drive for it
  EXPECT_EQ(WineSetup::windowsFolder("/t/a/"), "Z:\\t\\a\\");
  writeScript(dir / "bin/winepath", "exit 1\n");
  EXPECT_EQ(WineSetup::windowsFolder("/t/a/"), "Z:\\t\\a\\");
  // A winepath that does not answer is not waited for beyond its limit.
  writeScript(dir / "bin/winepath", "exec /bin/sleep 600\n");
  EXPECT_EQ(WineSetup::windowsFolder("/t/a/"), "Z:\\t\\a\\");
  // Not asked before wine has its folder (it would set it up first).
  writeScript(dir / "bin/winepath", "printf 'D:\\\\x\\n'\n");
  fs::remove(dir / "prefix");
  EXPECT_EQ(WineSetup::windowsFolder("/t/a/"), "Z:\\t\\a\\");
}
