#include "CompilePipeline.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "FileText.h"
#include "IniFile.h"
#include "ProcessRunner.h"
#include "SplitPlatform.h"
#include "SplitSession.h"
#include "WindowsProgram.h"
#include "WineOutput.h"
#include "WineSetup.h"

namespace {

/// Makes the output folder current: Scasm writes its log into the current folder and Catgen
/// starts browsing there.
void enterFolder(const std::string& dir) {
  if (dir.empty()) return;
  std::error_code ec;
  std::filesystem::current_path(dir, ec);
}

/// Existence, time and size of a file: a BGL with another stamp after the run is this run's.
struct FileStamp {
  bool exists = false;
  std::filesystem::file_time_type time{};
  std::uintmax_t size = 0;

  static FileStamp of(const std::string& path) {
    FileStamp stamp;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return stamp;
    stamp.time = std::filesystem::last_write_time(path, ec);
    if (ec) return stamp;
    stamp.size = std::filesystem::file_size(path, ec);
    stamp.exists = !ec;
    return stamp;
  }
  bool freshAfter(const FileStamp& before) const {
    return exists && (!before.exists || time != before.time || size != before.size);
  }
};

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
  if (!confirmFolderName()) {
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
  std::string data, error;
  bool truncated = false;
  if (FileText::fileExists(logPath) && FileText::readFileStart(logPath, data, error, FileText::kMaxLogBytes, truncated)) {
    lines = FileText::splitLines(data);
    if (truncated)
      lines.push_back("(The log is longer than " + std::to_string(FileText::kMaxLogBytes / 1024) +
                      " KB; the rest is in " + logPath + ")");
  }
  const bool goOn = session_.platform().showScasmResults(lines, continueEnabled);
  if (!goOn || !continueEnabled) abort_ = true;
}

std::string CompilePipeline::nonAsciiFolderText(const std::string& dir, const std::string& name) {
  const std::string subject = WineSetup::hasNonAscii(dir)
                                  ? "The output folder " + dir + " has characters outside plain ASCII in its name."
                                  : "The name " + name + " has characters outside plain ASCII.";
  return subject + "\r\r" +
         "SCASM is a Windows program: it reads the Include lines of " + name + "_A.sca and " + name +
         "_B.sca in the Windows code page and may not find " + name + "_C.scm and " + name +
         "_D.scm in this folder. Plain ASCII names avoid this.\r\rCompile all the same?";
}

bool CompilePipeline::confirmFolderName() {
  // The Include lines name the folder in UTF-8; a Windows program reads them in its code page.
  if (!WineSetup::hasNonAscii(session_.dir + session_.name) || !WindowsProgram::isWindowsProgram(session_.scasmPath))
    return true;
  return session_.platform().message(nonAsciiFolderText(session_.dir, session_.name), MessageType::Warning,
                                     MessageButtons::YesNo) == MessageAnswer::Yes;
}

void CompilePipeline::reportExitCode(int code, const std::string& winePart) {
  const std::string logPath = session_.dir + kLogName;
  const bool logExists = FileText::fileExists(logPath);
  session_.platform().message("SCASM ended with exit code " + std::to_string(code) +
                                  (logExists ? "; see " + logPath : std::string("; it left no SCAERROR.LOG")) +
                                  winePart,
                              MessageType::Error, MessageButtons::Ok);
  if (logExists) showLog(false);
}

void CompilePipeline::RunScasm(char part) {
  SplitPlatform& platform = session_.platform();
  const std::string& dir = session_.dir;
  const std::string& scasm = session_.scasmPath;
  enterFolder(dir);
  // An old log would otherwise be taken for this run's.
  const std::string logPath = dir + kLogName;
  std::error_code ec;
  if (FileText::fileExists(logPath)) std::filesystem::remove(logPath, ec);

  const bool throughWine = ProcessRunner::runsThroughWine(scasm);
  if (throughWine) {
    const std::string refusal = WineSetup::refusalFor(scasm, systemRoot_);
    if (!refusal.empty()) {
      platform.message(refusal, MessageType::Error, MessageButtons::Ok);
      abort_ = true;
      return;
    }
  }
  const std::string base = dir + session_.name + "_" + part;
  const std::string bgl = base + ".bgl";
  const FileStamp before = FileStamp::of(bgl);
  const ProcessRunner::Result result = platform.runAndWait(
      {"SCASM", scasm, {base + ".sca", "-l"}, throughWine ? WineSetup::firstStartNote() : std::string()});
  // The wrapper's wine32 hint comes with every run; for a 64-bit program it explains nothing.
  const WineOutput wine(result.errorOutput, WindowsProgram::kindOf(scasm) != WindowsProgram::Kind::Bits64);
  const std::string winePart = wine.saidPart("\r");

  if (!result.started) {
    platform.message("Could not run Scasm.exe\r\rProcess Aborted", MessageType::Error, MessageButtons::Cancel);
    abort_ = true;
    return;
  }
  if (result.stopped) {
    platform.message("SCASM was stopped.", MessageType::Information, MessageButtons::Ok);
    abort_ = true;
    return;
  }
  if (!result.exited) {
    const bool logExists = FileText::fileExists(logPath);
    platform.message("SCASM ended by signal " + std::to_string(result.signal) +
                         (logExists ? "; see " + logPath : std::string("; it left no SCAERROR.LOG")) + winePart,
                     MessageType::Error, MessageButtons::Ok);
    if (logExists) showLog(false);
    abort_ = true;
    return;
  }
  const int code = result.exitCode;
  if (code == 0 || code == 3) {
    // A program that never ran (a 32-bit one under 64-bit wine) also ends with 0.
    if (!FileStamp::of(bgl).freshAfter(before)) {
      platform.message("SCASM ended without writing " + bgl + winePart, MessageType::Error, MessageButtons::Ok);
      if (FileText::fileExists(logPath)) showLog(false);
      abort_ = true;
      return;
    }
    // A crash may still end with 0 and leave a BGL behind: not one to build on.
    if (wine.hasCrash()) {
      reportExitCode(code, winePart);
      abort_ = true;
      return;
    }
    if (code == 0) showLog(true);
    // Code 3 goes on without showing anything.
    return;
  }
  const bool syntaxCode = code == 1 || code == 4 || code == 5;
  // Wine hands a crash on as 5 and a program it cannot start as 1: without SCASM's log those
  // codes are not SCASM's report.
  if (wine.hasErrors() || (!syntaxCode && code != 2) || (syntaxCode && !FileText::fileExists(logPath))) {
    reportExitCode(code, winePart);
  } else {
    const char* text =
        code == 1 ? "Scasm: \"Scasm: \"syntax error(s) in source file\" reported,\r\rAborting Process"
        : code == 2
            ? "Scasm: \"file init error\" reported\r(disk space, file names, access permissions, etc.)\r\rAborting Process"
            : "Scasm: \"aborted due to too many syntax errors\" reported\r\rAborting Process";
    platform.message(text, MessageType::Error, MessageButtons::Ok);
    showLog(false);
  }
  abort_ = true;
}

void CompilePipeline::RunCatgen() {
  SplitPlatform& platform = session_.platform();
  const std::string& catgen = session_.catgenPath;
  const bool throughWine = ProcessRunner::runsThroughWine(catgen);
  if (throughWine) {
    const std::string refusal = WineSetup::refusalFor(catgen, systemRoot_);
    if (!refusal.empty()) {
      platform.message(refusal, MessageType::Error, MessageButtons::Ok);
      abort_ = true;
      return;
    }
  }
  enterFolder(session_.dir);
  platform.processEvents();
  // Whether Catgen starts is not looked at: the instructions are shown either way.
  platform.startDetached(catgen, {});
  const std::string& dir = session_.dir;
  const std::string& name = session_.name;
  // Catgen's file dialog under wine knows drives, not Linux folders; the label takes two lines.
  const std::string folder =
      throughWine ? WineSetup::windowsFolder(dir) + "\n(the Linux folder " + dir + ")" : dir;
  platform.showCatgenInstructions({"In the Catgen Window:", "Click \"NEW\" and navigate to: " + folder,
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
