#pragma once
// Command-line options of one subcommand: "--name" followed by a fixed number of values. Values are
// taken as they come, so a value may start with "-" (a southern latitude such as -45:30).

#include <string>
#include <vector>

class CliArguments {
public:
    struct Option {
        std::string name;        ///< with the leading dashes, e.g. "--bitmap"
        int values = 1;          ///< 0 for a flag
        bool repeatable = false;
    };
    struct Occurrence {
        std::string name;
        std::vector<std::string> values;
    };

    /// Parses `args` against `options`. "--help" and "-h" set `help` and are always accepted.
    /// False with `error` set for an unknown option, a missing value or a repeated single option.
    bool parse(const std::vector<std::string>& args, const std::vector<Option>& options, std::string& error);

    bool help = false;
    std::vector<std::string> positionals;
    /// Every option given, in command-line order.
    std::vector<Occurrence> occurrences;

    bool has(const std::string& name) const;
    /// The first value of the option, or `fallback` when it was not given.
    std::string value(const std::string& name, const std::string& fallback = std::string()) const;
};

/// A path from the command line made absolute against the current folder (as given when that
/// fails), so messages and stored projects name the file the user meant.
std::string absolutePath(const std::string& path);

/// The folder of the running program, where a build keeps its own colors.pcf and default.bmp
/// (and whose ../share/orvane an install fills); empty when it cannot be told.
std::string runningProgramFolder();
