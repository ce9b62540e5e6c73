#include "ProcessRunner.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "FileText.h"

#ifndef _WIN32
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

bool isWindowsProgram(const std::string& path) {
  // Opening a FIFO would wait for a writer: look into regular files only.
  if (!FileText::fileExists(path)) return false;
  std::ifstream in(path, std::ios::binary);
  char sig[2] = {0, 0};
  in.read(sig, 2);
  return in.gcount() == 2 && sig[0] == 'M' && sig[1] == 'Z';
}

#ifndef _WIN32
std::vector<char*> argvOf(std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (std::string& s : command) argv.push_back(s.data());
  argv.push_back(nullptr);
  return argv;
}
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

std::optional<std::vector<std::string>> ProcessRunner::commandLine(const std::string& program,
                                                                   const std::vector<std::string>& args) {
  if (!FileText::fileExists(program)) return std::nullopt;
  std::vector<std::string> command;
#ifndef _WIN32
  if (isWindowsProgram(program)) {
    const std::string wine = findOnPath("wine");
    if (wine.empty()) return std::nullopt;
    command.push_back(wine);
  }
#endif
  command.push_back(program);
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

int ProcessRunner::runAndWait(const std::string& program, const std::vector<std::string>& args) {
#ifndef _WIN32
  auto command = commandLine(program, args);
  if (!command) return -1;
  std::vector<char*> argv = argvOf(*command);
  pid_t pid = 0;
  // posix_spawn reports a failed exec as its result, so "could not start" is told apart from
  // a program that ran and failed.
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return -1;
#else
  (void)program;
  (void)args;
  return -1;
#endif
}

bool ProcessRunner::startDetached(const std::string& program, const std::vector<std::string>& args) {
#ifndef _WIN32
  auto command = commandLine(program, args);
  if (!command) return false;
  std::vector<char*> argv = argvOf(*command);
  // Double fork: the grandchild runs the program and is adopted by init, so nobody has to
  // wait for it. Only async-signal-safe calls happen between fork and exec.
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      execv(argv[0], argv.data());
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
