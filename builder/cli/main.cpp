#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/OrvaneCli.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return runOrvaneCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
