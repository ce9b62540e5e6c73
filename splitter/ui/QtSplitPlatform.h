#pragma once

#include <QPointer>
#include <QString>

#include "SplitPlatform.h"

class QWidget;
class CatgenInstructionsDialog;
class ProgramRunningDialog;
class ScasmResultsDialog;
class RunwayDialog;
class ProjectDetailsDialog;

/// The split tool's platform on Qt Widgets: message boxes, file dialogs and the tool's own
/// dialogs (created on first use, parented to the main window). Programs run through the
/// core's runner; the virtual functions let tests answer messages and file dialogs.
class QtSplitPlatform : public SplitPlatform {
public:
  QtSplitPlatform() = default;
  QtSplitPlatform(const QtSplitPlatform&) = delete;
  QtSplitPlatform& operator=(const QtSplitPlatform&) = delete;
  /// Deletes the dialogs it made (those left when their parent window is already gone).
  ~QtSplitPlatform() override;

  /// The main window: parent of every dialog, hidden while the Catgen instructions are up.
  void setMainWindow(QWidget* window) { mainWindow_ = window; }
  QWidget* mainWindow() const { return mainWindow_; }

  MessageAnswer message(const std::string& text, MessageType type, MessageButtons buttons) override;
  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
  void editProjectDetails(ProjectDetails& details) override;
  std::optional<std::vector<std::string>> addRunway(IniFile& config) override;
  bool showScasmResults(const std::vector<std::string>& log, bool continueEnabled) override;
  void showCatgenInstructions(const std::array<std::string, 6>& labels) override;
  /// While a program runs: the application-modal running note with its Stop button and a
  /// busy cursor; the window goes on handling its events (it repaints) meanwhile.
  void programStarting(const ProgramRun& run) override;
  void whileRunning() override;
  bool stopRequested() override;
  void programEnded() override;
  void beep() override;
  void processEvents() override;

  ProjectDetailsDialog* projectDetailsDialog();
  RunwayDialog* runwayDialog();
  ScasmResultsDialog* scasmResultsDialog();
  CatgenInstructionsDialog* catgenDialog();
  ProgramRunningDialog* runningDialog();

  /// "desc|mask|desc|mask" as a Qt name-filter list ("desc (mask)").
  static QStringList nameFilters(const std::string& filter);
  /// A message text with its '\r' line breaks as Qt shows them.
  static QString displayText(const std::string& text);

private:
  std::optional<std::string> fileDialog(const FileDialogRequest& request, bool save);

  QPointer<QWidget> mainWindow_;
  QPointer<ProjectDetailsDialog> form6_;
  QPointer<RunwayDialog> form4_;
  QPointer<ScasmResultsDialog> form3_;
  QPointer<CatgenInstructionsDialog> form2_;
  QPointer<ProgramRunningDialog> running_;
};
