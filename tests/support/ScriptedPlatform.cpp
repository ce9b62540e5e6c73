#include "support/ScriptedPlatform.h"

namespace {
// Without a scripted answer a question gets its safe, negative button.
MsgAnswer defaultAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::No;
    }
    return MsgAnswer::Ok;
}
} // namespace

class ScriptedProgress : public ProgressWindow {
public:
    ScriptedProgress(ScriptedPlatform& owner, const std::string& caption) : owner_(owner)
    {
        owner_.progressLog.push_back("create " + caption);
        setUpdateInterval(0);   // records every update, independent of the clock
    }
    ~ScriptedProgress() override { owner_.progressLog.push_back("destroy"); }

protected:
    void onRangeChanged() override
    {
        owner_.progressLog.push_back("range " + std::to_string(lower()) + " " + std::to_string(upper()) + " step " +
                                     std::to_string(step()));
    }
    void onPositionChanged() override
    {
        owner_.progressLog.push_back("pos " + std::to_string(pos()) + " " + percentText());
        if (owner_.cancelAfterSteps >= 0 && ++owner_.stepsSeen_ == owner_.cancelAfterSteps)
            pressCancel();
    }
    void onTextChanged() override { owner_.progressLog.push_back("text " + title() + " | " + status()); }

private:
    ScriptedPlatform& owner_;
};

std::vector<std::string> ScriptedPlatform::messageTexts() const
{
    std::vector<std::string> texts;
    for (const Message& m : messages)
        texts.push_back(m.text);
    return texts;
}

MsgAnswer ScriptedPlatform::message(const std::string& text, MsgIcon icon, MsgButtons buttons)
{
    MsgAnswer answer = defaultAnswer(buttons);
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    messages.push_back({text, icon, buttons, answer});
    return answer;
}

std::optional<std::string> ScriptedPlatform::openFileDialog(const FileDialogOptions& options)
{
    fileDialogs.push_back(options);
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPlatform::saveFileDialog(const FileDialogOptions& options)
{
    return openFileDialog(options);
}

std::optional<std::string> ScriptedPlatform::browseForFolder(const std::string& prompt, const std::string& startFolder)
{
    (void)startFolder;
    folderPrompts.push_back(prompt);
    if (folderAnswers.empty())
        return std::nullopt;
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<std::uint32_t> ScriptedPlatform::chooseColor(std::uint32_t initial)
{
    (void)initial;
    if (colorAnswers.empty())
        return std::nullopt;
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

std::unique_ptr<ProgressWindow> ScriptedPlatform::createProgress(const std::string& caption)
{
    stepsSeen_ = 0;
    return std::make_unique<ScriptedProgress>(*this, caption);
}

BatchRunResult ScriptedPlatform::runBatchFile(const std::string& batchPath, const std::string& workDir)
{
    batchRuns.push_back(batchPath);
    return batchRunner ? batchRunner(batchPath, workDir) : BatchRunResult{};
}

std::optional<std::int32_t> ScriptedPlatform::adjustAltitude(std::int32_t initial)
{
    altitudePrompts.push_back(initial);
    if (altitudeAnswers.empty())
        return std::nullopt;
    auto answer = altitudeAnswers.front();
    altitudeAnswers.pop_front();
    return answer;
}
