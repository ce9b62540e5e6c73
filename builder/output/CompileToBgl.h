#pragma once
#include <optional>
#include <string>

class CDibDoc;

/// The message shown when the assembler is not in `applicationFolder` (the folder the program
/// was started from, where it is looked for), naming that folder.
std::string scasmMissingMessage(const std::string& applicationFolder);

/// The file "scasm.exe" in `applicationFolder`, in any letter case (the exact spelling wins).
std::optional<std::string> findScasmExecutable(const std::string& applicationFolder);

/// Compile to BGL after the file dialog. Sets `scasmFileTitle` and `scasmFolder` from `bglPath`,
/// writes <title>.sca into the application folder, appends the three lines of sca.bat there,
/// runs it through the platform and deletes it, then moves the .sca and a newly made .bgl into
/// the folder of `bglPath` (replacing files of those names; nothing moves when that folder is
/// the application folder). An older .bgl in the destination stays when no new one was made.
/// Returns true when a new BGL was made; false when scasm.exe is missing (after its message),
/// the source or the batch file cannot be written, or the assembler made no BGL.
bool compileToBgl(CDibDoc& doc, const std::string& bglPath);
