#include "sim/DelayedDelivery.h"

#include <utility>

namespace sim {

DelayedDelivery::DelayedDelivery() : thread_([this] { Run(); }) {}

DelayedDelivery::~DelayedDelivery()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void DelayedDelivery::Post(std::function<void()> action, std::chrono::milliseconds delay)
{
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({Clock::now() + delay, std::move(action)});
    }
    changed_.notify_all();
}

void DelayedDelivery::Run()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (pending_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const Clock::time_point due = pending_.front().due;
        if (Clock::now() < due) {
            changed_.wait_until(lock, due);
            continue;
        }
        std::function<void()> action = std::move(pending_.front().action);
        pending_.pop_front();
        lock.unlock();
        action();
        lock.lock();
    }
}

}  // namespace sim
