#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "CompilePipeline.h"
#include "ProjectDetails.h"

class IniFile;
class SplitPlatform;

/// The state and commands of the split tool's main window, without any widgets: the six
/// documents with their tab captions, the output folder and base name of the last split,
/// loading, checking, splitting, saving and clearing. The window mirrors this state in its
/// editors (see `onChanged` and `onPullEdits`).
class SplitSession {
public:
  enum Doc { OvDoc, DocumentA, DocumentB, DocumentC, DocumentD, CompileDoc, DocCount };

  static const std::array<const char*, DocCount> kInitialCaptions;

  SplitSession(SplitPlatform& platform, IniFile& config);

  SplitPlatform& platform() { return platform_; }
  IniFile& config() { return config_; }
  CompilePipeline& pipeline() { return pipeline_; }

  /// Start-up after the configuration is open: clears the documents and finds the Scasm and
  /// Catgen paths (locating them when missing; a cancel leaves them to Compile).
  void startUp();

  /// "Load OV File": the dialogs and questions, then the split. A `source` given (a recent
  /// file, a file dropped on the window) stands in for the open dialog's answer.
  void LoadOvFile(const std::string& source = {});
  /// The first-line check; false ends the load. An unreadable or empty file is reported and
  /// gives false.
  bool CheckSourceFile(const std::string& path);
  /// Splits a source into the documents. Reads the source first: a source that cannot be read
  /// or is empty is reported and leaves the documents as they were (returns false).
  bool SplitSource(const std::string& sourcePath, const std::string& savePath);
  /// Appends the compile instructions to CompileDoc.
  void WriteCompileInstructions();
  void ClearDocuments();
  /// Writes the five output documents (CR LF, overwriting). False, after telling the user,
  /// when there is nothing split yet or a file cannot be written.
  bool SaveDocuments();
  /// "Exit": true when the user confirms.
  bool ConfirmExit();
  /// Before documents are thrown away: asks "Save changes?" when they changed since the last
  /// save. True when the caller may go on (saved, or the user chose not to save).
  bool ConfirmDiscard();
  /// "About OVSplit".
  void About();

  std::array<std::vector<std::string>, DocCount> docs;
  std::array<std::string, DocCount> captions;
  int activeTab = 0;
  bool compileEnabled = false;
  std::string dir;   ///< output folder of the last split, with its final separator
  std::string name;  ///< base name of the last split
  std::string scasmPath;
  std::string catgenPath;
  ProjectDetails details;  ///< as finally used by the last split
  bool modified = false;   ///< documents split or edited since they were last saved or cleared

  /// Called after the session changed documents, captions or the Compile state.
  std::function<void()> onChanged;
  /// Called before the documents are used (saved): the window copies its editors' text in.
  std::function<void()> onPullEdits;

private:
  void changed();

  SplitPlatform& platform_;
  IniFile& config_;
  CompilePipeline pipeline_;
};
