#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/CCriticalSection.h"

TEST(CCriticalSection, IsReentrantAndExcludesOtherThreads) {
    CCriticalSection lock;
    long counter = 0;  // not atomic: only the lock keeps the increments whole
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 50000; ++i) {
                std::lock_guard outer(lock);
                std::lock_guard inner(lock);  // the owner enters again without blocking itself
                ++counter;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(counter, 4 * 50000);
}
