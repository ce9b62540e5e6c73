#pragma once
// A small interpreter for the classic batch files the builder writes (@echo off, program lines,
// pause), so they run the same on every platform: a native program is started directly, a
// Windows .exe through wine when that is on the PATH.

#include <functional>
#include <string>

#include "base/Platform.h"

struct BatchCallbacks {
    /// Receives the console output (program output and the interpreter's own lines).
    std::function<void(const std::string& text)> output;
    /// Called at "pause": returns when the user has pressed a key.
    std::function<void()> pause;
    /// Called about ten times a second while a program runs without output (keeps a window alive).
    std::function<void()> idle;
    /// Asked while a program runs: true ends that program (SIGTERM, then SIGKILL after a grace
    /// period) and the rest of the batch file, "pause" included, does not run.
    std::function<bool()> stopRequested;
    /// A program starts (its name as the user knows it, such as "SCASM") and has ended.
    std::function<void(const std::string& name)> programStarted;
    std::function<void()> programEnded;
    /// A note for the user (wine preparing its folder); without it the note goes to `output`.
    std::function<void(const std::string& text)> note;
    /// Why a program is not started (it is also in the result); without it the text goes to `output`.
    std::function<void(const std::string& text)> refusal;
    /// Where wine's parts are looked for ("/" on a real machine).
    std::string systemRoot = "/";
};

/// The name a program is known by in notes such as "SCASM is running".
std::string programDisplayName(const std::string& path);

/// The note that wine is preparing its folder is given once per program run; this lets the next
/// run give it again.
void forgetWinePreparingNote();

/// The most times one batch file may hand over to another in one run (a file naming itself would
/// otherwise run for ever).
inline constexpr int kMaxBatchHandOvers = 100;

/// Runs the batch file in `workDir` line by line and waits for each program.
/// The result carries the exit code of the last program run (0 when none ran), or a negative value
/// when the file cannot be read or a program could not be started (the output then says why), and
/// the lines wine printed about the last program. A Windows program runs through wine with its
/// input from /dev/null and, unless the user set it, WINEDLLOVERRIDES="mscoree,mshtml="; a 32-bit
/// one is refused when wine lacks its 32-bit part.
/// Understood: "@" before a line, echo (off / on / text), rem and "::" comments, pause, cls,
/// exit, and program lines; a program is looked up in `workDir` in any letter case (with
/// .com, .exe, .bat, .cmd tried after a bare name), then on the PATH. Another batch file
/// named on a line takes over, as with the classic interpreter; after kMaxBatchHandOvers hand-overs
/// the run stops with a message and a negative result.
BatchRunResult interpretBatchFile(const std::string& batchPath, const std::string& workDir, const BatchCallbacks& callbacks);
