#pragma once
// A few threads kept for work that waits on something else (under Wine, on the server) rather than on the
// processor: while one thread waits, the others' questions are already on their way.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvaro {

class WorkPool {
public:
    // helpers: threads besides the caller's; started at the first Run.
    explicit WorkPool(int helpers) : helpers_(helpers) {}
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // Calls task(i) once for each i below count, on the helpers and the calling thread together, and returns
    // when every call has returned. A task must not throw.
    void Run(std::size_t count, const std::function<void(std::size_t)>& task);

private:
    void Serve();
    // Takes the next index of the current job and runs it, until none is left; false when none was left.
    bool Work(std::unique_lock<std::mutex>& lock);

    int helpers_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable jobReady_, jobDone_;
    const std::function<void(std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0, next_ = 0, running_ = 0;
    bool closing_ = false;
};

}  // namespace kelvaro
