#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// The batch program: `ovsplit-cli split SOURCE.sca SAVE.sca [options]`.
/// Exit codes: 0 success, 1 failure, 2 usage error.
struct OvsplitCli {
  static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
  static void printUsage(std::ostream& stream);
};
