// The batch interpreter: any batch file runs without a fault. No program is ever started: the
// file lives outside an empty work folder, the PATH is empty, and lines naming a path are
// not tried (they could name any program on the machine).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "output/BatchInterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (text.find_first_of("/\\") != std::string::npos) return 0;
  static const std::string workDir = [] {
    ::setenv("PATH", "", 1);
    const std::string dir = std::filesystem::temp_directory_path().string() + "/orvane-fuzz-empty-" +
                            std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    return dir;
  }();
  BatchCallbacks callbacks;
  std::size_t said = 0;
  callbacks.output = [&said](const std::string& t) { said += t.size(); };
  callbacks.pause = [] {};
  callbacks.idle = [] {};
  (void)interpretBatchFile(fuzz::asFile(data, size, ".bat"), workDir, callbacks);
  return 0;
}
