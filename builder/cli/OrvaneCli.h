#pragma once
// orvane-cli: the builder's batch program. Runs the builder's own steps (the PhotoReal wizard's
// page actions and Finish, cutting, the source writer, the compile step, the project file) without
// windows, reading TexRelief.cfg, colors.pcf, default.bmp and scasm.exe from the current folder.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CliArguments.h"

class CDibDoc;

/// Exit codes of the batch program.
enum CliExit { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

/// Runs one command line (without the program name). Results go to `out`, messages and progress to
/// `err`; `terminal` draws progress bars (standard error is a terminal).
int runOrvaneCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool terminal = false);

/// The usage text of a subcommand, or of the program for an empty or unknown name.
std::string cliUsage(const std::string& subcommand = std::string());

/// A subcommand that works on a saved project and is built apart from this file (the picture of
/// the map needs an image library the rest of the program does not). The project is opened as the
/// other commands open it; `check` runs before that and returns a usage error text, or "".
struct CliProjectCommand {
    std::string name;
    std::string summary;   ///< one line of the program's usage
    std::string usage;
    std::vector<CliArguments::Option> options;
    std::size_t positionals = 1;   ///< the first is the project file
    std::function<std::string(const CliArguments& args)> check;
    std::function<int(CDibDoc& doc, const CliArguments& args, std::ostream& out, std::ostream& err)> run;
};

/// How scasm.exe is found and run: a paragraph of the usage of every command that compiles.
extern const char* const kScasmRunHelp;

/// Compile to BGL as the batch program does it: true when `bgl` was made; otherwise one error
/// line that names the file and why (the exit code, the log left behind, wine's own lines).
bool compileForCli(CDibDoc& doc, const std::string& bgl, std::ostream& err);

/// Adds a subcommand; main() adds those the build has.
void addCliProjectCommand(CliProjectCommand command);
