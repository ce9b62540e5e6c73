#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "FakeWine.h"
#include "FileText.h"
#include "ProcessRunner.h"

namespace {

/// Every run in these tests ends within this limit: a fault shows as a failed check, not a hang.
constexpr int kLimitMs = 120 * 1000;

ProcessRunner::Result runScript(const std::string& path, const std::string& body,
                                ProcessRunner::Options options = ProcessRunner::Options()) {
  writeScript(path, body);
  if (options.timeoutMs == 0) options.timeoutMs = kLimitMs;
  options.forwardErrors = false;
  return ProcessRunner::run(path, {"first arg"}, options);
}

/// Puts a pipe holding "typed\n" in place of standard input for the life of the object, as a
/// terminal with a pressed key would be.
class TypedInput {
public:
  TypedInput() {
    saved_ = ::dup(STDIN_FILENO);
    int fds[2];
    if (::pipe(fds) != 0) return;
    if (::write(fds[1], "typed\n", 6) != 6) return;
    writeEnd_ = fds[1];  // kept open: a reader would wait for more
    ::dup2(fds[0], STDIN_FILENO);
    ::close(fds[0]);
  }
  ~TypedInput() {
    ::dup2(saved_, STDIN_FILENO);
    ::close(saved_);
    if (writeEnd_ >= 0) ::close(writeEnd_);
  }

private:
  int saved_ = -1;
  int writeEnd_ = -1;
};

}  // namespace

TEST(ProcessRunner, ResultTellsHowTheProgramEnded) {
  SplitTestDir dir;
  struct Case {
    const char* name;
    std::string body;
    bool exited;
    int exitCode;
    int signal;
  };
  const Case cases[] = {
      {"success", "exit 0\n", true, 0, 0},
      {"code 3", "exit 3\n", true, 3, 0},
      {"code 53", "exit 53\n", true, 53, 0},
      {"code 255", "exit 255\n", true, 255, 0},
      {"crash", "kill -SEGV $$\n", false, -1, SIGSEGV},
  };
  for (const Case& c : cases) {
    const ProcessRunner::Result r = runScript(dir / "prog", c.body);
    EXPECT_TRUE(r.started) << c.name;
    EXPECT_EQ(r.exited, c.exited) << c.name;
    EXPECT_EQ(r.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(r.signal, c.signal) << c.name;
    EXPECT_FALSE(r.stopped) << c.name;
  }
  writeBytes(dir / "not-executable", "#!/bin/sh\nexit 0\n");
  EXPECT_FALSE(ProcessRunner::run(dir / "not-executable", {}).started);
  EXPECT_FALSE(ProcessRunner::run(dir / "missing", {}).started);
  {
    // A Windows program without wine on PATH cannot run.
    EnvGuard path("PATH", dir / "");
    writeBytes(dir / "SCASM.EXE", peBytes(0x8664));
    std::filesystem::permissions(dir / "SCASM.EXE", std::filesystem::perms::owner_all);
    EXPECT_FALSE(ProcessRunner::run(dir / "SCASM.EXE", {}).started);
  }
}

TEST(ProcessRunner, StandardErrorIsCapturedWithinItsLimitAndOutputOnRequest) {
  SplitTestDir dir;
  ProcessRunner::Result r = runScript(dir / "prog", "echo out; echo 'wine: said' >&2; echo \"$1\" >&2\n");
  EXPECT_EQ(r.errorOutput, "wine: said\nfirst arg\n");
  EXPECT_EQ(r.output, "");  // not captured: it went on to ours
  ProcessRunner::Options capture;
  capture.captureOutput = true;
  r = runScript(dir / "prog", "echo out; echo err >&2\n", capture);
  EXPECT_EQ(r.output, "out\n");
  EXPECT_EQ(r.errorOutput, "err\n");
  r = runScript(dir / "prog", "head -c 200000 /dev/zero | tr '\\0' x >&2\necho done\nexit 4\n");
  EXPECT_EQ(r.errorOutput, std::string(ProcessRunner::kMaxErrorBytes, 'x'));
  EXPECT_EQ(r.exitCode, 4);  // a program writing more than is kept is not blocked
}

TEST(ProcessRunner, InputIsClosedSoAProgramWaitingForAKeyEnds) {
  SplitTestDir dir;
  TypedInput typed;
  const ProcessRunner::Result r =
      runScript(dir / "prog", "if read line; then echo \"read:$line\" >&2; else echo eof >&2; fi\n");
  EXPECT_FALSE(r.stopped);  // ended by itself, not by the limit
  EXPECT_EQ(r.errorOutput, "eof\n");
}

TEST(ProcessRunner, WineDllOverridesAreSetUnlessTheUserSetThem) {
  SplitTestDir dir;
  const std::string body = "echo \"[$WINEDLLOVERRIDES]\" >&2\n";
  {
    EnvGuard unset("WINEDLLOVERRIDES", std::nullopt);
    EXPECT_EQ(runScript(dir / "prog", body).errorOutput, "[mscoree,mshtml=]\n");
  }
  EnvGuard user("WINEDLLOVERRIDES", "winemenubuilder.exe=d");
  EXPECT_EQ(runScript(dir / "prog", body).errorOutput, "[winemenubuilder.exe=d]\n");
}

TEST(ProcessRunner, IdleRunsWhileTheProgramRunsAndStopEndsIt) {
  SplitTestDir dir;
  // The program ends only once the idle hook has run: no guess at how long anything takes.
  int idle = 0;
  ProcessRunner::Options options;
  options.idle = [&] {
    if (++idle == 1) writeBytes(dir / "idle-seen", "");
  };
  ProcessRunner::Result r = runScript(dir / "prog", "while [ ! -e '" + dir / "idle-seen" + "' ]; do sleep 0.05; done\n", options);
  EXPECT_TRUE(r.exited);
  EXPECT_FALSE(r.stopped);
  EXPECT_GE(idle, 1);

  ProcessRunner::Options stop;
  stop.stopRequested = [&] { return FileText::fileExists(dir / "running"); };
  r = runScript(dir / "prog", "echo > '" + dir / "running" + "'\nexec sleep 600\n", stop);
  EXPECT_TRUE(r.stopped);
  EXPECT_FALSE(r.timedOut);
  EXPECT_FALSE(r.exited);
  EXPECT_EQ(r.signal, SIGTERM);

  // A program that ignores SIGTERM is killed after the grace period.
  std::filesystem::remove(dir / "running");
  r = runScript(dir / "prog", "trap '' TERM\necho > '" + dir / "running" + "'\nwhile :; do sleep 0.1; done\n", stop);
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.signal, SIGKILL);

  ProcessRunner::Options limit;
  limit.timeoutMs = 1;
  r = runScript(dir / "prog", "exec sleep 600\n", limit);
  EXPECT_TRUE(r.stopped);
  EXPECT_TRUE(r.timedOut);
}

TEST(ProcessRunner, AProcessLeftHoldingStandardErrorDoesNotHoldTheWait) {
  SplitTestDir dir;
  // The background loop keeps the error pipe open until the test lets it go, as wineserver does.
  const std::string release = dir / "release";
  const ProcessRunner::Result r =
      runScript(dir / "prog", "(while [ ! -e '" + release + "' ] && [ -d '" + dir / "" +
                                  "' ]; do sleep 0.05; done) &\necho before >&2\nexit 0\n");
  writeBytes(release, "");
  EXPECT_FALSE(r.timedOut);
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.errorOutput, "before\n");
}
