// Runs actions after a delay, in the order they were posted, on a thread of
// its own: the pedal's answers that come late. An action posted with a
// shorter delay than the one before it waits for that one (a pedal answers
// in order). Actions not yet due when it is destroyed are dropped; the
// thread is joined.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace sim {

class DelayedDelivery {
public:
    DelayedDelivery();
    ~DelayedDelivery();
    DelayedDelivery(const DelayedDelivery&) = delete;
    DelayedDelivery& operator=(const DelayedDelivery&) = delete;

    void Post(std::function<void()> action, std::chrono::milliseconds delay);

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point due;
        std::function<void()> action;
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pending> pending_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace sim
