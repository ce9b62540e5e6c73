#include "CliPlatform.h"

#include <ostream>

#include "IniFile.h"

namespace {

std::string printable(std::string text) {
  for (char& c : text)
    if (c == '\r') c = '\n';
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

CliPlatform::CliPlatform(std::ostream& err, DetailOverrides overrides, std::vector<std::vector<std::string>> runways,
                         bool strict, std::vector<std::string> runwayFiles)
    : err_(err),
      overrides_(std::move(overrides)),
      runways_(std::move(runways)),
      runwayFiles_(std::move(runwayFiles)),
      strict_(strict) {}

MessageAnswer CliPlatform::message(const std::string& text, MessageType type, MessageButtons buttons) {
  if (text == "Add a Runway?") return nextRunway_ < runways_.size() ? MessageAnswer::Yes : MessageAnswer::No;
  if (text.rfind("Document processing complete...", 0) == 0) return MessageAnswer::No;  // no compiling here
  if (text.rfind("Save documents to:", 0) == 0) return MessageAnswer::Yes;

  const std::string notValid = "\r\rMay not be a valid Orvane file";
  if (endsWith(text, notValid) && strict_) {
    // One line: the refusal is the failure, not a warning before it.
    err_ << "ovsplit-cli: error: " << text.substr(0, text.size() - notValid.size())
         << ": the first line is not the expected copyright line (--strict)\n";
    ++errors_;
    refused_ = true;
    return MessageAnswer::Cancel;
  }
  // The kind of a message as command-line tools print it.
  if (type == MessageType::Error) {
    ++errors_;
    err_ << "ovsplit-cli: error: " << printable(text) << "\n";
  } else if (type == MessageType::Warning) {
    err_ << "ovsplit-cli: warning: " << printable(text) << "\n";
  } else {
    err_ << "ovsplit-cli: note: " << printable(text) << "\n";
  }
  switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
    case MessageButtons::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
  }
}

void CliPlatform::editProjectDetails(ProjectDetails& details) {
  if (overrides_.objectName) details.objectName = *overrides_.objectName;
  for (std::size_t k = 0; k < 4; ++k)
    if (overrides_.ids[k]) details.ids[k] = *overrides_.ids[k];
  if (overrides_.quoted) details.quoted = *overrides_.quoted;
}

std::optional<std::vector<std::string>> CliPlatform::addRunway(IniFile& config) {
  if (nextRunway_ >= runways_.size()) return std::nullopt;
  if (nextRunway_ < runwayFiles_.size() && !runwayFiles_[nextRunway_].empty())
    config.writeString("Recent", "Runway", runwayFiles_[nextRunway_]);
  return runways_[nextRunway_++];
}

void CliPlatform::programStarting(const ProgramRun& run) {
  if (!run.note.empty()) err_ << "ovsplit-cli: note: " << printable(run.note) << "\n";
}
