#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/BuildInfo.h"
#include "cli/OrvaneCli.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "orvane-cli " << BuildInfo::kVersion << " (built " << BuildInfo::kBuildDate << ")\n";
        return 0;
    }
    return runOrvaneCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
