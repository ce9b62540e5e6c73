#pragma once
// orvane-cli set, add-position and add-macro: what the chunk properties sheet, the project
// properties sheet and the FS item dialogs do to a saved project, from the command line.

#include <iosfwd>
#include <string>
#include <vector>

/// True for the subcommands handled here.
bool isProjectEditCommand(const std::string& command);

/// The usage text of one of these subcommands.
std::string projectEditUsage(const std::string& command);

/// Runs one of these subcommands (arguments without the subcommand); returns the exit code.
int runProjectEdit(const std::string& command, const std::vector<std::string>& argv, std::ostream& out,
                   std::ostream& err, bool terminal);
