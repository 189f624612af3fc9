#pragma once
// A re-entrant lock in the shape of the framework's CCriticalSection; also usable with
// std::lock_guard.
#include <mutex>

class CCriticalSection {
public:
    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    std::recursive_mutex m_mutex;
};
