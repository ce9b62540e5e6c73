#pragma once

#include <string>
#include <vector>

class SplitSession;

/// Turns the split documents into two BGL files: Scasm on part A, Catgen by hand, Scasm on
/// part B, then the copy into a scenery folder. Also finds the two program paths at start-up.
class CompilePipeline {
public:
  explicit CompilePipeline(SplitSession& session) : session_(session) {}

  /// Reads [Paths] Scasm and Catgen, locating what is missing. A cancelled locate leaves that
  /// path empty: splitting and saving work without the programs.
  void findPrograms();
  /// Locates Scasm and Catgen where they are still unknown; false when the user cancelled.
  bool programsReady();
  bool LocateScasm();
  bool LocateCatgen();

  void RunCompile();
  /// Part 'A' or 'B'. Sets the abort flag on failure.
  void RunScasm(char part);
  void RunCatgen();
  void MoveBglFiles();

  bool aborted() const { return abort_; }
  bool moveCancelled() const { return cancel_; }

  /// The Scasm log file name, looked for in the output folder.
  static constexpr const char* kLogName = "SCAERROR.LOG";

  /// Where wine's parts are looked for ("/"; tests point it at a fake layout).
  void setSystemRoot(const std::string& root) { systemRoot_ = root; }

  /// The question before compiling when the output folder or the base name (both in the
  /// Include lines) is not plain ASCII and SCASM is a Windows program.
  static std::string nonAsciiFolderText(const std::string& dir, const std::string& name);

private:
  bool locate(const char* key, const char* notice, const char* title, const char* fileName, const char* filter,
              std::string& target);
  void showLog(bool continueEnabled);
  bool confirmFolderName();
  /// SCASM ended with a code the table does not explain: the code, the log and wine's lines.
  void reportExitCode(int code, const std::string& winePart);

  SplitSession& session_;
  bool abort_ = false;
  bool cancel_ = false;
  std::string systemRoot_ = "/";
};
