#include "ProcessRunner.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "FileText.h"
#include "WindowsProgram.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

#ifndef _WIN32
constexpr const char* kDllOverrides = "WINEDLLOVERRIDES=mscoree,mshtml=";

std::vector<char*> argvOf(std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (std::string& s : command) argv.push_back(s.data());
  argv.push_back(nullptr);
  return argv;
}

/// Our environment, plus the wine setting when the user has none.
std::vector<char*> childEnvironment() {
  std::vector<char*> env;
  bool hasOverrides = false;
  for (char** e = environ; e && *e; ++e) {
    if (std::strncmp(*e, "WINEDLLOVERRIDES=", 17) == 0) hasOverrides = true;
    env.push_back(*e);
  }
  if (!hasOverrides) env.push_back(const_cast<char*>(kDllOverrides));
  env.push_back(nullptr);
  return env;
}

/// Reads what is there without blocking; false once the pipe is at its end.
bool drain(int fd, std::string& into, std::size_t limit, bool forward) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      const auto got = static_cast<std::size_t>(n);
      if (into.size() < limit) into.append(buffer, std::min(got, limit - into.size()));
      if (forward) {
        ssize_t done = 0;
        while (done < n) {
          const ssize_t w = ::write(STDERR_FILENO, buffer + done, static_cast<std::size_t>(n - done));
          if (w <= 0) break;
          done += w;
        }
      }
      continue;
    }
    if (n == 0) return false;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK;
  }
}

struct Pipe {
  int read = -1, write = -1;
  bool open() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    read = fds[0];
    write = fds[1];
    ::fcntl(read, F_SETFL, ::fcntl(read, F_GETFL) | O_NONBLOCK);
    return true;
  }
  void closeRead() {
    if (read >= 0) ::close(read);
    read = -1;
  }
  void closeWrite() {
    if (write >= 0) ::close(write);
    write = -1;
  }
  ~Pipe() {
    closeRead();
    closeWrite();
  }
};
#endif

}  // namespace

std::string ProcessRunner::findOnPath(const std::string& name) {
#ifndef _WIN32
  const char* path = std::getenv("PATH");
  if (!path) return {};
  std::string list = path;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    // Built up in place: GCC 12 warns wrongly about overlapping copies for dir + "/" + name.
    std::string candidate = end > start ? list.substr(start, end - start) : std::string(".");
    candidate += '/';
    candidate += name;
    if (::access(candidate.c_str(), X_OK) == 0 && FileText::fileExists(candidate)) return candidate;
    start = end + 1;
  }
#else
  (void)name;
#endif
  return {};
}

bool ProcessRunner::runsThroughWine(const std::string& program) {
#ifndef _WIN32
  return WindowsProgram::isWindowsProgram(program);
#else
  (void)program;
  return false;
#endif
}

std::optional<std::vector<std::string>> ProcessRunner::commandLine(const std::string& program,
                                                                   const std::vector<std::string>& args) {
  if (!FileText::fileExists(program)) return std::nullopt;
  std::vector<std::string> command;
  if (runsThroughWine(program)) {
    const std::string wine = findOnPath("wine");
    if (wine.empty()) return std::nullopt;
    command.push_back(wine);
  }
  command.push_back(program);
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

ProcessRunner::Result ProcessRunner::run(const std::string& program, const std::vector<std::string>& args) {
  return run(program, args, Options());
}

ProcessRunner::Result ProcessRunner::run(const std::string& program, const std::vector<std::string>& args,
                                         const Options& options) {
  Result result;
#ifndef _WIN32
  auto command = commandLine(program, args);
  if (!command) return result;
  std::vector<char*> argv = argvOf(*command);
  std::vector<char*> env = childEnvironment();

  Pipe err, out;
  if (!err.open() || (options.captureOutput && !out.open())) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
  if (options.captureOutput) posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
  pid_t pid = 0;
  // posix_spawn reports a failed exec as its result, so "could not start" is told apart from
  // a program that ran and failed.
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  err.closeWrite();
  out.closeWrite();
  if (spawned != 0) return result;
  result.started = true;

  using Clock = std::chrono::steady_clock;
  const auto startedAt = Clock::now();
  std::optional<Clock::time_point> termSentAt;
  bool killSent = false;
  bool errOpen = true, outOpen = options.captureOutput;
  int status = 0;
  for (;;) {
    pollfd fds[2];
    nfds_t n = 0;
    if (errOpen) fds[n++] = {err.read, POLLIN, 0};
    if (outOpen) fds[n++] = {out.read, POLLIN, 0};
    // Short waits: the child's end is seen by waitpid, not by the pipes, which a grandchild
    // (wineserver, a process the program started) may keep open long after.
    if (n > 0)
      ::poll(fds, n, 30);
    else
      ::usleep(30 * 1000);
    if (errOpen) errOpen = drain(err.read, result.errorOutput, kMaxErrorBytes, options.forwardErrors);
    if (outOpen) outOpen = drain(out.read, result.output, kMaxOutputBytes, false);

    const pid_t waited = ::waitpid(pid, &status, WNOHANG);
    if (waited == pid) break;
    if (waited < 0 && errno != EINTR) {
      result.started = false;
      return result;
    }
    if (options.idle) options.idle();
    const auto now = Clock::now();
    if (!termSentAt) {
      const bool expired = options.timeoutMs > 0 && now - startedAt >= std::chrono::milliseconds(options.timeoutMs);
      if (expired || (options.stopRequested && options.stopRequested())) {
        result.stopped = true;
        result.timedOut = expired;
        ::kill(pid, SIGTERM);
        termSentAt = now;
      }
    } else if (!killSent && now - *termSentAt >= std::chrono::milliseconds(kStopGraceMs)) {
      ::kill(pid, SIGKILL);
      killSent = true;
    }
  }
  // What the program wrote just before it ended.
  if (errOpen) drain(err.read, result.errorOutput, kMaxErrorBytes, options.forwardErrors);
  if (outOpen) drain(out.read, result.output, kMaxOutputBytes, false);
  if (WIFEXITED(status)) {
    result.exited = true;
    result.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
#else
  (void)program;
  (void)args;
  (void)options;
#endif
  return result;
}

bool ProcessRunner::startDetached(const std::string& program, const std::vector<std::string>& args) {
#ifndef _WIN32
  auto command = commandLine(program, args);
  if (!command) return false;
  std::vector<char*> argv = argvOf(*command);
  std::vector<char*> env = childEnvironment();
  // Double fork: the grandchild runs the program and is adopted by init, so nobody has to
  // wait for it. Only async-signal-safe calls happen between fork and exec.
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      const int null = ::open("/dev/null", O_RDONLY);
      if (null >= 0 && null != STDIN_FILENO) {
        ::dup2(null, STDIN_FILENO);
        ::close(null);
      }
      execve(argv[0], argv.data(), env.data());
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#else
  (void)program;
  (void)args;
  return false;
#endif
}
