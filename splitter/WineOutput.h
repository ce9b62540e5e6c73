#pragma once

#include <string>
#include <vector>

/// Wine's own lines in what a program wrote to its standard error: "wine: ..." lines, error
/// lines of the form "0024:err:module:import_dll ..." (a thread id, then ":err:"), and the
/// Debian wrapper's hint that wine32 is missing with the lines that follow it. ":fixme:" and
/// other debug lines are noise and never kept, as are the ":err:" lines of wine's desktop
/// process when there is no display.
class WineOutput {
public:
  /// At most this many of wine's lines are kept.
  static constexpr std::size_t kMaxLines = 20;

  /// Sorts the lines of `errorOutput`. `withWrapperHint` keeps the wrapper's wine32 hint
  /// (pointless for a program known to be 64-bit: the wrapper prints it on every run).
  explicit WineOutput(const std::string& errorOutput, bool withWrapperHint = true);

  /// Wine's lines, at most kMaxLines: its "wine: " fault lines first, then the others in order.
  const std::vector<std::string>& lines() const { return lines_; }
  /// Whether wine reported an error of its own: a "wine: " line (other than the notes on its
  /// configuration folder) or an ":err:module:" line (a library missing).
  bool hasErrors() const { return hasErrors_; }
  /// Whether wine reported the program crashed ("wine: Unhandled ..."): the exit code that
  /// follows is not always the crash's.
  bool hasCrash() const { return hasCrash_; }
  /// `breakText`, "Wine said:", `breakText`, then the lines joined by `breakText`; empty when
  /// wine said nothing.
  std::string saidPart(const std::string& breakText) const;

  static bool isErrorLine(const std::string& line);

private:
  std::vector<std::string> lines_;
  bool hasErrors_ = false;
  bool hasCrash_ = false;
};
