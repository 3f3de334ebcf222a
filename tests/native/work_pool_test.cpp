#include "base/work_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// A job handed in runs while its caller goes on; each Wait ends once its own job has, and the pool's end
// waits for a job nobody waited for, whose calls write into what outlives it.
TEST(WorkPool, JobsRunWhileTheCallerGoesOnAndAreAllDoneByTheirWaitsOrThePoolsEnd) {
    std::vector<std::atomic<int>> first(40), second(40), unwaited(40);
    auto slowly = [](std::vector<std::atomic<int>>& runs) {
        return [&runs](std::size_t i) {
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            ++runs[i];
        };
    };
    auto allRan = [](const std::vector<std::atomic<int>>& runs) {
        return std::all_of(runs.begin(), runs.end(), [](const std::atomic<int>& run) { return run == 1; });
    };
    {
        WorkPool pool(2);
        WorkPool::Ticket a = pool.Start(first.size(), slowly(first));
        WorkPool::Ticket b = pool.Start(second.size(), slowly(second));
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (first[0] == 0 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(first[0], 1) << "nothing ran before a Wait";
        pool.Wait(b);
        EXPECT_TRUE(allRan(second));
        pool.Wait(a);
        EXPECT_TRUE(allRan(first));
        pool.Wait(pool.Start(0, slowly(first)));
        pool.Start(unwaited.size(), slowly(unwaited));
    }
    EXPECT_TRUE(allRan(unwaited));
}

}  // namespace
}  // namespace kelvaro::testing
