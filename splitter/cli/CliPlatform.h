#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ProjectDetails.h"
#include "SplitPlatform.h"

/// The batch program's answers to the split's questions: the project details come from the
/// command line, one runway is added per runway file given, the documents are saved and not
/// compiled. Messages go to the error stream as "error:", "warning:" or "note:" lines.
class CliPlatform : public SplitPlatform {
public:
  /// Which project-detail values the command line set (unset ones keep what is offered).
  struct DetailOverrides {
    std::optional<std::string> objectName;
    std::array<std::optional<std::string>, 4> ids;
    std::optional<std::array<bool, 4>> quoted;
  };

  /// `runwayFiles[i]`, when given and not empty, is the file runway i came from: handing it out
  /// remembers it as the last runway file, as the dialog's Load does.
  CliPlatform(std::ostream& err, DetailOverrides overrides, std::vector<std::vector<std::string>> runways,
              bool strict, std::vector<std::string> runwayFiles = {});

  MessageAnswer message(const std::string& text, MessageType type, MessageButtons buttons) override;
  std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
  void editProjectDetails(ProjectDetails& details) override;
  std::optional<std::vector<std::string>> addRunway(IniFile& config) override;
  bool showScasmResults(const std::vector<std::string>&, bool) override { return false; }
  void showCatgenInstructions(const std::array<std::string, 6>&) override {}
  /// A program's note (wine's first start) as a note line; the batch program just waits.
  void programStarting(const ProgramRun& run) override;

  /// Errors reported so far (an unreadable source, a document that could not be written...).
  int errors() const { return errors_; }
  /// The copyright check failed and --strict refused the source.
  bool refused() const { return refused_; }

private:
  std::ostream& err_;
  DetailOverrides overrides_;
  std::vector<std::vector<std::string>> runways_;
  std::vector<std::string> runwayFiles_;
  std::size_t nextRunway_ = 0;
  bool strict_;
  int errors_ = 0;
  bool refused_ = false;
};
