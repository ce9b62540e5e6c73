#include "CompilePipeline.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "FileText.h"
#include "IniFile.h"
#include "SplitPlatform.h"
#include "SplitSession.h"

namespace {

/// Makes the output folder current: Scasm writes its log into the current folder and Catgen
/// starts browsing there.
void enterFolder(const std::string& dir) {
  if (dir.empty()) return;
  std::error_code ec;
  std::filesystem::current_path(dir, ec);
}

}  // namespace

void CompilePipeline::findPrograms() {
  IniFile& config = session_.config();
  const std::string scasm = config.readString("Paths", "Scasm");
  if (FileText::fileExists(scasm)) {
    session_.scasmPath = scasm;
  } else if (!LocateScasm()) {
    return;  // the documents can be split and saved without Scasm; Compile asks again
  }
  const std::string catgen = config.readString("Paths", "Catgen");
  if (FileText::fileExists(catgen)) {
    session_.catgenPath = catgen;
  } else if (FileText::fileExists(config.readString("Paths", "Scasm"))) {
    LocateCatgen();
  }
}

bool CompilePipeline::programsReady() {
  if (!FileText::fileExists(session_.scasmPath) && !LocateScasm()) return false;
  if (!FileText::fileExists(session_.catgenPath) && !LocateCatgen()) return false;
  return true;
}

bool CompilePipeline::locate(const char* key, const char* notice, const char* title, const char* fileName,
                             const char* filter, std::string& target) {
  SplitPlatform& platform = session_.platform();
  IniFile& config = session_.config();
  platform.message(notice, MessageType::Information, MessageButtons::Ok);
  for (;;) {
    const std::string stored = config.readString("Paths", key);
    if (FileText::fileExists(stored)) {
      target = stored;
      return true;
    }
    FileDialogRequest request;
    request.title = title;
    request.fileName = fileName;
    request.filter = filter;
    request.pathMustExist = true;
    request.fileMustExist = true;
    const auto chosen = platform.openFile(request);
    if (!chosen) return false;
    config.writeString("Paths", key, *chosen);
    target = *chosen;
    // A configuration file that cannot be written would never show the chosen path on the
    // next pass; the chosen file itself is proof enough.
    if (FileText::fileExists(*chosen)) return true;
  }
}

bool CompilePipeline::LocateScasm() {
  return locate("Scasm", "Please locate Scasm.exe on your system", "Browse to Scasm.exe", "Scasm.exe",
                "Scasm.exe |SCASM.EXE", session_.scasmPath);
}

bool CompilePipeline::LocateCatgen() {
  return locate("Catgen", "Please locate Catgen.exe on your system", "Browse to Catgen.exe", "Catgen.exe",
                "Catgen.exe |CATGEN.EXE", session_.catgenPath);
}

void CompilePipeline::RunCompile() {
  // Locating may have been put off at start-up.
  if (!programsReady()) {
    abort_ = true;
    return;
  }
  // The pipeline always works on the editors' current text; without saved documents there
  // is nothing for Scasm to read.
  if (!session_.SaveDocuments()) {
    abort_ = true;
    return;
  }
  abort_ = false;
  RunScasm('A');
  if (!abort_) RunCatgen();
  if (!abort_) RunScasm('B');
  if (abort_) return;
  if (session_.platform().message("Move Bgl files to your Orvane scenery directory?\r", MessageType::Confirmation,
                                  MessageButtons::YesNo) == MessageAnswer::Yes)
    MoveBglFiles();
}

