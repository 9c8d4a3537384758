#pragma once
// A write to a peer that has gone (a helper that died, a server that hung
// up) must not raise SIGPIPE in a program that cannot ignore the signal for
// good (the crash reporter runs inside a failing program): while one of
// these lives, the signal is blocked in the calling thread, and a pending
// one is taken away before it is unblocked. The write then fails with EPIPE.
#include <pthread.h>
#include <signal.h>
#include <time.h>

namespace rasp {

class TNoSigPipe {
public:
  TNoSigPipe() {
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &s, &FOld);
  }
  ~TNoSigPipe() {
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGPIPE);
    timespec zero{0, 0};
    while (sigtimedwait(&s, nullptr, &zero) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &FOld, nullptr);
  }
  TNoSigPipe(const TNoSigPipe&) = delete;
  TNoSigPipe& operator=(const TNoSigPipe&) = delete;

private:
  sigset_t FOld;
};

} // namespace rasp
