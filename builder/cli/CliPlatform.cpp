#include "cli/CliPlatform.h"

#include <algorithm>
#include <ostream>
#include <vector>

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
    case MsgIcon::Stop:
        return "error";
    case MsgIcon::Exclamation:
        return "warning";
    case MsgIcon::Information:
    case MsgIcon::Question:
    case MsgIcon::None:
        break;
    }
    return "note";
}

std::string CliPlatform::indented(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    std::string shown;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        // A line that is only a number is the cause code of the line above: on its own it reads
        // as a stray line.
        const bool code = i > 0 && !l.empty() && l.size() <= 10 &&
                          std::all_of(l.begin(), l.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (code)
            shown += " (code " + l + ")";
        else
            shown += (i > 0 ? "\n    " : "") + l;
    }
    return shown;
}

MsgAnswer CliPlatform::message(const std::string& text, MsgIcon icon, MsgButtons buttons)
{
    if (refusalsAreErrors_ && icon == MsgIcon::Exclamation)
        icon = MsgIcon::Stop;
    // After a refusal the window adds a box that only repeats that loading failed.
    if (refusalsAreErrors_ && refusedHere_ && icon == MsgIcon::Information && buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (icon == MsgIcon::Stop) {
        ++stops_;
        refusedHere_ = refusalsAreErrors_;
    }
    // Multi-line messages stay readable as one indented block.
    const std::string shown = indented(text);
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

BatchRunResult CliPlatform::runBatchFile(const std::string& batchPath, const std::string& workDir)
{
    BatchCallbacks callbacks;
    callbacks.output = [this](const std::string& text) { err_ << text << std::flush; };
    // The command's one final error line says why a program was not started.
    callbacks.refusal = [](const std::string&) {};
    callbacks.note = [this](const std::string& text) { err_ << "orvane-cli: note: " << indented(text) << "\n" << std::flush; };
    // Nobody is there to press a key: "pause" simply goes on.
    callbacks.pause = [] {};
    return interpretBatchFile(batchPath, workDir, callbacks);
}
