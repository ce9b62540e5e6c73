#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ProjectDetails.h"
#include "SplitPlatform.h"

/// Test double of the split tool's platform: records every message, dialog and program start
/// and answers from scripted queues. Programs really run (through the default runner), so the
/// pipeline meets real stand-in programs.
class ScriptedSplitPlatform : public SplitPlatform {
public:
  struct Message {
    std::string text;
    MessageType type;
    MessageButtons buttons;
  };
  struct Run {
    std::string program;
    std::vector<std::string> args;
    bool waited;
    std::string title;  ///< of a waited run
    std::string note;
  };
  struct Results {
    std::vector<std::string> log;
    bool continueEnabled;
  };

  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;  ///< consumed in order; when empty: Ok, or No for Yes/No, Cancel for Cancel
  std::vector<FileDialogRequest> openRequests, saveRequests;
  std::deque<std::optional<std::string>> openAnswers, saveAnswers;  ///< empty queue: cancelled
  std::vector<ProjectDetails> offeredDetails;
  std::function<void(ProjectDetails&)> detailsEditor;
  std::deque<std::optional<std::vector<std::string>>> runways;
  std::vector<Results> results;
  std::deque<bool> continueAnswers;  ///< empty: Continue
  std::vector<std::array<std::string, 6>> catgenLabels;
  std::vector<Run> runs;
  std::vector<ProcessRunner::Result> runResults;  ///< how each waited run ended
  /// A waited run that is still going after this long is stopped: no test hangs.
  std::chrono::seconds runLimit{120};
  /// Answers the stop query (after the limit it is always true); counts the idle calls.
  std::function<bool()> stopAnswer;
  int idleCalls = 0;
  std::function<bool(const std::string&, const std::string&)> copier;  ///< overrides the real copy
  std::function<void(IniFile&)> onAddRunway;  ///< what the runway dialog does to the configuration

  MessageAnswer message(const std::string& text, MessageType type, MessageButtons buttons) override {
    messages.push_back({text, type, buttons});
    if (!answers.empty()) {
      const MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    switch (buttons) {
      case MessageButtons::YesNo: return MessageAnswer::No;
      case MessageButtons::Cancel:
      case MessageButtons::YesNoCancel: return MessageAnswer::Cancel;
      default: return MessageAnswer::Ok;
    }
  }
  std::optional<std::string> openFile(const FileDialogRequest& r) override {
    openRequests.push_back(r);
    return next(openAnswers);
  }
  std::optional<std::string> saveFile(const FileDialogRequest& r) override {
    saveRequests.push_back(r);
    return next(saveAnswers);
  }
  void editProjectDetails(ProjectDetails& d) override {
    offeredDetails.push_back(d);
    if (detailsEditor) detailsEditor(d);
  }
  std::optional<std::vector<std::string>> addRunway(IniFile& config) override {
    if (onAddRunway) onAddRunway(config);
    return next(runways);
  }
  bool showScasmResults(const std::vector<std::string>& log, bool continueEnabled) override {
    results.push_back({log, continueEnabled});
    if (continueAnswers.empty()) return true;
    const bool a = continueAnswers.front();
    continueAnswers.pop_front();
    return a;
  }
  void showCatgenInstructions(const std::array<std::string, 6>& labels) override { catgenLabels.push_back(labels); }
  ProcessRunner::Result runAndWait(const ProgramRun& run) override {
    runs.push_back({run.program, run.args, true, run.title, run.note});
    runStarted_ = std::chrono::steady_clock::now();
    runResults.push_back(SplitPlatform::runAndWait(run));
    return runResults.back();
  }
  void whileRunning() override { ++idleCalls; }
  bool stopRequested() override {
    if (std::chrono::steady_clock::now() - runStarted_ > runLimit) return true;
    return stopAnswer && stopAnswer();
  }
  bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
    runs.push_back({program, args, false, {}, {}});
    return SplitPlatform::startDetached(program, args);
  }
  bool copyFile(const std::string& from, const std::string& to) override {
    return copier ? copier(from, to) : SplitPlatform::copyFile(from, to);
  }

  /// Texts of all messages shown, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> t;
    for (const auto& m : messages) t.push_back(m.text);
    return t;
  }

private:
  std::chrono::steady_clock::time_point runStarted_;

  template <typename T>
  static std::optional<T> next(std::deque<std::optional<T>>& q) {
    if (q.empty()) return std::nullopt;
    auto v = q.front();
    q.pop_front();
    return v;
  }
};
