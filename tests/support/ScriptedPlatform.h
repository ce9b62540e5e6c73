#pragma once
// A scripted stand-in for the platform layer: records every message and progress call,
// and answers questions and dialogs from queues filled by the test.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Platform.h"

class ScriptedPlatform : public Platform {
public:
    struct Message {
        std::string text;
        MsgIcon icon;
        MsgButtons buttons;
        MsgAnswer answer;
    };

    // --- script ---
    std::deque<MsgAnswer> answers;                        ///< consumed by message() in order
    std::deque<std::optional<std::string>> fileAnswers;   ///< open/save dialogs; nullopt = Cancel
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<std::uint32_t>> colorAnswers;
    std::deque<std::optional<std::int32_t>> altitudeAnswers;  ///< Adjust Altitude dialog; nullopt = Cancel
    /// Called by runBatchFile; returns how the run ended. Default: exit code 0 without doing anything.
    std::function<BatchRunResult(const std::string& batchPath, const std::string& workDir)> batchRunner;
    /// When >= 0, the progress windows report Cancel once after that many position changes.
    int cancelAfterSteps = -1;

    // --- record ---
    std::vector<Message> messages;
    std::vector<FileDialogOptions> fileDialogs;           ///< every open/save dialog shown, in order
    std::vector<std::string> folderPrompts;
    std::vector<std::int32_t> altitudePrompts;             ///< initial value of every Adjust Altitude dialog
    std::vector<std::string> progressLog;                 ///< "create <caption>", "range a b", "pos n 14%", ...
    std::vector<std::string> batchRuns;
    int waitCursorDepth = 0;

    /// The texts of all messages, in order.
    std::vector<std::string> messageTexts() const;

    MsgAnswer message(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> browseForFolder(const std::string& prompt, const std::string& startFolder) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
    std::optional<std::int32_t> adjustAltitude(std::int32_t initial) override;
    std::unique_ptr<ProgressWindow> createProgress(const std::string& caption) override;
    BatchRunResult runBatchFile(const std::string& batchPath, const std::string& workDir) override;
    void setWaitCursor(bool on) override { waitCursorDepth += on ? 1 : -1; }

private:
    friend class ScriptedProgress;
    int stepsSeen_ = 0;
};
