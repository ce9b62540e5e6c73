#pragma once
// Holds back the termination signals a user or a session sends (TERM, INT, HUP, QUIT) for as
// long as it lives, so that a file's content is either still nameless or already in its place.
// A signal that came meanwhile acts when the block ends.

#include <csignal>

#include <pthread.h>

class TerminationBlock {
public:
    TerminationBlock()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
            sigaddset(&set, s);
        blocked_ = ::pthread_sigmask(SIG_BLOCK, &set, &previous_) == 0;
    }
    ~TerminationBlock()
    {
        if (blocked_)
            ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    TerminationBlock(const TerminationBlock&) = delete;
    TerminationBlock& operator=(const TerminationBlock&) = delete;

private:
    sigset_t previous_{};
    bool blocked_ = false;
};
