#pragma once
// orvane-cli synth: a synthetic project as the SynthWizard makes it, without windows.

#include <iosfwd>
#include <string>
#include <vector>

/// The usage text of the synth command.
extern const char* const kSynthUsage;

/// Runs "synth" with its options (without the command name). Exit codes as runOrvaneCli.
int runSynthCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool terminal);
