#include "output/BatchInterpreter.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "base/FileLimits.h"
#include "base/InputFile.h"
#include "output/WindowsProgram.h"
#include "output/WineSupport.h"

#ifdef _WIN32
#include <direct.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

/// Splits a program line into words at blanks; double quotes group a word with blanks.
std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any)
                words.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        words.push_back(current);
    return words;
}

void say(const BatchCallbacks& callbacks, const std::string& text)
{
    if (callbacks.output && !text.empty())
        callbacks.output(text);
}

/// A regular file named `name` in `folder`, in any letter case; the exact spelling wins.
std::optional<fs::path> findInFolder(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    const fs::path exact = folder / name;
    if (fs::is_regular_file(exact, ec))
        return exact;
    std::vector<fs::path> matches;
    const std::string wanted = lower(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == wanted && it->is_regular_file(ec))
            matches.push_back(it->path());
    }
    if (matches.empty())
        return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

/// The program a line names: a bare name first (a native build), then the classic extensions.
std::optional<fs::path> findProgramIn(const fs::path& folder, const std::string& name)
{
    if (auto found = findInFolder(folder, name))
        return found;
    if (fs::path(name).has_extension())
        return std::nullopt;
    for (const char* ext : {".com", ".exe", ".bat", ".cmd"})
        if (auto found = findInFolder(folder, name + ext))
            return found;
    return std::nullopt;
}

bool isExecutableFile(const fs::path& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
#ifdef _WIN32
    return true;
#else
    return ::access(path.c_str(), X_OK) == 0;
#endif
}

/// A native program on the PATH.
std::optional<fs::path> findOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return std::nullopt;
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty())
            continue;
        const fs::path candidate = fs::path(folder) / name;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<fs::path> resolveProgram(const std::string& name, const fs::path& workDir)
{
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.find('/') != std::string::npos) {
        fs::path p(relative);
        if (p.is_relative())
            p = workDir / p;
        return findProgramIn(p.parent_path(), p.filename().string());
    }
    if (auto found = findProgramIn(workDir, relative))
        return found;
    return findOnPath(relative);
}

bool isBatchFile(const fs::path& path)
{
    const std::string ext = lower(path.extension().string());
    return ext == ".bat" || ext == ".cmd";
}

std::atomic<bool> winePreparingTold{false};

/// The most of wine's own lines kept from one program (the rest is still shown).
constexpr std::size_t kMaxWineLines = 200;
constexpr std::size_t kMaxWineBytes = 64 * 1024;
constexpr std::size_t kLongestHeldLine = 4096;

/// Sits between a program's output and the console: drops wine's fixme lines and keeps wine's
/// own lines apart. Whole lines go on at once; a started line goes on when the program pauses.
class OutputSorter {
public:
    OutputSorter(const BatchCallbacks& callbacks, bool keepWine32Hint) : callbacks_(callbacks), keepHint_(keepWine32Hint) {}

    void feed(const std::string& chunk)
    {
        pending_ += chunk;
        std::string shown;
        std::size_t from = 0;
        for (std::size_t nl; (nl = pending_.find('\n', from)) != std::string::npos; from = nl + 1)
            shown += sortLine(pending_.substr(from, nl + 1 - from));
        pending_.erase(0, from);
        say(callbacks_, shown);
        // A program that never ends its line still gets seen, and is never held in full.
        if (pending_.size() > kLongestHeldLine)
            flush();
    }

    /// The program is quiet (or has ended): a line it started is shown as it is.
    void flush()
    {
        if (pending_.empty())
            return;
        const std::string rest = std::move(pending_);
        pending_.clear();
        say(callbacks_, sortLine(rest));
    }

    std::vector<std::string> takeWineLines() { return std::move(wineLines_); }

private:
    /// The line as shown (empty for noise); wine's own lines are kept as well.
    std::string sortLine(const std::string& withEnd)
    {
        std::string line = withEnd;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (isWineNoise(line))
            return std::string();
        bool wine = isWineDiagnostic(line);
        if (isWine32Hint(line))
            inHint_ = true;
        else if (inHint_ && isHintContinuation(line))
            wine = true;
        else
            inHint_ = false;
        // For a 64-bit program the wrapper's hint about 32-bit programs explains nothing.
        if (wine && (keepHint_ || !inHint_))
            keep(line);
        return withEnd;
    }

    static bool isHintContinuation(const std::string& line)
    {
        for (const char* start : {"multiarch needs", "execute \"dpkg", "apt-get install wine32", "as root, please"})
            if (line.rfind(start, 0) == 0)
                return true;
        return false;
    }

    void keep(const std::string& line)
    {
        if (wineLines_.size() >= kMaxWineLines || wineBytes_ + line.size() > kMaxWineBytes)
            return;
        wineBytes_ += line.size();
        wineLines_.push_back(line);
    }

    const BatchCallbacks& callbacks_;
    bool keepHint_;
    bool inHint_ = false;
    std::string pending_;
    std::vector<std::string> wineLines_;
    std::size_t wineBytes_ = 0;
};

#ifndef _WIN32
extern "C" char** environ;

