#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/BuildInfo.h"
#include "cli/OrvaneCli.h"
#ifdef ORVANE_CLI_PREVIEW
// The map picture paints with QtGui, so it lives with the windows' code and is added here.
void addPreviewCommand();
#endif

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "orvane-cli " << BuildInfo::kVersion << " (built " << BuildInfo::kBuildDate << ")\n";
        return 0;
    }
#ifdef ORVANE_CLI_PREVIEW
    addPreviewCommand();
#endif
    return runOrvaneCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
