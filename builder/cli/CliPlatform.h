#pragma once
// The platform layer of the batch program: messages go to the error stream with their kind, every
// question gets its safe answer, dialogs are cancelled (the commands pass their paths directly),
// progress is a bar on a terminal, and batch files run through the built-in interpreter.

#include <iosfwd>
#include <string>

#include "base/Platform.h"

class CliPlatform : public Platform {
public:
    /// `drawProgress`: draw progress bars (only sensible when `err` is a terminal).
    CliPlatform(std::ostream& err, bool drawProgress);

    MsgAnswer message(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> browseForFolder(const std::string& prompt, const std::string& startFolder) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
    std::optional<std::int32_t> adjustAltitude(std::int32_t initial) override;
    std::unique_ptr<ProgressWindow> createProgress(const std::string& caption) override;
    BatchRunResult runBatchFile(const std::string& batchPath, const std::string& workDir) override;

    /// The answer given to a message with these buttons: OK alone is acknowledged; otherwise the
    /// choice that changes nothing (Cancel, or No when there is no Cancel).
    static MsgAnswer safeAnswer(MsgButtons buttons);
    /// "error" (stop icon), "warning" (exclamation) or "note" (anything else).
    static const char* kindName(MsgIcon icon);
    /// A message's text as printed: later lines indented under the first, a line holding only a
    /// cause code joined to the line above it.
    static std::string indented(const std::string& text);

    /// Messages printed as errors so far (refused input).
    int stops() const { return stops_; }

    /// While on, a warning refuses the input (a wizard page that warns keeps the user on the
    /// page; here it ends the run) and is printed as an error.
    /// A note that follows such an error only repeats that the input failed and is left out.
    void setRefusalsAreErrors(bool on)
    {
        refusalsAreErrors_ = on;
        refusedHere_ = false;
    }

private:
    std::ostream& err_;
    bool drawProgress_;
    int stops_ = 0;
    bool refusalsAreErrors_ = false;
    bool refusedHere_ = false;   // an error was printed while refusals count
};
