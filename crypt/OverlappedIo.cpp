#include "crypt/OverlappedIo.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "crypt/CryptStatus.h"
#include "crypt/SecureWipe.h"

namespace {

// Runs posted tasks one after another on its own thread (or at once in the caller's thread if
// no thread can be started). Tasks are numbered in posting order, so the caller can wait for
// one and know that all before it ran too.
class Worker {
public:
    Worker() {
        try {
            m_thread = std::thread([this] { Loop(); });
        } catch (const std::system_error&) {
            m_inline = true;
        }
    }
    ~Worker() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    std::size_t Post(std::function<void()> task) {
        if (m_inline) {
            task();
            return m_posted++;
        }
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        m_wake.notify_all();
        return m_posted++;
    }

    void WaitFor(std::size_t ticket) {
        if (m_inline) return;
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [&] { return m_finished > ticket; });
    }

    void Drain() {
        if (m_posted) WaitFor(m_posted - 1);
    }

private:
    void Loop() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return m_stop || !m_tasks.empty(); });
            if (m_tasks.empty()) return;
            auto task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
            lock.lock();
            ++m_finished;
            m_done.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    std::deque<std::function<void()>> m_tasks;
    std::size_t m_posted = 0, m_finished = 0;
    bool m_stop = false, m_inline = false;
    std::thread m_thread;
};

class Buffer {
public:
    explicit Buffer(std::size_t size) : m_data(new (std::nothrow) BYTE[size]), m_size(size) {}
    ~Buffer() {
        if (m_data) SecureWipe(m_data.get(), m_size);
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    BYTE* get() const { return m_data.get(); }

private:
    std::unique_ptr<BYTE[]> m_data;
    std::size_t m_size;
};

}  // namespace

DWORD RunOverlapped(const OverlappedSteps& steps) {
    Buffer in[2] = {Buffer(steps.inputSize), Buffer(steps.inputSize)};
    Buffer out[2] = {Buffer(steps.outputSize), Buffer(steps.outputSize)};
    if (!in[0].get() || !in[1].get() || !out[0].get() || !out[1].get()) return cryptstatus::kNoMemory;
    // A read's status is read only after waiting for the read; a write's may be read while
    // the write runs, hence atomic.
    DWORD readStatus[2] = {};
    std::atomic<DWORD> writeStatus[2] = {cryptstatus::kOk, cryptstatus::kOk};
    std::size_t readTicket[2] = {};
    Worker worker;
    auto postRead = [&](std::size_t g) {
        const int slot = g % 2;
        readTicket[slot] = worker.Post([&, g, slot] { readStatus[slot] = steps.read(g, in[slot].get()); });
    };
    auto postWrite = [&](int slot, std::size_t bytes) {
        worker.Post([&, slot, bytes] { writeStatus[slot] = steps.write(out[slot].get(), bytes); });
    };

    DWORD result = cryptstatus::kOk;
    if (steps.groups) postRead(0);
    for (std::size_t g = 0; g < steps.groups && result == cryptstatus::kOk; ++g) {
        const int slot = g % 2;
        worker.WaitFor(readTicket[slot]);
        for (const auto& w : writeStatus)
            if (w != cryptstatus::kOk) result = w;
        if (result != cryptstatus::kOk) break;
        if (readStatus[slot] != cryptstatus::kOk) {
            result = readStatus[slot];
            break;
        }
        if (g + 1 < steps.groups) postRead(g + 1);
        std::size_t bytes = 0;
        result = steps.transform(g, in[slot].get(), out[slot].get(), bytes);
        if (bytes) postWrite(slot, bytes);
    }
    worker.Drain();
    for (const auto& w : writeStatus)
        if (result == cryptstatus::kOk && w != cryptstatus::kOk) result = w;
    return result;
}
