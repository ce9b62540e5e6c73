#pragma once
// The one door through which the core logic talks to the user and to the operating system.
// The Qt program implements it with real widgets; tests implement it with a scripted double.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ProgressWindow.h"

enum class MsgIcon { None, Information, Exclamation, Question, Stop };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

/// How a batch run ended.
struct BatchRunResult {
    /// The exit code of the last program run (0 when none ran); negative when the batch file could
    /// not be read or a program could not be started.
    int exitCode = 0;
    /// The user stopped a running program; the rest of the batch file did not run.
    bool stopped = false;
    /// Why a program was not started, when one was not (also shown in the console).
    std::string refusal;
    /// The lines wine printed about the program (not the program's own output), in order.
    std::vector<std::string> wineLines;
};

/// Options of an open or save file dialog. `filter` uses the classic "Text|*.ext|Text2|*.e2||" form.
struct FileDialogOptions {
    std::string title;
    std::string filter;
    std::string initialDir;
    std::string initialFile;
    std::string defaultExt;   ///< without the dot; appended when the user typed none
    bool hideReadOnly = false;
    bool overwritePrompt = false;
    bool mustExist = false;
};

class Platform {
public:
    virtual ~Platform() = default;

    /// Shows a modal message box and returns the button pressed.
    virtual MsgAnswer message(const std::string& text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok) = 0;

    /// Open / save file dialogs: the chosen full path, or nothing when cancelled.
    virtual std::optional<std::string> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogOptions& options) = 0;

    /// The folder browser (folders only) starting at `startFolder`; nothing when cancelled.
    virtual std::optional<std::string> browseForFolder(const std::string& prompt, const std::string& startFolder) = 0;

    /// The colour chooser; colours are 0x00BBGGRR. Nothing when cancelled.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;

    /// The "Adjust Altitude" dialog: an altitude in metres, starting at `initial`; nothing on Cancel.
    virtual std::optional<std::int32_t> adjustAltitude(std::int32_t initial) = 0;

    /// Creates and shows a progress window over the active window (disabling it while open).
    /// The caller owns the window; destroying it closes it and enables the owner again.
    virtual std::unique_ptr<ProgressWindow> createProgress(const std::string& caption) = 0;

    /// Runs a batch file of the classic form (@echo off, program lines, pause) in `workDir`
    /// and waits until it has ended.
    virtual BatchRunResult runBatchFile(const std::string& batchPath, const std::string& workDir) = 0;

    /// Wait cursor on / off around long operations without a progress window.
    virtual void setWaitCursor(bool on) { (void)on; }

    /// Opens a web address in the desktop browser.
    virtual void openUrl(const std::string& url) { (void)url; }

    /// Lets pending window messages run (repaint, the progress Cancel button).
    virtual void pumpEvents() {}
};
