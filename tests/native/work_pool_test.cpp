#include "base/work_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

namespace kelvaro::testing {
namespace {

// Every index runs once, on more than one thread, and the pool serves job after job.
TEST(WorkPool, RunsEachIndexOnceAcrossThreadsJobAfterJob) {
    WorkPool pool(3);
    for (std::size_t count : {1u, 7u, 200u, 0u, 50u}) {
        std::vector<std::atomic<int>> runs(count);
        std::mutex mutex;
        std::set<std::thread::id> threads;
        pool.Run(count, [&](std::size_t i) {
            ++runs[i];
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            std::lock_guard<std::mutex> lock(mutex);
            threads.insert(std::this_thread::get_id());
        });
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i], 1) << "index " << i << " of " << count;
        if (count >= 50) {
            EXPECT_GT(threads.size(), 1u) << count;
        }
    }
}

}  // namespace
}  // namespace kelvaro::testing
