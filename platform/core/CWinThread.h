#pragma once
// A thread object in the shape of the framework's CWinThread. The object is created first and
// its thread started by CreateThread, or created suspended and started later by ResumeThread,
// so that the creator can hand it its settings before it runs. On the new thread InitInstance
// runs, then Run when InitInstance returned non-zero, else ExitInstance. When the thread ends,
// by returning from Run or through AfxEndThread, the object deletes itself if m_bAutoDelete is
// set (the default): the creator must not touch it once it may have ended.
#include <atomic>

#include "platform/core/RuntimeClass.h"
#include "platform/core/Types.h"

// CreateThread flag: create the thread without starting it.
constexpr DWORD CREATE_SUSPENDED = 0x00000004;

class CWinThread : public CObject {
public:
    CWinThread() = default;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    ~CWinThread() override = default;

    // Creates the thread, running at once unless `flags` holds CREATE_SUSPENDED. FALSE when the
    // system refused a new thread or the thread was already created.
    BOOL CreateThread(DWORD flags = 0);
    // Starts a thread created suspended. Returns the previous suspend count (1 when this call
    // started it, 0 when it was already running), or 0xFFFFFFFF when no thread was created.
    DWORD ResumeThread();

    virtual BOOL InitInstance() { return FALSE; }
    // The thread's work; the base runs ExitInstance.
    virtual int Run() { return ExitInstance(); }
    virtual int ExitInstance() { return 0; }

    BOOL m_bAutoDelete = TRUE;

private:
    friend void RunThreadObject(CWinThread* thread);
    BOOL Launch();

    enum class State { none, suspended, started };
    std::atomic<State> m_state{State::none};
};

// Ends the calling thread, which must have been started by a CWinThread: nothing after the call
// runs on it. The thread's object is deleted when `deleteThread` is set and its m_bAutoDelete
// is. Implemented by unwinding to the thread's start, so destructors on the way run; code on a
// thread object must not swallow the unwinding with catch (...) without rethrowing.
[[noreturn]] void AfxEndThread(UINT exitCode, BOOL deleteThread = TRUE);

// The thread object of the calling thread, or nullptr on a thread no CWinThread started.
CWinThread* AfxGetThread();

// Creates an object of `threadClass` (which must create a CWinThread) and its thread, started at
// once unless `flags` holds CREATE_SUSPENDED. nullptr when the class cannot be created or the
// thread cannot start; the object is then deleted.
CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, DWORD flags = 0);
