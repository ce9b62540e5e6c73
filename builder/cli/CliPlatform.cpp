#include "cli/CliPlatform.h"

#include <ostream>

#include "cli/CliProgress.h"
#include "output/BatchInterpreter.h"

CliPlatform::CliPlatform(std::ostream& err, bool drawProgress) : err_(err), drawProgress_(drawProgress) {}

MsgAnswer CliPlatform::safeAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
        break;
    }
    return MsgAnswer::Cancel;
}

const char* CliPlatform::kindName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return "information";
    case MsgIcon::Exclamation:
        return "exclamation";
    case MsgIcon::Question:
        return "question";
    case MsgIcon::Stop:
        return "stop";
    case MsgIcon::None:
        break;
    }
    return "message";
}

MsgAnswer CliPlatform::message(const std::string& text, MsgIcon icon, MsgButtons buttons)
{
    if (icon == MsgIcon::Stop)
        ++stops_;
    // Multi-line messages stay readable as one indented block.
    std::string shown;
    for (char c : text) {
        if (c == '\r')
            continue;
        shown += c;
        if (c == '\n')
            shown += "    ";
    }
    const MsgAnswer answer = safeAnswer(buttons);
    err_ << "orvane-cli: " << kindName(icon) << ": " << shown;
    if (buttons != MsgButtons::Ok)
        err_ << " [answered " << (answer == MsgAnswer::No ? "No" : "Cancel") << "]";
    err_ << "\n" << std::flush;
    return answer;
}

std::optional<std::string> CliPlatform::openFileDialog(const FileDialogOptions& options)
{
    err_ << "orvane-cli: dialog cancelled: " << options.title << "\n";
    return std::nullopt;
}

std::optional<std::string> CliPlatform::saveFileDialog(const FileDialogOptions& options)
{
    err_ << "orvane-cli: dialog cancelled: " << options.title << "\n";
    return std::nullopt;
}

std::optional<std::string> CliPlatform::browseForFolder(const std::string& prompt, const std::string&)
{
    err_ << "orvane-cli: dialog cancelled: " << prompt << "\n";
    return std::nullopt;
}

std::optional<std::uint32_t> CliPlatform::chooseColor(std::uint32_t) { return std::nullopt; }

std::optional<std::int32_t> CliPlatform::adjustAltitude(std::int32_t) { return std::nullopt; }

std::unique_ptr<ProgressWindow> CliPlatform::createProgress(const std::string& caption)
{
    return std::make_unique<CliProgress>(err_, caption, drawProgress_);
}

int CliPlatform::runBatchFile(const std::string& batchPath, const std::string& workDir)
{
    BatchCallbacks callbacks;
    callbacks.output = [this](const std::string& text) { err_ << text << std::flush; };
    // Nobody is there to press a key: "pause" simply goes on.
    callbacks.pause = [] {};
    return interpretBatchFile(batchPath, workDir, callbacks);
}
