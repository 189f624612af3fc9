#include "platform/core/CEvent.h"

#include <chrono>

BOOL CEvent::SetEvent() {
    {
        std::lock_guard guard(m_lock);
        m_signalled = true;
    }
    m_changed.notify_all();
    return TRUE;
}

BOOL CEvent::ResetEvent() {
    std::lock_guard guard(m_lock);
    m_signalled = false;
    return TRUE;
}

BOOL CEvent::Lock(DWORD timeoutMs) {
    std::unique_lock guard(m_lock);
    const auto signalled = [this] { return m_signalled; };
    if (timeoutMs == INFINITE) {
        m_changed.wait(guard, signalled);
        return TRUE;
    }
    return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), signalled) ? TRUE : FALSE;
}
