#pragma once
// A manual-reset event in the shape of the framework's CEvent: once set it stays signalled,
// releasing every waiter, until ResetEvent. Safe to use from several threads at once.
#include <condition_variable>
#include <mutex>

#include "platform/core/Types.h"

// Wait without a time limit.
constexpr DWORD INFINITE = 0xFFFFFFFF;

class CEvent {
public:
    explicit CEvent(BOOL initiallySignalled = FALSE) : m_signalled(initiallySignalled != FALSE) {}
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    BOOL SetEvent();
    BOOL ResetEvent();
    // Waits until the event is signalled or `timeoutMs` milliseconds have passed (INFINITE for no
    // limit); TRUE when the event was signalled. The event stays signalled after the wait.
    BOOL Lock(DWORD timeoutMs = INFINITE);

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_signalled;
};
