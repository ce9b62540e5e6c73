#include "SplitPlatform.h"

#include "FileText.h"
#include "ProcessRunner.h"

ProcessRunner::Result SplitPlatform::runAndWait(const ProgramRun& run) {
  ProcessRunner::Options options;
  options.idle = [this] { whileRunning(); };
  options.stopRequested = [this] { return stopRequested(); };
  programStarting(run);
  ProcessRunner::Result result = ProcessRunner::run(run.program, run.args, options);
  programEnded();
  return result;
}

bool SplitPlatform::startDetached(const std::string& program, const std::vector<std::string>& args) {
  return ProcessRunner::startDetached(program, args);
}

bool SplitPlatform::copyFile(const std::string& from, const std::string& to) {
  return FileText::copyFile(from, to);
}