void CompilePipeline::showLog(bool continueEnabled) {
  std::vector<std::string> lines;
  const std::string logPath = session_.dir + kLogName;
  if (FileText::fileExists(logPath)) {
    std::ifstream in(logPath, std::ios::binary);
    std::string data(kMaxLogBytes, '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    lines = FileText::splitLines(data);
  }
  const bool goOn = session_.platform().showScasmResults(lines, continueEnabled);
  if (!goOn || !continueEnabled) abort_ = true;
}

void CompilePipeline::RunScasm(char part) {
  SplitPlatform& platform = session_.platform();
  const std::string& dir = session_.dir;
  enterFolder(dir);
  // An old log would otherwise be taken for this run's.
  const std::string logPath = dir + kLogName;
  std::error_code ec;
  if (FileText::fileExists(logPath)) std::filesystem::remove(logPath, ec);

  const std::string source = dir + session_.name + "_" + part + ".sca";
  const int code = platform.runAndWait(session_.scasmPath, {source, "-l"});

  if (code < 0) {
    platform.message("Could not run Scasm.exe\r\rProcess Aborted", MessageType::Error, MessageButtons::Cancel);
    abort_ = true;
  } else if (code == 0) {
    showLog(true);
  } else if (code == 3) {
    // Goes on without showing anything.
  } else {
    const char* text =
        code == 1 ? "Scasm: \"Scasm: \"syntax error(s) in source file\" reported,\r\rAborting Process"
        : code == 2
            ? "Scasm: \"file init error\" reported\r(disk space, file names, access permissions, etc.)\r\rAborting Process"
            : "Scasm: \"aborted due to too many syntax errors\" reported\r\rAborting Process";
    platform.message(text, MessageType::Error, MessageButtons::Ok);
    showLog(false);
    abort_ = true;
  }
}

void CompilePipeline::RunCatgen() {
  SplitPlatform& platform = session_.platform();
  enterFolder(session_.dir);
  platform.processEvents();
  // Whether Catgen starts is not looked at: the instructions are shown either way.
  platform.startDetached(session_.catgenPath, {});
  const std::string& dir = session_.dir;
  const std::string& name = session_.name;
  platform.showCatgenInstructions({"In the Catgen Window:", "Click \"NEW\" and navigate to: " + dir,
                                   "Save file as " + name + ".cat (if asked for index table size, click OK)",
                                   "Click \"BGL\" and load " + name + "_A.bgl", "Click \"ADD\", then \"SAVE\".",
                                   "Close Catgen and click \"OK\" in this window."});
}

void CompilePipeline::MoveBglFiles() {
  SplitPlatform& platform = session_.platform();
  IniFile& config = session_.config();
  const std::string& name = session_.name;
  cancel_ = false;

  FileDialogRequest request;
  request.title = "Browse to scenery directory";
  request.pathMustExist = true;
  request.fileName = name + "_A.bgl";
  request.filter = name + "_A.bgl |" + name + "_A.bgl";
  const std::string moved = config.readString("Recent", "Moved");
  if (!moved.empty() && FileText::folderExists(FileText::folderOf(moved)))
    request.initialDir = FileText::folderOf(moved);

  const auto chosen = platform.saveFile(request);
  if (!chosen) {
    cancel_ = true;
    return;
  }
  config.writeString("Recent", "Moved", *chosen);

  const std::string sourceA = session_.dir + name + "_A.bgl";
  const std::string sourceB = session_.dir + name + "_B.bgl";
  const std::string folder = FileText::folderOf(*chosen);
  const std::string targetA = folder + name + "_A.bgl";
  const std::string targetB = folder + name + "_B.bgl";

  if (FileText::fileExists(targetA) || FileText::fileExists(targetB)) {
    if (platform.message("Overwrite existing files?\r", MessageType::Confirmation, MessageButtons::YesNo) !=
        MessageAnswer::Yes)
      cancel_ = true;
  }
  if (cancel_) return;

  const bool copiedA = platform.copyFile(sourceA, targetA);
  const bool copiedB = platform.copyFile(sourceB, targetB);
  platform.message(targetA + (copiedA ? " status: Copied" : " status: Error") + "\r\r" + targetB +
                       (copiedB ? " status: Copied" : " status: Error") + "\r",
                   copiedA && copiedB ? MessageType::Information : MessageType::Warning, MessageButtons::Ok);
}
