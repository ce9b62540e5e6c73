#pragma once
// What the builder knows about running Windows programs through wine: where wine keeps its
// 32- and 64-bit parts, which of its output lines are its own, and the texts that explain it.

#include <string>

/// Which of wine's Windows-side parts are installed (found by their ntdll.dll).
struct WineParts {
    bool has64 = false;
    bool has32 = false;
    /// A 32-bit program cannot run: the 64-bit part is there and the 32-bit one is not. When
    /// neither is found the layout is unknown and the program is run all the same.
    bool lacks32() const { return has64 && !has32; }
};

/// Looks under `root` ("/" on a real machine; tests pass a fake tree) in every folder where wine
/// packages keep their libraries, including those beside `wineBinary` (a path inside `root`).
WineParts findWineParts(const std::string& root, const std::string& wineBinary);

/// Why a 32-bit program is not run on a wine without its 32-bit part, and what to install.
std::string wine32MissingMessage(const std::string& programName);

/// The wine prefix a program would use: $WINEPREFIX, else $HOME/.wine.
std::string winePrefixFolder();

/// Told once, before wine makes its prefix folder (which takes a while).
std::string winePreparingNote(const std::string& prefix);

/// A line wine printed about a program rather than the program's own output: "wine: ...",
/// "0024:err:..." and the Debian wrapper's hint that wine32 is missing.
bool isWineDiagnostic(const std::string& line);

/// Wine's "fixme" lines: noise, never shown.
bool isWineNoise(const std::string& line);

/// The first line of the Debian wrapper's hint; the lines after it belong to the hint.
bool isWine32Hint(const std::string& line);
