#pragma once
#include <optional>
#include <string>

#include "base/Platform.h"

class CDibDoc;

/// The message shown when the assembler is not in `applicationFolder` (the folder the program
/// was started from, where it is looked for), naming that folder.
std::string scasmMissingMessage(const std::string& applicationFolder);

/// The file "scasm.exe" in `applicationFolder`, in any letter case (the exact spelling wins).
std::optional<std::string> findScasmExecutable(const std::string& applicationFolder);

/// How a compile ended: whether a new BGL is in place, and why not when it is not.
struct CompileResult {
    bool made = false;
    std::string failure;   ///< empty when there is nothing more to say (no file name)
};

/// The text for an assembler run that made no usable BGL: None when `run` counts as a success
/// with a fresh BGL. `bglMade`: the run wrote the BGL anew; `log`: the error log it wrote anew
/// (empty when none). Exit codes 0 and 3 are the assembler's successes, unless wine reported a
/// crash.
std::optional<std::string> scasmFailureText(const BatchRunResult& run, bool bglMade, const std::string& bglPath,
                                            const std::string& log);

/// Compile to BGL after the file dialog. Sets `scasmFileTitle` and `scasmFolder` from `bglPath`,
/// writes <title>.sca into the application folder, appends the three lines of sca.bat there,
/// runs it through the platform and deletes it, then moves the .sca and a newly made .bgl into
/// the folder of `bglPath` (replacing files of those names; nothing moves when that folder is
/// the application folder). An older .bgl in the destination stays when no new one was made.
/// A new BGL counts only after a success code; after another code, a stop or a run that wrote no
/// BGL, an older BGL in the destination stays and the failure says why (the exit code, the error
/// log the assembler left, wine's own lines). `showFailure`: also show that text as a message (the
/// window); the batch program prints it as its one final line instead.
CompileResult compileToBgl(CDibDoc& doc, const std::string& bglPath, bool showFailure = true);
