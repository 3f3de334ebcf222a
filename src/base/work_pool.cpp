#include "base/work_pool.h"

namespace kelvaro {

WorkPool::~WorkPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    jobReady_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void WorkPool::Run(std::size_t count, const std::function<void(std::size_t)>& task) {
    if (count == 0) return;
    std::unique_lock<std::mutex> lock(mutex_);
    if (threads_.empty() && count > 1)
        for (int i = 0; i < helpers_; ++i) threads_.emplace_back([this] { Serve(); });
    task_ = &task;
    count_ = count;
    next_ = 0;
    jobReady_.notify_all();
    while (Work(lock)) {
    }
    jobDone_.wait(lock, [this] { return running_ == 0; });
    task_ = nullptr;
}

bool WorkPool::Work(std::unique_lock<std::mutex>& lock) {
    if (!task_ || next_ >= count_) return false;
    const std::size_t index = next_++;
    const std::function<void(std::size_t)>& task = *task_;
    ++running_;
    lock.unlock();
    task(index);
    lock.lock();
    if (--running_ == 0 && next_ >= count_) jobDone_.notify_all();
    return true;
}

void WorkPool::Serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        jobReady_.wait(lock, [this] { return closing_ || (task_ && next_ < count_); });
        if (closing_) return;
        while (Work(lock)) {
        }
    }
}

}  // namespace kelvaro
