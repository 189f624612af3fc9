#include "forward/NoSigpipe.h"

#include <pthread.h>

#include <ctime>

namespace {

sigset_t OnlySigpipe() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

}  // namespace

NoSigpipe::NoSigpipe() {
    sigset_t pending;
    sigpending(&pending);
    m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    const sigset_t set = OnlySigpipe();
    pthread_sigmask(SIG_BLOCK, &set, &m_old);
}

NoSigpipe::~NoSigpipe() {
    // A SIGPIPE that was pending before belongs to someone else and stays.
    if (!m_wasPending) {
        const sigset_t set = OnlySigpipe();
        const timespec now{0, 0};
        sigtimedwait(&set, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}
