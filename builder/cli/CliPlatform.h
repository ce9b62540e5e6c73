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
    int runBatchFile(const std::string& batchPath, const std::string& workDir) override;

    /// The answer given to a message with these buttons: OK alone is acknowledged; otherwise the
    /// choice that changes nothing (Cancel, or No when there is no Cancel).
    static MsgAnswer safeAnswer(MsgButtons buttons);
    /// "information", "exclamation", "question", "stop" or "message".
    static const char* kindName(MsgIcon icon);

    /// Messages shown with the stop icon so far (refused input).
    int stops() const { return stops_; }

private:
    std::ostream& err_;
    bool drawProgress_;
    int stops_ = 0;
};
