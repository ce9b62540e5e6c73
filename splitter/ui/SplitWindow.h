#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "IniFile.h"
#include "SplitSession.h"

class QAction;
class QPlainTextEdit;
class QTabWidget;
class QWidget;
class QtSplitPlatform;

/// The split tool's main window: six editors in tabs (the source and the five documents) and
/// the File, Compile and About menus. The commands themselves live in SplitSession.
class SplitWindow : public QMainWindow {
  Q_OBJECT
public:
  /// Opens OVSPLIT.cfg in `configFolder` and finds the Scasm and Catgen paths. `platform` may
  /// be given (tests); otherwise the window makes its own.
  explicit SplitWindow(const QString& configFolder, QtSplitPlatform* platform = nullptr, QWidget* parent = nullptr);
  ~SplitWindow() override;

  /// False when the user cancelled locating Scasm or Catgen: the application is to end.
  bool startupOk() const { return startupOk_; }
  SplitSession& session() { return *session_; }
  QtSplitPlatform& platform() { return *platform_; }

  QTabWidget* Page;
  std::array<QWidget*, SplitSession::DocCount> docPages{};
  std::array<QPlainTextEdit*, SplitSession::DocCount> editors{};
  QAction* LoadOvFile;
  QAction* SaveAllDocs;
  QAction* ClearAllDocs;
  QAction* Mexit;
  QAction* MCompileNow;
  QAction* AboutOVSplit;

public slots:
  void LoadOvFileClick();
  void SaveAllDocsClick();
  void ClearAllDocsClick();
  void MexitClick();
  void MCompileNowClick();
  void AboutOVSplitClick();

private:
  /// Shows the session's documents, captions, tab and Compile state.
  void showSession();
  /// Copies the editors' text (the user may have edited it) into the session.
  void pullEdits();

  std::unique_ptr<QtSplitPlatform> ownPlatform_;
  QtSplitPlatform* platform_;
  IniFile config_;
  std::unique_ptr<SplitSession> session_;
  bool startupOk_ = true;
};
