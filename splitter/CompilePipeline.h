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
  /// Largest log shown; the rest is cut off.
  static constexpr std::size_t kMaxLogBytes = 16u * 1024 * 1024;

private:
  bool locate(const char* key, const char* notice, const char* title, const char* fileName, const char* filter,
              std::string& target);
  void showLog(bool continueEnabled);

  SplitSession& session_;
  bool abort_ = false;
  bool cancel_ = false;
};
