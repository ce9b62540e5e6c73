#pragma once
// Kills a child process at a chosen point of its work: the way to test what a writer leaves
// behind when the program dies in the middle.

#include <csignal>
#include <functional>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

/// Runs `work` in a child process and kills the child with `signal` once the work has called the
/// `ready` it is given (which never returns, so everything the work holds stays as it is). Succeeds
/// when the child got that far and died of the signal; a work that returns ends the child unready.
inline ::testing::AssertionResult killOnceReady(const std::function<void(const std::function<void()>& ready)>& work,
                                                int signal)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return ::testing::AssertionFailure() << "no pipe";
    const pid_t child = ::fork();
    if (child < 0)
        return ::testing::AssertionFailure() << "no child";
    if (child == 0) {
        work([&] {
            const char byte = 1;
            if (::write(ready[1], &byte, 1) != 1)
                ::_exit(1);
            for (;;)
                ::pause();
        });
        ::_exit(1);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool reached = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    ::kill(child, signal);
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return ::testing::AssertionFailure() << "child lost";
    if (!reached)
        return ::testing::AssertionFailure() << "the child failed before the point to kill it";
    if (!WIFSIGNALED(status) || WTERMSIG(status) != signal)
        return ::testing::AssertionFailure() << "the child did not die of signal " << signal;
    return ::testing::AssertionSuccess();
}
