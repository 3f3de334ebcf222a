#pragma once
// A few threads kept for work that waits on something else (under Wine, on the server) rather than on the
// processor: while one thread waits, the others' questions are already on their way.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvaro {

class WorkPool {
    struct Job;

public:
    // A job handed in and not yet waited for. Its task runs until Wait has returned for it.
    using Ticket = std::shared_ptr<Job>;

    // helpers: threads besides the callers'; started at the first job of more than one call.
    explicit WorkPool(int helpers) : helpers_(helpers) {}
    // Waits for every job handed in.
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // Hands in count calls of task(i), one for each i below count, and returns at once: the helpers take
    // them, jobs in the order they came. A task must not throw.
    Ticket Start(std::size_t count, std::function<void(std::size_t)> task);
    // Returns when every call of the job has returned. Meanwhile the caller takes calls too, of this job
    // or of one handed in before it.
    void Wait(const Ticket& job);
    // Start and Wait.
    void Run(std::size_t count, std::function<void(std::size_t)> task) {
        Wait(Start(count, std::move(task)));
    }

private:
    struct Job {
        std::function<void(std::size_t)> task;
        std::size_t count = 0, next = 0, done = 0;
    };
    void Serve();
    // Takes the next call of the first job that has one and runs it; false when no job has one.
    bool Work(std::unique_lock<std::mutex>& lock);

    int helpers_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable workReady_, jobDone_;
    std::deque<Ticket> queue_;  // jobs with calls not yet taken, in the order they came
    bool closing_ = false;
};

}  // namespace kelvaro
