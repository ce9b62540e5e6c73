#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ProcessRunner.h"

class IniFile;
struct ProjectDetails;

/// Kind of a message box: decides its icon.
enum class MessageType { Plain, Information, Confirmation, Warning, Error };
/// Buttons of a message box.
enum class MessageButtons { Ok, OkCancel, YesNo, Cancel, YesNoCancel };
/// The button that closed a message box (closing it by its frame answers Cancel or No).
enum class MessageAnswer { Ok, Cancel, Yes, No };

/// What an open or save dialog is asked to show.
struct FileDialogRequest {
  std::string title;
  std::string filter;      ///< "description|mask|description|mask..."; masks separated by ';'
  std::string initialDir;  ///< folder to start in; empty lets the dialog choose
  std::string fileName;    ///< file name filled in; may be empty
  std::string defaultExt;  ///< added to a typed name without extension; may be empty
  bool pathMustExist = false;
  bool fileMustExist = false;
  bool overwritePrompt = false;
};

/// Everything the split tool needs from its surroundings. The core talks to the user only
/// through this; the window supplies a Qt implementation, the tests a scripted one and the
/// batch program a non-interactive one.
class SplitPlatform {
public:
  virtual ~SplitPlatform() = default;

  /// Shows a modal message box; `text` uses '\r' as line break.
  virtual MessageAnswer message(const std::string& text, MessageType type, MessageButtons buttons) = 0;
  /// Open dialog; nullopt when cancelled.
  virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
  /// Save dialog; nullopt when cancelled.
  virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;

  /// Project-details dialog: shows `details` and leaves in it what stands in the boxes when it
  /// closes (it has no Cancel).
  virtual void editProjectDetails(ProjectDetails& details) = 0;
  /// Runway dialog: the lines its Ok adds to the library object, or nullopt for Cancel.
  /// `config` is the tool's configuration (the dialog remembers its last runway file there).
  virtual std::optional<std::vector<std::string>> addRunway(IniFile& config) = 0;
  /// Scasm Results dialog showing `log`; true when closed by Continue.
  virtual bool showScasmResults(const std::vector<std::string>& log, bool continueEnabled) = 0;
  /// Catgen Instructions dialog with its six label texts; returns when the user closes it.
  virtual void showCatgenInstructions(const std::array<std::string, 6>& labels) = 0;

  /// One program to run and wait for.
  struct ProgramRun {
    std::string title;  ///< the program's name for the user ("SCASM")
    std::string program;
    std::vector<std::string> args;
    std::string note;   ///< shown while it runs (wine's first start); may be empty
  };
  /// Runs a program and waits for it. The default runs it through ProcessRunner between
  /// programStarting() and programEnded(), calling whileRunning() and stopRequested() meanwhile.
  virtual ProcessRunner::Result runAndWait(const ProgramRun& run);
  /// A program is about to run: a window shows that it runs (with `run.note`) and a way to stop it.
  virtual void programStarting(const ProgramRun&) {}
  /// Called every few tens of milliseconds while the program runs: a window handles its events.
  virtual void whileRunning() {}
  /// True ends the running program.
  virtual bool stopRequested() { return false; }
  virtual void programEnded() {}
  /// Starts a program without waiting; false when it could not be started.
  virtual bool startDetached(const std::string& program, const std::vector<std::string>& args);
  /// Copies `from` onto `to`, overwriting; true on success.
  virtual bool copyFile(const std::string& from, const std::string& to);
  /// The warning sound of a refused input.
  virtual void beep() {}
  /// Lets pending window messages run.
  virtual void processEvents() {}
};
