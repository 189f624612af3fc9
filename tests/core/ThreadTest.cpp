// Threads with a suspended start and a self-deleting end, and manual-reset events.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/core/CEvent.h"
#include "platform/core/CWinThread.h"

namespace {

using namespace std::chrono_literals;

TEST(CEvent, StaysSignalledUntilReset) {
    CEvent event;
    EXPECT_FALSE(event.Lock(10));
    event.SetEvent();
    EXPECT_TRUE(event.Lock(0));
    EXPECT_TRUE(event.Lock(0));  // manual reset: still signalled
    event.ResetEvent();
    EXPECT_FALSE(event.Lock(10));
    EXPECT_TRUE(CEvent(TRUE).Lock(0));
}

TEST(CEvent, ReleasesEveryWaiter) {
    CEvent event;
    std::atomic<int> released{0};
    std::thread a([&] { released += event.Lock(); });
    std::thread b([&] { released += event.Lock(5000); });
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(released, 0);
    event.SetEvent();
    a.join();
    b.join();
    EXPECT_EQ(released, 2);
}

// Records what ran where, and its own deletion, into a probe owned by the test.
struct Probe {
    std::atomic<bool> initialised{false}, ran{false}, exited{false}, afterEnd{false}, deleted{false};
    std::atomic<bool> onOtherThread{false};
    CEvent go;
};

class ProbeThread : public CWinThread {
public:
    ProbeThread(Probe& probe, BOOL init, bool endInRun) : m_probe(probe), m_init(init), m_endInRun(endInRun) {}
    ~ProbeThread() override { m_probe.deleted = true; }
    BOOL InitInstance() override {
        m_probe.initialised = true;
        m_probe.onOtherThread = AfxGetThread() == this && m_creator != std::this_thread::get_id();
        return m_init;
    }
    int Run() override {
        m_probe.ran = true;
        m_probe.go.Lock();
        if (m_endInRun) AfxEndThread(0, TRUE);
        return ExitInstance();
    }
    int ExitInstance() override {
        m_probe.exited = true;
        return 0;
    }

private:
    Probe& m_probe;
    BOOL m_init;
    bool m_endInRun;
    std::thread::id m_creator = std::this_thread::get_id();
};

bool WaitFor(const std::atomic<bool>& flag) {
    for (int i = 0; i < 500 && !flag; ++i) std::this_thread::sleep_for(10ms);
    return flag;
}

TEST(CWinThread, SuspendedUntilResumedThenRunsAndDeletesItself) {
    Probe probe;
    auto* thread = new ProbeThread(probe, TRUE, false);
    ASSERT_TRUE(thread->CreateThread(CREATE_SUSPENDED));
    EXPECT_FALSE(thread->CreateThread());  // one thread per object
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(probe.initialised);
    EXPECT_EQ(thread->ResumeThread(), 1u);
    ASSERT_TRUE(WaitFor(probe.ran));
    EXPECT_TRUE(probe.onOtherThread);
    probe.go.SetEvent();
    ASSERT_TRUE(WaitFor(probe.deleted));
    EXPECT_TRUE(probe.exited);
}

TEST(CWinThread, AfxEndThreadEndsAtOnceAndDeletes) {
    Probe probe;
    auto* thread = new ProbeThread(probe, TRUE, true);
    probe.go.SetEvent();
    ASSERT_TRUE(thread->CreateThread());
    ASSERT_TRUE(WaitFor(probe.deleted));
    EXPECT_TRUE(probe.ran);
    EXPECT_FALSE(probe.exited);  // nothing after AfxEndThread ran
}

TEST(CWinThread, FailedInitInstanceSkipsRun) {
    Probe probe;
    ASSERT_TRUE((new ProbeThread(probe, FALSE, false))->CreateThread());
    ASSERT_TRUE(WaitFor(probe.deleted));
    EXPECT_TRUE(probe.exited);
    EXPECT_FALSE(probe.ran);
}

TEST(CWinThread, BeginThreadRefusesClassesThatAreNotThreads) {
    struct Plain : CObject {};
    const CRuntimeClass* plain = RegisterDynamicClass<Plain>("PlainObjectForThreadTest");
    EXPECT_EQ(AfxBeginThread(plain), nullptr);
    EXPECT_EQ(AfxBeginThread(nullptr), nullptr);
    CRuntimeClass::Unregister("PlainObjectForThreadTest");
    EXPECT_EQ(AfxGetThread(), nullptr);
}

}  // namespace
