#include "WineOutput.h"

#include "FileText.h"

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

/// "0024:err:..." : four or more hex digits of a thread id, then ":err:".
bool isThreadErrLine(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && isHex(line[i])) ++i;
  return i >= 4 && line.compare(i, 5, ":err:") == 0;
}

bool isWrapperHintStart(const std::string& line) { return startsWith(line, "it looks like wine32 is missing"); }

/// The lines the Debian wrapper prints after its hint.
bool isWrapperHintFollowUp(const std::string& line) {
  return startsWith(line, "multiarch needs to be enabled") || startsWith(line, "execute \"dpkg") ||
         startsWith(line, "apt-get install wine32") || startsWith(line, "as root, please");
}

}  // namespace

bool WineOutput::isErrorLine(const std::string& line) {
  if (startsWith(line, "wine: ")) return !startsWith(line, "wine: created the configuration directory");
  return isThreadErrLine(line);
}

WineOutput::WineOutput(const std::string& errorOutput, bool withWrapperHint) {
  bool inHint = false;
  for (std::string line : FileText::splitLines(errorOutput)) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    bool keep = false;
    if (isWrapperHintStart(line)) {
      inHint = true;
      keep = withWrapperHint;
    } else if (inHint && isWrapperHintFollowUp(line)) {
      keep = withWrapperHint;
    } else {
      inHint = false;
      if (startsWith(line, "wine: ") || isThreadErrLine(line)) {
        keep = true;
        hasErrors_ = hasErrors_ || isErrorLine(line);
      }
    }
    if (keep && lines_.size() < kMaxLines) lines_.push_back(line);
  }
}

std::string WineOutput::saidPart(const std::string& breakText) const {
  if (lines_.empty()) return {};
  std::string text = breakText + "Wine said:";
  for (const std::string& line : lines_) text += breakText + line;
  return text;
}
