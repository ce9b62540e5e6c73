#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/OrvaneCli.h"
#ifdef ORVANE_CLI_PREVIEW
// The map picture paints with QtGui, so it lives with the windows' code and is added here.
void addPreviewCommand();
#endif

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef ORVANE_CLI_PREVIEW
    addPreviewCommand();
#endif
    return runOrvaneCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
