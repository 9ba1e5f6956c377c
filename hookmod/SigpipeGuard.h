// Keeps SIGPIPE from ending the process while the calling thread talks to
// an X server: xcb writes with writev, and a server that hangs up (one that
// accepts and closes at once, or one that dies) would otherwise kill the
// program that loaded the hook. The write fails with EPIPE instead, which
// xcb reports as a connection error.
#pragma once

#include <pthread.h>
#include <signal.h>
#include <time.h>

namespace hookmod {

class SigpipeGuard {
public:
    SigpipeGuard() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &old_);
    }
    ~SigpipeGuard() {
        // A SIGPIPE raised meanwhile is taken here, unless one was pending
        // before (that one is somebody else's).
        if (!wasPending_) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            while (sigtimedwait(&pipe, nullptr, &now) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    SigpipeGuard(const SigpipeGuard&) = delete;
    SigpipeGuard& operator=(const SigpipeGuard&) = delete;

private:
    sigset_t old_;
    bool wasPending_ = false;
};

}  // namespace hookmod