/// The environment of a program run through wine: the user's, plus DLL overrides that keep
/// wine's first start from offering to download .NET and a browser engine nobody needs here.
std::vector<std::string> wineEnvironment()
{
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e)
        env.emplace_back(*e);
    if (!std::getenv("WINEDLLOVERRIDES"))
        env.emplace_back("WINEDLLOVERRIDES=mscoree,mshtml=");
    return env;
}

/// How long a program asked to end may take before it is killed.
constexpr auto kStopGrace = std::chrono::seconds(3);

/// Starts argv in workDir with its output collected, waits for it and returns its exit code;
/// a negative value when it could not be started.
int runProgram(const std::vector<std::string>& argv, const std::vector<std::string>* environment,
               const std::string& workDir, const BatchCallbacks& callbacks, OutputSorter& sorter, bool& stopped)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    if (environment) {
        for (const std::string& e : *environment)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
    }

    int output[2];
    int failure[2];   // carries errno from the child when exec fails
    if (::pipe2(output, O_CLOEXEC) != 0)
        return -1;
    if (::pipe2(failure, O_CLOEXEC) != 0) {
        ::close(output[0]);
        ::close(output[1]);
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        for (int fd : {output[0], output[1], failure[0], failure[1]})
            ::close(fd);
        return -1;
    }
    if (pid == 0) {
        // Only async-signal-safe calls here. No input: a program waiting for a key must not wait
        // for the terminal this program was started from.
        const int nullInput = ::open("/dev/null", O_RDONLY);
        if (nullInput >= 0)
            ::dup2(nullInput, 0);
        ::dup2(output[1], 1);
        ::dup2(output[1], 2);
        int error = 0;
        if (::chdir(workDir.c_str()) != 0)
            error = errno;
        else {
            if (environment)
                ::execve(args[0], args.data(), envp.data());
            else
                ::execv(args[0], args.data());
            error = errno;
        }
        ssize_t ignored = ::write(failure[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    ::close(output[1]);
    ::close(failure[1]);

    int error = 0;
    ssize_t got;
    do {
        got = ::read(failure[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(failure[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        ::close(output[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        say(callbacks, "Could not start " + argv[0] + ": " + std::strerror(error) + "\n");
        return -1;
    }

    int status = 0;
    bool exited = false;
    bool terminated = false;
    bool killed = false;
    std::chrono::steady_clock::time_point terminatedAt;
    char buffer[4096];
    for (;;) {
        if (!terminated && callbacks.stopRequested && callbacks.stopRequested()) {
            ::kill(pid, SIGTERM);
            terminated = true;
            stopped = true;
            terminatedAt = std::chrono::steady_clock::now();
        } else if (terminated && !killed && std::chrono::steady_clock::now() - terminatedAt > kStopGrace) {
            ::kill(pid, SIGKILL);
            killed = true;
        }
        pollfd p{output[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, 100);
        if (ready > 0) {
            const ssize_t n = ::read(output[0], buffer, sizeof buffer);
            if (n > 0) {
                sorter.feed(std::string(buffer, static_cast<std::size_t>(n)));
                continue;
            }
            if (n == 0 || errno != EINTR)
                break;
            continue;
        }
        if (ready < 0 && errno != EINTR)
            break;
        sorter.flush();
        // A helper the program left behind (such as a wine server) may hold the output open:
        // once the program itself has ended, take what is there and stop reading.
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            ::fcntl(output[0], F_SETFL, O_NONBLOCK);
            ssize_t n;
            while ((n = ::read(output[0], buffer, sizeof buffer)) > 0)
                sorter.feed(std::string(buffer, static_cast<std::size_t>(n)));
            break;
        }
        if (callbacks.idle)
            callbacks.idle();
    }
    ::close(output[0]);
    sorter.flush();
    if (!exited) {
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}
#endif

/// Runs the program a line names; `result` receives its exit code, the reason it did not start,
/// wine's lines and whether it was stopped.
void runProgramLine(const std::vector<std::string>& words, const fs::path& workDir, const BatchCallbacks& callbacks,
                    std::optional<fs::path>& handOver, BatchRunResult& result)
{
    result = BatchRunResult{};
    const auto refuse = [&](const std::string& why) {
        if (callbacks.refusal)
            callbacks.refusal(why);
        else
            say(callbacks, why + "\n");
        result.exitCode = -1;
        result.refusal = why;
    };
    const std::optional<fs::path> program = resolveProgram(words[0], workDir);
    if (!program) {
        refuse("'" + words[0] + "' is not recognized as an internal or external command,\n"
                                "operable program or batch file.");
        return;
    }
    if (isBatchFile(*program)) {
        handOver = *program;
        return;
    }
#ifdef _WIN32
    std::string line = "\"" + program->string() + "\"";
    for (std::size_t i = 1; i < words.size(); ++i)
        line += " " + words[i];
    if (_chdir(workDir.string().c_str()) != 0) {
        result.exitCode = -1;
        return;
    }
    result.exitCode = std::system(line.c_str());
#else
    const std::string name = program->filename().string();
    std::vector<std::string> argv;
    std::optional<std::vector<std::string>> environment;
    const WindowsProgram kind = windowsProgramKind(program->string());
    if (kind != WindowsProgram::None) {
        const std::optional<fs::path> wine = findOnPath("wine");
        if (!wine) {
            refuse("Cannot start " + name +
                   ": it is a Windows program and wine, which runs Windows programs here, was not found on the "
                   "PATH. Install wine as root (apt-get install wine), or put a native build of " + name + " in " +
                   workDir.string() + ".");
            return;
        }
        if (kind == WindowsProgram::Bits32 && findWineParts(callbacks.systemRoot, wine->string()).lacks32()) {
            refuse(wine32MissingMessage(name));
            return;
        }
        std::error_code ec;
        const std::string prefix = winePrefixFolder();
        if (!fs::exists(prefix, ec) && !winePreparingTold.exchange(true)) {
            if (callbacks.note)
                callbacks.note(winePreparingNote(prefix));
            else
                say(callbacks, winePreparingNote(prefix) + "\n");
        }
        argv.push_back(wine->string());
        environment = wineEnvironment();
    } else if (!isExecutableFile(*program)) {
        refuse("Cannot start " + program->string() + ": the file is not executable.");
        return;
    }
    argv.push_back(program->string());
    argv.insert(argv.end(), words.begin() + 1, words.end());
    OutputSorter sorter(callbacks, kind != WindowsProgram::Bits64);
    if (callbacks.programStarted)
        callbacks.programStarted(programDisplayName(name));
    result.exitCode = runProgram(argv, environment ? &*environment : nullptr, workDir.string(), callbacks, sorter,
                                 result.stopped);
    if (callbacks.programEnded)
        callbacks.programEnded();
    result.wineLines = sorter.takeWineLines();
#endif
}

/// Runs one batch file. Another batch file named on a line takes over: its path comes back in
/// `handOver` and the caller runs it next, so a chain of hand-overs never deepens the stack.
BatchRunResult runOneBatchFile(const std::string& batchPath, const std::string& workDir,
                               const BatchCallbacks& callbacks, std::optional<fs::path>& handOver)
{
    BatchRunResult result;
    InputFile input;
    if (!input.read(batchPath, FileLimits::kBatchFile)) {
        result.refusal = "The batch file " + batchPath + " cannot be read: " + input.reason() + ".";
        say(callbacks, result.refusal + "\n");
        result.exitCode = -1;
        return result;
    }
    const std::string text = input.text();

    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }

    const fs::path folder(workDir);
    bool echo = true;
    for (const std::string& raw : lines) {
        std::string line = trim(raw);
        bool quiet = false;
        if (!line.empty() && line.front() == '@') {
            quiet = true;
            line = trim(line.substr(1));
        }
        if (line.empty())
            continue;
        if (echo && !quiet)
            say(callbacks, workDir + ">" + line + "\n");

        const std::vector<std::string> words = splitWords(line);
        if (words.empty())
            continue;
        const std::string command = lower(words[0]);
        if (command == "rem" || line.rfind("::", 0) == 0 || command == "cls")
            continue;
        if (command == "echo" || command.rfind("echo.", 0) == 0) {
            const std::string rest = command == "echo" ? trim(line.substr(4)) : line.substr(5);
            if (command == "echo" && lower(rest) == "off")
                echo = false;
            else if (command == "echo" && lower(rest) == "on")
                echo = true;
            else if (command == "echo" && rest.empty())
                say(callbacks, echo ? "ECHO is on.\n" : "ECHO is off.\n");
            else
                say(callbacks, rest + "\n");
            continue;
        }
        if (command == "pause") {
            say(callbacks, "Press any key to continue . . . ");
            if (callbacks.pause)
                callbacks.pause();
            say(callbacks, "\n");
            continue;
        }
        if (command == "exit")
            break;
        runProgramLine(words, folder, callbacks, handOver, result);
        if (handOver || result.stopped)
            break;
    }
    return result;
}

} // namespace

std::string programDisplayName(const std::string& path)
{
    const std::string title = fs::path(path).stem().string();
    if (lower(title) == "scasm")
        return "SCASM";
    if (lower(title) == "catgen")
        return "Catgen";
    return fs::path(path).filename().string();
}

void forgetWinePreparingNote() { winePreparingTold = false; }

BatchRunResult interpretBatchFile(const std::string& batchPath, const std::string& workDir,
                                  const BatchCallbacks& callbacks)
{
    std::string current = batchPath;
    for (int handOvers = 0;; ++handOvers) {
        std::optional<fs::path> next;
        BatchRunResult result = runOneBatchFile(current, workDir, callbacks, next);
        if (!next)
            return result;
        if (handOvers == kMaxBatchHandOvers) {
            say(callbacks, "Stopped: the batch files handed over to one another " +
                               std::to_string(kMaxBatchHandOvers) + " times (" + next->filename().string() +
                               " would be next). A batch file probably names itself or one that named it.\n");
            result = BatchRunResult{};
            result.exitCode = -1;
            return result;
        }
        current = next->string();
    }
}
