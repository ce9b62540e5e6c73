#pragma once

#include <optional>
#include <string>
#include <vector>

/// Starts outside programs. A Windows program (a file starting with the "MZ" executable
/// signature) is run through `wine` when that is on PATH; any other file is run directly, so a
/// native build or a script stands in for it. On Windows itself programs run directly.
struct ProcessRunner {
  /// The argument vector that runs `program` with `args` (program first), or nullopt when the
  /// program cannot be run here (missing file, or a Windows program and no wine on PATH).
  static std::optional<std::vector<std::string>> commandLine(const std::string& program,
                                                             const std::vector<std::string>& args);
  /// Runs and waits. The exit code, or a negative value when the program could not be started
  /// or did not end normally (killed by a signal).
  static int runAndWait(const std::string& program, const std::vector<std::string>& args);
  /// Starts without waiting (the program is not left as a zombie); false when it could not
  /// be started.
  static bool startDetached(const std::string& program, const std::vector<std::string>& args);
  /// Full path of an executable named `name` found on PATH, or empty.
  static std::string findOnPath(const std::string& name);
};
