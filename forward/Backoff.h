#pragma once
// The pause between attempts to reach a server that failed: 0.5 s, doubling to 30 s, each pause
// between three quarters and the whole of its step, so that recorders cut off together do not
// come back at the same moment.
#include <atomic>
#include <random>

class Backoff {
public:
    Backoff();
    // Sleeps the next pause, or less when `stop` is set meanwhile.
    void Wait(const std::atomic<bool>& stop);
    // After a success: the next pause is the first again.
    void Reset() { m_stepMs = kFirstMs; }

    static constexpr int kFirstMs = 500;
    static constexpr int kLastMs = 30000;

private:
    int m_stepMs = kFirstMs;
    std::minstd_rand m_random;
};
