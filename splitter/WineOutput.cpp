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

/// "wine: " lines that report wine's own set-up, not a fault.
bool isSetUpLine(const std::string& line) {
  return startsWith(line, "wine: created the configuration directory") || startsWith(line, "wine: configuration in");
}

/// Lines of wine's desktop process started without a display: they come whatever the program
/// does, and say nothing about it.
bool isDesktopNoise(const std::string& line) {
  for (const char* topic : {":err:winediag:nodrv_", ":err:systray:", ":err:ole:"})
    if (line.find(topic) != std::string::npos) return true;
  return false;
}

bool isWrapperHintStart(const std::string& line) { return startsWith(line, "it looks like wine32 is missing"); }

/// The lines the Debian wrapper prints after its hint.
bool isWrapperHintFollowUp(const std::string& line) {
  return startsWith(line, "multiarch needs to be enabled") || startsWith(line, "execute \"dpkg") ||
         startsWith(line, "apt-get install wine32") || startsWith(line, "as root, please");
}

}  // namespace

bool WineOutput::isErrorLine(const std::string& line) {
  if (startsWith(line, "wine: ")) return !isSetUpLine(line);
  // A program wine could not load: a library it needs is missing.
  return isThreadErrLine(line) && line.find(":err:module:") != std::string::npos;
}

WineOutput::WineOutput(const std::string& errorOutput, bool withWrapperHint) {
  // Wine's summary lines ("wine: Unhandled page fault ...") lead: the ":err:" lines of other
  // wine processes (a desktop without a display, for one) may come before them.
  std::vector<std::string> summary, rest;
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
      if (startsWith(line, "wine: ") || (isThreadErrLine(line) && !isDesktopNoise(line))) {
        keep = true;
        hasErrors_ = hasErrors_ || isErrorLine(line);
        hasCrash_ = hasCrash_ || startsWith(line, "wine: Unhandled");
      }
    }
    if (keep) (startsWith(line, "wine: ") && !isSetUpLine(line) ? summary : rest).push_back(line);
  }
  for (auto* group : {&summary, &rest})
    for (const std::string& line : *group)
      if (lines_.size() < kMaxLines) lines_.push_back(line);
}

std::string WineOutput::saidPart(const std::string& breakText) const {
  if (lines_.empty()) return {};
  std::string text = breakText + "Wine said:";
  for (const std::string& line : lines_) text += breakText + line;
  return text;
}
