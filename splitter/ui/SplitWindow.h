#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "IniFile.h"
#include "SplitSession.h"

class QAction;
class QMenu;
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

  SplitSession& session() { return *session_; }
  QtSplitPlatform& platform() { return *platform_; }

  /// Splits `path` as "Load OV File" would, without asking for the source (recent files,
  /// a file dropped on the window).
  void loadSource(const QString& path);

  QTabWidget* Page;
  std::array<QWidget*, SplitSession::DocCount> docPages{};
  std::array<QPlainTextEdit*, SplitSession::DocCount> editors{};
  QAction* LoadOvFile;
  QMenu* RecentFiles;
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

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  /// Shows the session's documents, captions, tab, Compile state and unsaved marker.
  void showSession();
  /// Copies the editors' text (the user may have edited it) into the session.
  void pullEdits();
  void fillRecentFiles();
  /// The last size and place, or a default that fits the screen.
  void restoreWindowGeometry();

  std::unique_ptr<QtSplitPlatform> ownPlatform_;
  QtSplitPlatform* platform_;
  IniFile config_;
  std::unique_ptr<SplitSession> session_;
  bool showing_ = false;      ///< the editors are being filled from the session, not typed into
  bool discardAsked_ = false;  ///< Exit asked already; closing must not ask again
};
