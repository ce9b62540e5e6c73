#pragma once
// The platform of the benchmark programs: nobody answers, so dialogs are cancelled (or take the
// scripted file name), progress windows draw nothing and no outside program runs.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/Platform.h"

class BenchPlatform : public Platform {
public:
    /// `showMessages`: print each message on standard error (an unexpected one spoils a figure).
    explicit BenchPlatform(bool showMessages = true) : showMessages_(showMessages) {}

    /// The answer of every open and save dialog; empty cancels them.
    std::string fileAnswer;

    MsgAnswer message(const std::string& text, MsgIcon, MsgButtons) override
    {
        if (showMessages_)
            std::fprintf(stderr, "message: %s\n", text.c_str());
        return MsgAnswer::Ok;
    }
    std::optional<std::string> openFileDialog(const FileDialogOptions&) override { return answer(); }
    std::optional<std::string> saveFileDialog(const FileDialogOptions&) override { return answer(); }
    std::optional<std::string> browseForFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return {}; }
    std::optional<std::int32_t> adjustAltitude(std::int32_t) override { return {}; }
    std::unique_ptr<ProgressWindow> createProgress(const std::string&) override
    {
        return std::make_unique<ProgressWindow>();
    }
    BatchRunResult runBatchFile(const std::string&, const std::string&) override { return {}; }

private:
    std::optional<std::string> answer() const
    {
        return fileAnswer.empty() ? std::nullopt : std::optional<std::string>(fileAnswer);
    }
    bool showMessages_;
};
