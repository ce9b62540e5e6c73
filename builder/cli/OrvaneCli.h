#pragma once
// orvane-cli: the builder's batch program. Runs the builder's own steps (the PhotoReal wizard's
// page actions and Finish, cutting, the source writer, the compile step, the project file) without
// windows, reading TexRelief.cfg, colors.pcf, default.bmp and scasm.exe from the current folder.

#include <iosfwd>
#include <string>
#include <vector>

/// Exit codes of the batch program.
enum CliExit { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

/// Runs one command line (without the program name). Results go to `out`, messages and progress to
/// `err`; `terminal` draws progress bars (standard error is a terminal).
int runOrvaneCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool terminal = false);

/// The usage text of a subcommand, or of the program for an empty or unknown name.
std::string cliUsage(const std::string& subcommand = std::string());
