#include "platform/core/CWinThread.h"

#include <system_error>
#include <thread>

namespace {

thread_local CWinThread* t_current = nullptr;

// Thrown by AfxEndThread and caught only at the thread's start.
struct ThreadEnd {
    bool deleteThread;
};

}  // namespace

void RunThreadObject(CWinThread* thread) {
    t_current = thread;
    bool deleteThread = true;
    try {
        if (thread->InitInstance()) thread->Run();
        else thread->ExitInstance();
    } catch (const ThreadEnd& end) {
        deleteThread = end.deleteThread;
    }
    t_current = nullptr;
    if (deleteThread && thread->m_bAutoDelete) delete thread;
}

BOOL CWinThread::CreateThread(DWORD flags) {
    State expected = State::none;
    if (!m_state.compare_exchange_strong(expected, State::suspended)) return FALSE;
    return (flags & CREATE_SUSPENDED) ? TRUE : Launch();
}

DWORD CWinThread::ResumeThread() {
    State expected = State::suspended;
    if (m_state.compare_exchange_strong(expected, State::started)) return Launch() ? 1 : 0xFFFFFFFF;
    return expected == State::started ? 0 : 0xFFFFFFFF;
}

BOOL CWinThread::Launch() {
    m_state = State::started;
    try {
        // Detached: the thread owns the object from here on and ends on its own.
        std::thread(RunThreadObject, this).detach();
        return TRUE;
    } catch (const std::system_error&) {
        m_state = State::none;
        return FALSE;
    }
}

// Nothing on this platform reads a thread's exit code, so it is not kept.
void AfxEndThread(UINT /*exitCode*/, BOOL deleteThread) { throw ThreadEnd{deleteThread != FALSE}; }

CWinThread* AfxGetThread() { return t_current; }

CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, DWORD flags) {
    CObject* object = threadClass ? threadClass->CreateObject() : nullptr;
    auto* thread = dynamic_cast<CWinThread*>(object);
    if (!thread) {
        delete object;
        return nullptr;
    }
    if (!thread->CreateThread(flags)) {
        delete thread;
        return nullptr;
    }
    return thread;
}
