#include "SplitPlatform.h"

#include "FileText.h"
#include "ProcessRunner.h"

int SplitPlatform::runAndWait(const std::string& program, const std::vector<std::string>& args) {
  return ProcessRunner::runAndWait(program, args);
}

bool SplitPlatform::startDetached(const std::string& program, const std::vector<std::string>& args) {
  return ProcessRunner::startDetached(program, args);
}

bool SplitPlatform::copyFile(const std::string& from, const std::string& to) {
  return FileText::copyFile(from, to);
}
