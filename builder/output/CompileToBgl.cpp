#include "output/CompileToBgl.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "base/ReplacementFile.h"
#include "base/TextFormat.h"
#include "output/ScasmWriter.h"
#include "project/CDibDoc.h"

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

/// What tells a file made by this run from one that was there before.
struct FileStamp {
    bool exists = false;
    fs::file_time_type time{};
    std::uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const std::string& path)
{
    FileStamp s;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return s;
    s.exists = true;
    s.time = fs::last_write_time(path, ec);
    s.size = fs::file_size(path, ec);
    return s;
}

bool sameFolder(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

/// Moves `from` onto `to`, replacing it only once the new file is safely there.
bool moveReplacing(const std::string& from, const std::string& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec)
        return true;
    // Another file system: a complete copy takes the old file's place, then the original goes.
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    ReplacementFile out;
    bool ok = out.open(to);
    char buffer[65536];
    std::size_t got;
    while (ok && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        ok = out.write(buffer, got);
    ok = ok && !std::ferror(in);
    std::fclose(in);
    if (!ok || !out.commit())
        return false;
    fs::remove(from, ec);
    return true;
}

/// The regular file `name` (lower case) in `folder`, in any letter case; the exact spelling wins.
std::optional<std::string> findInFolder(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    const fs::path exact = fs::path(folder) / name;
    if (fs::is_regular_file(exact, ec))
        return exact.string();
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (lower(it->path().filename().string()) == name && it->is_regular_file(ec))
            matches.push_back(it->path().string());
    if (matches.empty())
        return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

} // namespace

std::string scasmMissingMessage(const std::string& applicationFolder)
{
    return "Couldn't find SCASM.EXE. Please make sure it is in the folder Orvane was started from:\n" +
           PathUtil::toNative(applicationFolder);
}

std::optional<std::string> findScasmExecutable(const std::string& applicationFolder)
{
    return findInFolder(applicationFolder, "scasm.exe");
}

std::optional<std::string> scasmFailureText(const BatchRunResult& run, bool bglMade, const std::string& bglPath,
                                            const std::string& log)
{
    // Wine's debugger may end a crashed program with code 0: its report of the crash decides.
    const bool crashed = std::any_of(run.wineLines.begin(), run.wineLines.end(),
                                     [](const std::string& line) { return line.rfind("wine: Unhandled", 0) == 0; });
    const bool successCode = (run.exitCode == 0 || run.exitCode == 3) && !crashed;
    if (successCode && bglMade)
        return std::nullopt;
    std::string wine;
    if (!run.wineLines.empty()) {
        wine = "\nWine said:";
        const std::size_t shown = std::min<std::size_t>(run.wineLines.size(), 20);
        for (std::size_t i = 0; i < shown; ++i)
            wine += "\n" + run.wineLines[i];
    }
    if (successCode)
        return "SCASM ended without writing " + PathUtil::toNative(bglPath) + wine;
    return "SCASM ended with exit code " + std::to_string(run.exitCode) +
           (log.empty() ? std::string("; it left no SCAERROR.LOG") : "; see " + PathUtil::toNative(log)) + wine;
}

CompileResult compileToBgl(CDibDoc& doc, const std::string& bglPath, bool showFailure)
{
    Platform& platform = doc.app.platform;
    const std::string appFolder = doc.app.settings.applicationPath;
    CompileResult result;
    const auto fail = [&](const std::string& why, MsgIcon icon) {
        result.failure = why;
        if (showFailure)
            platform.message(why, icon);
        return result;
    };
    if (!findScasmExecutable(appFolder))
        return fail(scasmMissingMessage(appFolder), MsgIcon::Exclamation);

    const std::string title = PathUtil::titleOf(bglPath);
    doc.scasmFileTitle = title;
    doc.scasmFolder = PathUtil::folder(bglPath);
    if (title.empty())
        return result;
    // A name without a folder stays in the application folder.
    const std::string destination = doc.scasmFolder.empty() ? appFolder : doc.scasmFolder;

    const std::string source = PathUtil::join(appFolder, title + ".sca");
    const std::string bgl = PathUtil::join(appFolder, title + ".bgl");
    const FileStamp bglBefore = stampOf(bgl);
    const std::optional<std::string> logBefore = findInFolder(appFolder, "scaerror.log");
    const FileStamp logStampBefore = logBefore ? stampOf(*logBefore) : FileStamp{};
    // Without a fresh source the assembler would compile an older one of that name; the writer
    // has said why.
    if (!writeScasmSource(doc, source)) {
        result.failure = "the source " + PathUtil::toNative(source) + " could not be written";
        return result;
    }

    // Appending: the lines of an interrupted earlier run are kept and run again first.
    const std::string batch = PathUtil::join(appFolder, "sca.bat");
    std::FILE* file = std::fopen(batch.c_str(), "ab");
    if (!file)
        return fail("Cannot write " + PathUtil::toNative(batch) + ".", MsgIcon::Exclamation);
    const std::string command = "scasm " + title + ".sca " + title + ".bgl";
    std::fputs("@echo off\r\n", file);
    std::fputs(TextFormat::cformat("%s\r\n", command.c_str()).c_str(), file);
    std::fputs("pause\r\n", file);
    const bool batchWritten = std::ferror(file) == 0 && std::fclose(file) == 0;
    BatchRunResult run;
    if (batchWritten)
        run = platform.runBatchFile(batch, appFolder);
    std::error_code ec;
    fs::remove(batch, ec);
    if (!batchWritten)
        return fail("Cannot write " + PathUtil::toNative(batch) + ".", MsgIcon::Exclamation);

    const FileStamp bglAfter = stampOf(bgl);
    const bool newBgl = bglAfter.exists && !(bglAfter == bglBefore);
    // Stopped: nothing more happens, not even the move of the source.
    if (run.stopped)
        return fail("SCASM was stopped.", MsgIcon::Information);
    const bool stayHere = sameFolder(appFolder, destination);
    if (!stayHere)
        moveReplacing(source, PathUtil::join(destination, title + ".sca"));
    if (run.exitCode < 0)
        return fail(run.refusal.empty() ? std::string("SCASM could not be started.") : run.refusal, MsgIcon::Stop);
    const std::optional<std::string> logAfter = findInFolder(appFolder, "scaerror.log");
    const bool newLog = logAfter && (!logBefore || stampOf(*logAfter) != logStampBefore);
    if (const auto failure = scasmFailureText(run, newBgl, bgl, newLog ? *logAfter : std::string()))
        return fail(*failure, MsgIcon::Stop);
    result.made = stayHere || moveReplacing(bgl, PathUtil::join(destination, title + ".bgl"));
    if (!result.made)
        return fail("Cannot move " + PathUtil::toNative(bgl) + " to " + PathUtil::toNative(destination) + ".",
                    MsgIcon::Stop);
    return result;
}
