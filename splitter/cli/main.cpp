#include <iostream>

#include "OvsplitCli.h"
#include "SplitBuildInfo.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "ovsplit-cli " << SplitBuildInfo::kVersion << " (built " << SplitBuildInfo::kBuildDate << ")\n";
    return 0;
  }
  return OvsplitCli::run(args, std::cout, std::cerr);
}
