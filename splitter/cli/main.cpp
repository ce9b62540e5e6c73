#include <iostream>

#include "OvsplitCli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return OvsplitCli::run(args, std::cout, std::cerr);
}
