#include "base/work_pool.h"

namespace kelvaro {

WorkPool::~WorkPool() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (Work(lock)) {
        }
        closing_ = true;
    }
    workReady_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

WorkPool::Ticket WorkPool::Start(std::size_t count, std::function<void(std::size_t)> task) {
    auto job = std::make_shared<Job>();
    job->task = std::move(task);
    job->count = count;
    if (count == 0) return job;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (threads_.empty() && count > 1)
            for (int i = 0; i < helpers_; ++i) threads_.emplace_back([this] { Serve(); });
        queue_.push_back(job);
    }
    workReady_.notify_all();
    return job;
}

void WorkPool::Wait(const Ticket& job) {
    if (!job) return;
    std::unique_lock<std::mutex> lock(mutex_);
    while (job->done < job->count) {
        if (!Work(lock)) jobDone_.wait(lock, [&] { return job->done == job->count || !queue_.empty(); });
    }
}

bool WorkPool::Work(std::unique_lock<std::mutex>& lock) {
    if (queue_.empty()) return false;
    Ticket job = queue_.front();  // kept alive while its call runs
    const std::size_t index = job->next++;
    if (job->next == job->count) queue_.pop_front();
    lock.unlock();
    job->task(index);
    lock.lock();
    if (++job->done == job->count) jobDone_.notify_all();
    return true;
}

void WorkPool::Serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        workReady_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (closing_ && queue_.empty()) return;
        while (Work(lock)) {
        }
    }
}

}  // namespace kelvaro
