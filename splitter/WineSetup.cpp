#include "WineSetup.h"

#include <cstdlib>

#include "FileText.h"
#include "ProcessRunner.h"
#include "WineLayout.h"
#include "WindowsProgram.h"

std::string WineSetup::prefixFolder() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.wine";
}

std::string WineSetup::firstStartNote() {
  const std::string prefix = prefixFolder();
  if (FileText::folderExists(prefix)) return {};
  return "Wine is preparing its folder " + prefix + " for the first time; this can take a few seconds.";
}

std::string WineSetup::missing32BitText(const std::string& name, const std::string& breakText) {
  return name +
         " is a 32-bit Windows program, and this machine's wine runs only 64-bit programs." + breakText +
         "Install wine's 32-bit part as root:" + breakText +
         "  dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386" + breakText +
         "A wine prefix made before that (~/.wine, or $WINEPREFIX) must be made again: move it away and wine makes a "
         "new one.";
}

std::string WineSetup::refusalFor(const std::string& program, const std::string& root) {
  if (WindowsProgram::kindOf(program) != WindowsProgram::Kind::Bits32) return {};
  if (!WineLayout::probe(root, ProcessRunner::findOnPath("wine")).lacks32BitPart()) return {};
  return missing32BitText(FileText::fileNameOf(program), "\r");
}

std::string WineSetup::driveZForm(const std::string& folder) {
  std::string form = "Z:" + folder;
  for (char& c : form)
    if (c == '/') c = '\\';
  return form;
}

bool WineSetup::hasNonAscii(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

std::string WineSetup::windowsFolder(const std::string& folder) {
  const std::string winepath = ProcessRunner::findOnPath("winepath");
  // In a wine folder not made yet winepath would first set it up: the plain form will do.
  if (!winepath.empty() && FileText::folderExists(prefixFolder())) {
    ProcessRunner::Options options;
    options.captureOutput = true;
    options.forwardErrors = false;
    options.timeoutMs = kWinepathTimeoutMs;
    const ProcessRunner::Result r = ProcessRunner::run(winepath, {"-w", folder}, options);
    if (r.exited && r.exitCode == 0) {
      std::string line = r.output.substr(0, r.output.find('\n'));
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      // Only a drive path is an answer ("\\?\unix\..." means wine found no drive for it).
      if (line.size() >= 3 && line[1] == ':' && line[2] == '\\') return line;
    }
  }
  return driveZForm(folder);
}
