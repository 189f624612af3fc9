#pragma once
// For its lifetime, a write to a connection the peer closed fails with EPIPE on this thread
// instead of raising SIGPIPE, which would end the host's process. A forwarder holds one for its
// whole run: setting the mask for each write would cost more than the write. OpenSSL writes through write(2),
// which has no MSG_NOSIGNAL.
#include <signal.h>

class NoSigpipe {
public:
    NoSigpipe();
    ~NoSigpipe();  // takes a SIGPIPE raised meanwhile, then restores the thread's mask
    NoSigpipe(const NoSigpipe&) = delete;
    NoSigpipe& operator=(const NoSigpipe&) = delete;

private:
    sigset_t m_old;
    bool m_wasPending = false;
};
