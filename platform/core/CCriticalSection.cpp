#include "platform/core/CCriticalSection.h"

#include <system_error>

CCriticalSection::CCriticalSection() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    // The adaptive kind spins for a while on a taken lock before it blocks.
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ADAPTIVE_NP);
    const int error = pthread_mutex_init(&m_mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (error) throw std::system_error(error, std::generic_category(), "cannot create a critical section");
}

CCriticalSection::~CCriticalSection() { pthread_mutex_destroy(&m_mutex); }

void CCriticalSection::Lock() {
    const std::thread::id self = std::this_thread::get_id();
    // Only the owner can see itself here, so a relaxed read is enough to decide re-entry.
    if (m_owner.load(std::memory_order_relaxed) == self) {
        ++m_depth;
        return;
    }
    pthread_mutex_lock(&m_mutex);
    m_owner.store(self, std::memory_order_relaxed);
    m_depth = 1;
}

void CCriticalSection::Unlock() {
    if (--m_depth > 0) return;
    m_owner.store(std::thread::id(), std::memory_order_relaxed);
    pthread_mutex_unlock(&m_mutex);
}
