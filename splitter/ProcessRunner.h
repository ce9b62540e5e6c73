#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

/// Starts outside programs. A Windows program (a file starting with the "MZ" executable
/// signature) is run through `wine` when that is on PATH; any other file is run directly, so a
/// native build or a script stands in for it. On Windows itself programs run directly.
/// Every program gets its standard input from /dev/null (a program waiting for a key ends at
/// once instead of hanging) and, unless the user set it, WINEDLLOVERRIDES="mscoree,mshtml=" so
/// that wine's first start does not offer to download .NET and a browser engine.
struct ProcessRunner {
  /// How a run ended.
  struct Result {
    bool started = false;  ///< false: the program could not be started at all
    bool exited = false;   ///< it ended by itself; `exitCode` holds its code
    int exitCode = -1;
    int signal = 0;        ///< the signal that ended it, when it did not exit by itself
    bool stopped = false;  ///< ended on request (stop query or time limit)
    bool timedOut = false;
    std::string errorOutput;  ///< its standard error, the first kMaxErrorBytes of it
    std::string output;       ///< its standard output, when captured
  };
  /// What the caller does while the program runs.
  struct Options {
    std::function<void()> idle;            ///< called every few tens of milliseconds
    std::function<bool()> stopRequested;   ///< true ends the program (SIGTERM, then SIGKILL)
    int timeoutMs = 0;                     ///< 0: no limit; else ended as by a stop on expiry
    bool captureOutput = false;            ///< standard output into Result::output, else inherited
    bool forwardErrors = true;             ///< copy its standard error on to ours as well
  };
  static constexpr std::size_t kMaxErrorBytes = 64 * 1024;
  static constexpr std::size_t kMaxOutputBytes = 64 * 1024;
  /// Time a stopped program gets between SIGTERM and SIGKILL.
  static constexpr int kStopGraceMs = 3000;

  /// The argument vector that runs `program` with `args` (program first), or nullopt when the
  /// program cannot be run here (missing file, or a Windows program and no wine on PATH).
  static std::optional<std::vector<std::string>> commandLine(const std::string& program,
                                                             const std::vector<std::string>& args);
  /// True when `program` is a Windows program that runs here through wine.
  static bool runsThroughWine(const std::string& program);
  /// Runs and waits, calling the options' hooks meanwhile.
  static Result run(const std::string& program, const std::vector<std::string>& args, const Options& options);
  static Result run(const std::string& program, const std::vector<std::string>& args);
  /// Starts without waiting (the program is not left as a zombie); false when it could not
  /// be started.
  static bool startDetached(const std::string& program, const std::vector<std::string>& args);
  /// Full path of an executable named `name` found on PATH, or empty.
  static std::string findOnPath(const std::string& name);
};
