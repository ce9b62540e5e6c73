#include "cli/CliArguments.h"

#include <algorithm>
#include <filesystem>

bool CliArguments::parse(const std::vector<std::string>& args, const std::vector<Option>& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-' || arg == "-") {
            positionals.push_back(arg);
            continue;
        }
        const auto option = std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == arg; });
        if (option == options.end()) {
            error = "unknown option " + arg;
            return false;
        }
        if (!option->repeatable && has(arg)) {
            error = "option " + arg + " given twice";
            return false;
        }
        if (i + static_cast<std::size_t>(option->values) >= args.size() && option->values > 0) {
            error = "option " + arg + " needs " + std::to_string(option->values) + (option->values == 1 ? " value" : " values");
            return false;
        }
        Occurrence occurrence{arg, {}};
        for (int k = 0; k < option->values; ++k)
            occurrence.values.push_back(args[++i]);
        occurrences.push_back(std::move(occurrence));
    }
    return true;
}

bool CliArguments::has(const std::string& name) const
{
    return std::any_of(occurrences.begin(), occurrences.end(), [&](const Occurrence& o) { return o.name == name; });
}

std::string CliArguments::value(const std::string& name, const std::string& fallback) const
{
    for (const Occurrence& o : occurrences)
        if (o.name == name && !o.values.empty())
            return o.values.front();
    return fallback;
}

std::string absolutePath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

std::string runningProgramFolder()
{
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.parent_path().string();
}
