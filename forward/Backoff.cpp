#include "forward/Backoff.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// How often a pause looks at `stop`.
constexpr int kSliceMs = 100;

}  // namespace

Backoff::Backoff() : m_random(std::random_device{}()) {}

void Backoff::Wait(const std::atomic<bool>& stop) {
    std::uniform_int_distribution<int> pause(m_stepMs * 3 / 4, m_stepMs);
    int left = pause(m_random);
    m_stepMs = std::min(m_stepMs * 2, kLastMs);
    while (left > 0 && !stop.load()) {
        const int slice = std::min(left, kSliceMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(slice));
        left -= slice;
    }
}
