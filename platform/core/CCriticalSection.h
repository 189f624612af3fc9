#pragma once
// A re-entrant lock in the shape of the framework's CCriticalSection; also usable with
// std::lock_guard. Like a Windows critical section with a spin count, a thread that finds it
// taken spins briefly before it sleeps: the sections it guards are short (an append to a file),
// and putting the waiter to sleep and waking it again would cost more than the section itself.
#include <atomic>
#include <pthread.h>
#include <thread>

class CCriticalSection {
public:
    CCriticalSection();
    ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock();
    void Unlock();
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    pthread_mutex_t m_mutex;
    std::atomic<std::thread::id> m_owner{};  // the thread that holds it, for re-entry
    int m_depth = 0;                          // how often the owner has entered
};
